// The main window's network commands: the page fetcher with its progress events, "Gather Keywords" with the
// security-image handshake, and "Gather Data" with its Stop.
#include "app/main_window.h"

#include "common/exception.h"
#include "harvest/captcha_dialog.h"
#include "harvest/result_count_pages.h"
#include "harvest/suggestion_pages.h"
#include "http/net_stream.h"
#include "workbench/entry_dialogs.h"
#include "workbench/keyword_table.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <climits>
#include <fstream>
#include <memory>

namespace dorvanel::app {

using namespace skinctrls;

namespace {

const QString kGatherData = QStringLiteral("Gather Data");
const QString kStop = QStringLiteral("Stop");

void ProcessMessages() { QCoreApplication::processEvents(); }

// The scratch file read back as the page text: every line followed by CR LF, the text ending at the first
// zero byte.
std::string ReadPageText(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw Exception("Cannot open file \"" + path + "\".");
    std::string bytes(static_cast<size_t>(std::max<std::streamoff>(0, in.tellg())), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        throw Exception("Cannot read file \"" + path + "\".");
    }
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16 + 2);
    workbench::ForEachListLine(bytes, [&text](std::string_view line) {
        text += line;
        text += "\r\n";
    });
    return text;
}

QString FromBytes(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }

// Marks a transfer as running for as long as it lives.
class TransferScope {
public:
    explicit TransferScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TransferScope() { flag_ = false; }

private:
    bool& flag_;
};

}  // namespace

void TfrmMain::SetUpHttpClient() {
    // The pump keeps the windows painting and answering while a transfer blocks.
    NetIdlePump1.OnProcessMessages = [] { QCoreApplication::processEvents(); };
    NetIdlePump1.OnHandleMessage = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); };

    NetHTTP1.AllowCookies = true;
    NetHTTP1.HandleRedirects = true;
    NetHTTP1.ReadTimeout = 0;
    NetHTTP1.MaxLineAction = http::TNetMaxLineAction::maException;
    NetHTTP1.HTTPOptions = {http::TNetHTTPOption::hoForceEncodeParams};
    NetHTTP1.Request.Accept = "text/html, */*";
    NetHTTP1.Request.ContentType = "text/html";
    NetHTTP1.Request.ContentLength = -1;
    NetHTTP1.Request.UserAgent = "Mozilla/3.0 (compatible; Dorvanel)";
    NetHTTP1.OnWorkBegin = [this](http::TNetComponent&, http::TWorkMode mode, int64_t max) { NetHTTP1WorkBegin(mode, max); };
    NetHTTP1.OnWork = [this](http::TNetComponent&, http::TWorkMode mode, int64_t count) { NetHTTP1Work(mode, count); };
    NetHTTP1.OnWorkEnd = [this](http::TNetComponent&, http::TWorkMode mode) { NetHTTP1WorkEnd(mode); };
}

// ---- progress events ----

void TfrmMain::NetHTTP1WorkBegin(http::TWorkMode, int64_t workCountMax) {
    // A body of unknown length (chunked, or read until the peer closes) reports no maximum: the gauge then
    // keeps its 0..100 range and shows the transfer only as done or not, instead of a finished fetch at 0%.
    FGaugeFollowsCount = workCountMax > 0;
    MainGauge->SetMaxValue(FGaugeFollowsCount ? static_cast<int>(std::min<int64_t>(workCountMax, INT32_MAX)) : 100);
    MainGauge->SetValue(0);
    ProcessMessages();
}

void TfrmMain::NetHTTP1Work(http::TWorkMode, int64_t workCount) {
    if (FAbort) NetHTTP1.CloseConnection();
    if (FGaugeFollowsCount) MainGauge->SetValue(static_cast<int>(std::clamp<int64_t>(workCount, 0, INT32_MAX)));
    ProcessMessages();
}

void TfrmMain::NetHTTP1WorkEnd(http::TWorkMode) {
    MainGauge->SetValue(MainGauge->MaxValue());
    ProcessMessages();
}

// ---- the page fetcher ----

bool TfrmMain::FetchPage(const std::string& url, std::string& page) {
    if (FAbort) return false;
    page.clear();
    const std::string scratch = QFile::encodeName(ScratchFileName).toStdString();
    // A scratch file that cannot be created leaves the command: it is not a network failure. The file is
    // written over rather than emptied first, and the client cuts it at the end of the body it wrote (also
    // of none, when the fetch fails): an emptied file makes the file system write it out at once when it
    // is closed, which costs more than a whole local fetch.
    auto file = std::make_unique<http::TNetFileStream>(scratch, http::TNetFileStream::TOpenMode::OpenOrCreate);
    auto closeFile = [&file] { file.reset(); };
    try {
        MainStatusPanel->SetCaption(QStringLiteral("Getting URL: ") + FromBytes(url) + QStringLiteral("..."));
        MainGauge->SetValue(0);
        ProcessMessages();
        NetHTTP1.FetchToStream(url, *file);
        closeFile();
        NetHTTP1.CloseConnection();
        if (FAbort) {
            MainStatusPanel->SetCaption(QStringLiteral("Process aborted!"));
            return false;
        }
        page = ReadPageText(scratch);
        MainStatusPanel->SetCaption(QStringLiteral("Process completed sucessfull!"));
        return true;
    } catch (const std::exception&) {
        // When the user pressed Stop, the broken transfer is the stop itself, not a failure.
        const bool stopped = FAbort;
        FAbort = true;
        NetHTTP1.CloseConnection();
        try {
            closeFile();
        } catch (const std::exception&) {
            file.reset();
        }
        page.clear();
        MainStatusPanel->SetCaption(stopped ? QStringLiteral("Process aborted!")
                                            : QStringLiteral("Connection error, check if you are connected and url exists."));
        return false;
    }
}

// ---- Gather Keywords ----

void TfrmMain::ParseSuggestions(const std::string& page) {
    for (const harvest::SuggestedKeyword& s : harvest::ParseSuggestions(page)) {
        workbench::AppendKeywordRow(Items(), FromBytes(s.keyword), FromBytes(s.count));
        SecondStatusPanel->SetCaption(workbench::ItemsListedText(Items().Count()));
    }
}

void TfrmMain::btnGatherKeywordClick() {
    if (FTransferRunning) return;
    TransferScope running(FTransferRunning);
    FAbort = false;
    if (FMainKeywordText.isEmpty()) {
        ShowMessage(QStringLiteral("Please enter a main keyword before gather keywords."));
        return;
    }
    const std::string host = ServiceHosts.SuggestionHost;
    std::string page;
    if (!FetchPage(harvest::SuggestionsAddress(host, FMainKeywordText.toLocal8Bit().toStdString()), page)) return;
    for (;;) {
        if (!harvest::IsSecurityImagePage(page)) {
            ParseSuggestions(page);
            return;
        }
        for (;;) {
            std::string typed, random, seed;
            {
                auto dialog = std::make_unique<harvest::TfrmCaptcha>(SkinData1, msgMain, this);
                dialog->FPageText = page;
                dialog->ShowModal();  // OK and Cancel both lead on
                typed = dialog->edtPassword->Text().toLocal8Bit().toStdString();
                random = dialog->FRandom;
                seed = dialog->FSeed;
            }
            FetchPage(harvest::CaptchaAnswerAddress(host, typed, random, seed), page);
            if (!harvest::IsSecurityImagePage(page)) break;
            if (ShowMessage(QStringLiteral("Wrong password. Do you want try again?"), true) == mrCancel) return;
        }
    }
}

// ---- Gather Data ----

void TfrmMain::btnGatherDataClick() {
    if (Items().Count() == 0) {
        ShowMessage(QStringLiteral("You need add keywords to gather data from search engines."));
        return;
    }
    if (btnGatherData->Caption() != kGatherData) {
        // Stop: the running harvest sees the flag after its current fetch.
        FAbort = true;
        NetHTTP1.CloseConnection();
        btnGatherData->SetCaption(kGatherData);
        ColumnClickEnabled = true;
        ProcessMessages();
        return;
    }
    if (FTransferRunning) return;
    int result;
    int searchType;
    {
        auto dialog = std::make_unique<workbench::TfrmSelSearch>(SkinData1, msgMain, this);
        result = dialog->ShowModal();
        searchType = dialog->SearchType();
    }
    if (result != mrOk) return;
    FSearchType = searchType;
    ColumnClickEnabled = false;
    FAbort = false;
    btnGatherData->SetCaption(kStop);
    struct Restore {
        TfrmMain* w;
        ~Restore() {
            w->btnGatherData->SetCaption(kGatherData);
            ProcessMessages();
            w->ColumnClickEnabled = true;
        }
    } restore{this};
    TransferScope running(FTransferRunning);
    HarvestResultCounts();
}

void TfrmMain::HarvestResultCounts() {
    const harvest::SearchType type = FSearchType == 0 ? harvest::SearchType::Precise : harvest::SearchType::Broad;
    // The rows to visit are those present now, held by handle: a row deleted meanwhile is skipped, and no
    // other row's cells are written in its place.
    std::vector<TListItemHandle> rows;
    const int n = Items().Count();
    rows.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) rows.push_back(Items().Handle(i));

    const std::string hosts[] = {ServiceHosts.GoogleHost, ServiceHosts.YahooHost, ServiceHosts.MsnHost};
    for (int i = 0; i < n; ++i) {
        if (FAbort) return;
        std::shared_ptr<TListItem> row = rows[static_cast<size_t>(i)].lock();
        if (!row) continue;
        const std::string keyword = row->SubItem(workbench::cellKeyword).toLocal8Bit().toStdString();
        for (size_t e = 0; e < harvest::kEngines.size(); ++e) {
            const harvest::Engine engine = harvest::kEngines[e];
            std::string page;
            if (!FetchPage(harvest::ResultCountAddress(engine, hosts[e], keyword, type), page)) continue;
            const int at = Items().IndexOf(row.get(), i);
            if (at < 0) break;  // deleted while its page was fetched
            Items().SetSubItem(at, harvest::ResultCountCell(engine), FromBytes(harvest::CutResultCount(engine, page)));
            ProcessMessages();
            if (FAbort) return;
        }
    }
}

}  // namespace dorvanel::app
