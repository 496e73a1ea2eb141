#include "harvest/page_fetcher.h"

#include "common/exception.h"
#include "common/files.h"
#include "common/ini_file.h"
#include "common/text.h"
#include "harvest/page_text.h"
#include "harvest/retry_policy.h"
#include "http/exceptions.h"
#include "http/http_date.h"
#include "http/net_stream.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace dorvanel::harvest {

namespace {

void ProcessMessages() { QCoreApplication::processEvents(); }

// The scratch file read back as the page text: every line followed by CR LF, the text ending at the first
// zero byte.
std::string ReadPageText(const std::string& path) {
    const std::string bytes = common::ReadWholeFile(path);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16 + 2);
    common::ForEachListLine(bytes, [&text](std::string_view line) {
        text += line;
        text += "\r\n";
    });
    return text;
}

// A failure of the connection itself (refused, reset, cut off, silent), which another try may not meet.
bool IsConnectionFailure(const Exception& e) {
    return dynamic_cast<const http::ENetSocketError*>(&e) || dynamic_cast<const http::ENetConnClosedGracefully*>(&e) ||
           dynamic_cast<const http::ENetReadTimeout*>(&e) || dynamic_cast<const http::ENetConnectTimeout*>(&e) ||
           dynamic_cast<const http::ENetConnectException*>(&e) || dynamic_cast<const http::ENetNotConnected*>(&e);
}

bool CanWriteIn(const QString& folder, const QString& file) {
    const QByteArray dir = QFile::encodeName(folder);
    const QByteArray path = QFile::encodeName(file);
    if (::access(path.constData(), F_OK) == 0) return ::access(path.constData(), W_OK) == 0;
    return ::access(dir.constData(), W_OK | X_OK) == 0;
}

}  // namespace

QString DefaultScratchFileName(const QString& programFolder) {
    const QString beside = programFolder + QStringLiteral("/test.html");
    if (CanWriteIn(programFolder, beside)) return beside;
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache)) cache = QDir::homePath() + QStringLiteral("/.cache");
    const QString folder = cache + QStringLiteral("/dorvanel");
    QDir().mkpath(folder);
    return folder + QStringLiteral("/test.html");
}

QString ServicesFileName(const QString& programFolder) {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) config = QDir::homePath() + QStringLiteral("/.config");
    const QString own = config + QStringLiteral("/dorvanel/dbservices.dat");
    if (QFileInfo(own).isFile()) return own;
    return programFolder + QStringLiteral("/dbservices.dat");
}

QString LoadServices(TPageFetcher& fetcher, const QString& path) {
    const std::string file = QFile::encodeName(path).toStdString();
    std::vector<std::string> problems;
    pages::TLiveSources live = pages::TLiveSources::Read(common::TIniFile(file), problems);
    fetcher.UseServices(pages::TServiceHosts::Load(file), std::move(live));
    if (problems.empty()) return {};
    QString text = path + QStringLiteral(": these entries are left out:");
    for (const std::string& problem : problems) text += QStringLiteral("\n") + FromBytes(problem);
    return text;
}

void SetUpProgramClient(http::TNetHTTP& client) {
    client.AllowCookies = true;
    client.HandleRedirects = true;
    // 60 s of silence ends a fetch (a peer that stops for ever would hold the harvest), and a page stops at
    // 64 MiB; the library's own defaults stay as they are.
    client.ReadTimeout = 60000;
    client.MaxBodyBytes = int64_t{64} << 20;
    client.MaxLineAction = http::TNetMaxLineAction::maException;
    client.HTTPOptions = {http::TNetHTTPOption::hoForceEncodeParams};
    client.Request.Accept = "text/html, */*";
    client.Request.ContentType = "text/html";
    client.Request.ContentLength = -1;
    client.Request.UserAgent = "Mozilla/3.0 (compatible; Dorvanel)";
}

TPageFetcher::TPageFetcher(THarvestWindow& window) : FWindow(window) {
    // The pump keeps the windows painting and answering while a transfer blocks.
    NetIdlePump1.OnProcessMessages = [] { QCoreApplication::processEvents(); };
    NetIdlePump1.OnHandleMessage = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); };
    SetUpProgramClient(NetHTTP1);
    NetHTTP1.OnWorkBegin = [this](http::TNetComponent&, http::TWorkMode mode, int64_t max) {
        NetHTTP1WorkBegin(mode, max);
    };
    NetHTTP1.OnWork = [this](http::TNetComponent&, http::TWorkMode mode, int64_t count) { NetHTTP1Work(mode, count); };
    NetHTTP1.OnWorkEnd = [this](http::TNetComponent&, http::TWorkMode mode) { NetHTTP1WorkEnd(mode); };
}

void TPageFetcher::UseServices(pages::TServiceHosts hosts, pages::TLiveSources live) {
    ServiceHosts = std::move(hosts);
    Live = std::move(live);
    if (!Live.UserAgent.empty()) NetHTTP1.Request.UserAgent = Live.UserAgent;
    Proxies = http::TNetProxySettings::FromEnvironment([](const char* name) { return std::getenv(name); });
    if (ServiceHosts.Proxy) Proxies.Override(*ServiceHosts.Proxy);
}

void TPageFetcher::Stop() {
    FAbort = true;
    NetHTTP1.CloseConnection();
    if (FWaitLoop) FWaitLoop->quit();
}

bool TPageFetcher::waitUnlessStopped(int64_t ms) {
    if (FAbort) return false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(std::min<int64_t>(ms, INT32_MAX)));
    FWaitLoop = &loop;
    loop.exec();
    FWaitLoop = nullptr;
    return !FAbort;
}

// ---- progress events ----

void TPageFetcher::NetHTTP1WorkBegin(http::TWorkMode, int64_t workCountMax) {
    // A body of unknown length (chunked, or read until the peer closes) reports no maximum: the gauge then
    // keeps its 0..100 range and shows the transfer only as done or not, instead of a finished fetch at 0%.
    FGaugeFollowsCount = workCountMax > 0;
    FWindow.SetGauge(0, FGaugeFollowsCount ? static_cast<int>(std::min<int64_t>(workCountMax, INT32_MAX)) : 100);
    ProcessMessages();
}

void TPageFetcher::NetHTTP1Work(http::TWorkMode, int64_t workCount) {
    if (FAbort) NetHTTP1.CloseConnection();
    if (FGaugeFollowsCount) FWindow.SetGaugeValue(static_cast<int>(std::clamp<int64_t>(workCount, 0, INT32_MAX)));
    ProcessMessages();
}

void TPageFetcher::NetHTTP1WorkEnd(http::TWorkMode) {
    FWindow.SetGaugeValue(FWindow.GaugeMax());
    ProcessMessages();
}

// ---- the fetch ----

bool TPageFetcher::FetchPage(const std::string& url, std::string& page, const TRequestLabel& label) {
    if (FAbort) return false;
    page.clear();
    if (Live.DelayMs > 0 && FRequestsThisRun > 0 && !waitUnlessStopped(Live.DelayMs)) {
        FWindow.ShowStatus(QStringLiteral("Process aborted!"));
        return false;
    }
    ++FRequestsThisRun;
    for (int retry = 0;; ++retry) {
        TAttemptFailure failure;
        if (fetchOnce(url, page, label, failure)) return true;
        if (FAbort || !failure.Retryable || retry >= Live.Retries) break;
        const int64_t wait = RetryDelayMs(failure.RetryAfter, retry, Live.DelayMs, http::Now(),
                                          std::uniform_real_distribution<double>(0, 1)(FJitter));
        const std::string service = label.Service.empty() ? pages::AddressWithoutQuery(url) : label.Service;
        FWindow.ShowStatus(QStringLiteral("Waiting %1 s before retrying %2 (%3)")
                               .arg((wait + 999) / 1000)
                               .arg(FromBytes(service), FromBytes(failure.Reason)));
        if (!waitUnlessStopped(wait)) {
            FWindow.ShowStatus(QStringLiteral("Process aborted!"));
            return false;
        }
    }
    // The fetch failed for good: the harvest ends, as it does on any failed fetch.
    const bool stopped = FAbort;
    FAbort = true;
    FWindow.ShowStatus(stopped ? QStringLiteral("Process aborted!")
                               : QStringLiteral("Connection error, check if you are connected and url exists."));
    return false;
}

bool TPageFetcher::fetchOnce(const std::string& url, std::string& page, const TRequestLabel& label,
                             TAttemptFailure& failure) {
    page.clear();
    const std::string scratch = QFile::encodeName(ScratchFileName).toStdString();
    // A scratch file that cannot be created leaves the command: it is not a network failure. The file is
    // written over rather than emptied first, and the client cuts it at the end of the body it wrote (also
    // of none, when the fetch fails): an emptied file makes the file system write it out at once when it
    // is closed, which costs more than a whole local fetch.
    auto file = std::make_unique<http::TNetFileStream>(scratch, http::TNetFileStream::TOpenMode::OpenOrCreate);
    auto closeFile = [&file] { file.reset(); };
    try {
        const std::string& shown = label.Shown.empty() ? url : label.Shown;
        FWindow.ShowStatus(QStringLiteral("Getting URL: ") + FromBytes(shown) + QStringLiteral("..."));
        FWindow.SetGaugeValue(0);
        ProcessMessages();
        // Stop (or closing the window) may have come while the messages were processed, before the transfer
        // began: nothing would then break it off, and a peer that never answers would hold it for ever.
        if (FAbort) return false;
        Proxies.Apply(url, NetHTTP1.ProxyParams);
        NetHTTP1.FetchToStream(url, *file);
        closeFile();
        NetHTTP1.CloseConnection();
        if (FAbort) return false;
        page = ReadPageText(scratch);
        FWindow.ShowStatus(QStringLiteral("Process completed sucessfull!"));
        return true;
    } catch (const Exception& e) {
        // Only the program's own failures are a failed fetch; anything else is a fault of the program and
        // goes on to the command's report. When the user pressed Stop, the broken transfer is the stop
        // itself, not a failure.
        if (const auto* status = dynamic_cast<const http::ENetHTTPProtocolException*>(&e)) {
            failure.Retryable = RetryableStatus(status->ReplyCode);
            std::string line = status->what();
            const size_t code = line.find(' ');
            failure.Reason = code == std::string::npos ? line : line.substr(code + 1);
            failure.RetryAfter = NetHTTP1.LastResponse().HeaderLines.ValueOf("Retry-After");
        } else {
            failure.Retryable = IsConnectionFailure(e);
            failure.Reason = e.what();
        }
        NetHTTP1.CloseConnection();
        try {
            closeFile();
        } catch (const Exception&) {
            file.reset();
        }
        page.clear();
        return false;
    }
}

}  // namespace dorvanel::harvest
