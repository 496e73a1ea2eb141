#include "harvest/keyword_harvest.h"

#include "common/text.h"
#include "harvest/page_text.h"
#include "harvest/pages/json_answers.h"
#include "harvest/pages/live_sources.h"
#include "harvest/pages/suggestion_pages.h"
#include "workbench/keyword_table.h"

#include <QElapsedTimer>
#include <QSet>
#include <QStringList>

#include <functional>

namespace dorvanel::harvest {

void TKeywordHarvest::ParseSuggestions(const std::string& page) {
    for (const pages::SuggestedKeyword& s : pages::ParseSuggestions(page)) {
        workbench::AppendKeywordRow(FWindow.Rows(), FromBytes(s.keyword), FromBytes(s.count));
        FWindow.RowsAdded();
    }
}

void TKeywordHarvest::Run(const QString& mainKeyword) {
    if (FFetcher.TransferRunning()) return;
    TPageFetcher::TTransferScope running(FFetcher);
    FFetcher.Begin();
    if (mainKeyword.isEmpty()) {
        FWindow.ShowMessage(QStringLiteral("Please enter a main keyword before gather keywords."), false);
        return;
    }
    if (FFetcher.Live.HasSuggestionSources()) {
        RunSources(mainKeyword);
        return;
    }
    const std::string host = FFetcher.ServiceHosts.SuggestionHost;
    std::string page;
    if (!FFetcher.FetchPage(pages::SuggestionsAddress(host, ToBytes(mainKeyword)), page)) return;
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
            const int again = FWindow.ShowMessage(QStringLiteral("Wrong password. Do you want try again?"), true);
            if (again == skinctrls::mrCancel) return;
        }
    }
}

void TKeywordHarvest::RunSources(const QString& mainKeyword) {
    const pages::TLiveSources& live = FFetcher.Live;
    // JSON is UTF-8 text, both in the answers and in the query a source is sent.
    const std::vector<std::string> queries =
        pages::SuggestionQueries(mainKeyword.toUtf8().toStdString(), live.ExpandAlphabet, live.ExpandQuestions);
    const int sources = static_cast<int>(live.SuggestionTemplates.size());
    const int total = sources * static_cast<int>(queries.size());
    // Letter case does not make another keyword; the main keyword is never a row of its own.
    QSet<QString> seen{mainKeyword.trimmed().toCaseFolded()};
    // New keywords reach the table in batches, at most every kRowBatchMs: each batch repaints the table
    // once, and a request to a fast source costs less than that repaint. Whatever is pending goes in at the
    // end, also when the run stops or fails.
    constexpr qint64 kRowBatchMs = 100;
    QStringList pending;
    QElapsedTimer sinceBatch;
    sinceBatch.start();
    const auto addPending = [&] {
        if (pending.isEmpty()) return;
        for (const QString& keyword : pending) workbench::AppendKeywordRow(FWindow.Rows(), keyword, QString());
        pending.clear();
        FWindow.RowsAdded();
        sinceBatch.restart();
    };
    struct AtExit {
        std::function<void()> run;
        ~AtExit() { run(); }
    } flushAtExit{addPending};
    int request = 0;
    int unreadable = 0;
    std::string firstFailure;
    for (int s = 0; s < sources; ++s) {
        const std::string& source = live.SuggestionTemplates[static_cast<size_t>(s)];
        for (const std::string& query : queries) {
            ++request;
            const std::string url = pages::FillTemplate(source, "{keyword}", common::FormEncode(query));
            std::string page;
            if (!FFetcher.FetchPage(url, page, {pages::AddressWithoutQuery(url), "source " + std::to_string(s + 1)})) {
                return;
            }
            const pages::TSuggestionsAnswer answer = pages::ReadOpenSearchSuggestions(page);
            if (!answer.Failure.empty() && unreadable++ == 0) firstFailure = answer.Failure;
            for (const std::string& suggestion : answer.Suggestions) {
                const QString keyword = QString::fromUtf8(suggestion.data(), static_cast<qsizetype>(suggestion.size()));
                const QString key = keyword.trimmed().toCaseFolded();
                if (key.isEmpty() || seen.contains(key)) continue;
                seen.insert(key);
                pending.push_back(keyword);
            }
            if (sinceBatch.elapsed() >= kRowBatchMs) addPending();
            QString progress =
                QStringLiteral("Source %1 of %2, request %3 of %4").arg(s + 1).arg(sources).arg(request).arg(total);
            if (unreadable > 0) {
                progress += QStringLiteral("; %1 answers could not be read: %2")
                                .arg(unreadable)
                                .arg(QString::fromUtf8(firstFailure.substr(0, 200).c_str()));
            }
            FWindow.ShowStatus(progress);
            FWindow.SetGauge(request, total);
            if (FFetcher.Aborted()) return;
        }
    }
    // Every source answered: the run says it is over, as a single fetch does; a note on answers that could
    // not be read stays shown instead.
    if (unreadable == 0) FWindow.ShowStatus(QStringLiteral("Process completed sucessfull!"));
}

}  // namespace dorvanel::harvest
