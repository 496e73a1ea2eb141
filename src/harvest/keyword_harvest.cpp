#include "harvest/keyword_harvest.h"

#include "harvest/pages/suggestion_pages.h"
#include "workbench/keyword_table.h"

namespace dorvanel::harvest {

namespace {
QString FromBytes(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

void TKeywordHarvest::ParseSuggestions(const std::string& page) {
    for (const pages::SuggestedKeyword& s : pages::ParseSuggestions(page)) {
        workbench::AppendKeywordRow(FWindow.Rows(), FromBytes(s.keyword), FromBytes(s.count));
        FWindow.RowsAdded();
    }
}

void TKeywordHarvest::Run(const QString& mainKeyword) {
    if (FFetcher.TransferRunning()) return;
    TPageFetcher::TTransferScope running(FFetcher);
    FFetcher.FAbort = false;
    if (mainKeyword.isEmpty()) {
        FWindow.ShowMessage(QStringLiteral("Please enter a main keyword before gather keywords."), false);
        return;
    }
    const std::string host = FFetcher.ServiceHosts.SuggestionHost;
    std::string page;
    if (!FFetcher.FetchPage(pages::SuggestionsAddress(host, mainKeyword.toLocal8Bit().toStdString()), page)) return;
    for (;;) {
        if (!pages::IsSecurityImagePage(page)) {
            ParseSuggestions(page);
            return;
        }
        for (;;) {
            const std::optional<TSecurityAnswer> answer = FWindow.AskSecurityImage(page);
            if (!answer) return;  // the window is closing
            FFetcher.FetchPage(pages::CaptchaAnswerAddress(host, answer->Typed, answer->Random, answer->Seed), page);
            if (!pages::IsSecurityImagePage(page)) break;
            if (FWindow.ShowMessage(QStringLiteral("Wrong password. Do you want try again?"), true) == 2) return;
        }
    }
}

}  // namespace dorvanel::harvest
