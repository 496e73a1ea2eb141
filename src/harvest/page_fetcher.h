#pragma once
// The one way the program reads a web page: a GET through the program's HTTP client into the scratch file,
// read back as text, with progress and outcome in the window's status bar. It owns the abort flag and knows
// whether a transfer is running.
#include "harvest/harvest_window.h"
#include "harvest/pages/live_sources.h"
#include "harvest/pages/service_hosts.h"
#include "http/http_client.h"
#include "http/idle_pump.h"
#include "http/proxy_settings.h"

#include <QString>

#include <random>
#include <string>

class QEventLoop;

namespace dorvanel::harvest {

// What a request is called where the user sees it: the address to show (empty: the address itself; a
// template's address is shown without its query, which may hold an API key) and the service's name in a
// retry's status ("Yahoo", "source 2").
struct TRequestLabel {
    std::string Shown;
    std::string Service;
};

class TPageFetcher {
public:
    explicit TPageFetcher(THarvestWindow& window);

    // True when `page` holds a freshly fetched page. Refuses at once while the abort flag is raised; a failed
    // transfer raises it and shows the connection-error text. With pacing set, it first waits out the delay
    // after the run's previous request, and tries again after a connection error, a 429 or a 5xx as often as
    // the retries allow; Stop ends any wait at once.
    bool FetchPage(const std::string& url, std::string& page, const TRequestLabel& label = {});

    // Lowers the abort flag: each command that fetches calls it when it starts.
    void Begin() { FAbort = false; }
    // Stop: raises the abort flag and breaks the transfer in progress.
    void Stop();
    // Whether the run has to end: Stop was pressed or a fetch failed since the command began.
    bool Aborted() const { return FAbort; }

    bool TransferRunning() const { return FTransferRunning; }

    // Marks a transfer as running for as long as it lives; a command that finds one running does nothing.
    class TTransferScope {
    public:
        explicit TTransferScope(TPageFetcher& fetcher) : FFetcher(fetcher) {
            FFetcher.FTransferRunning = true;
            FFetcher.FRequestsThisRun = 0;
        }
        ~TTransferScope() { FFetcher.FTransferRunning = false; }
        TTransferScope(const TTransferScope&) = delete;
        TTransferScope& operator=(const TTransferScope&) = delete;

    private:
        TPageFetcher& FFetcher;
    };

    void NetHTTP1WorkBegin(http::TWorkMode mode, int64_t workCountMax);
    void NetHTTP1Work(http::TWorkMode mode, int64_t workCount);
    void NetHTTP1WorkEnd(http::TWorkMode mode);

    // The services and the proxies they are asked through: the environment's, unless the services file
    // names its own.
    void UseServices(pages::TServiceHosts hosts, pages::TLiveSources live = {});

    pages::TServiceHosts ServiceHosts;
    http::TNetProxySettings Proxies;
    // Suggestion and count sources, pacing and retries, the User-Agent: none set by default.
    pages::TLiveSources Live;
    // The scratch file that holds the last fetched page.
    QString ScratchFileName;
    http::TNetIdlePump NetIdlePump1;
    http::TNetHTTP NetHTTP1;

private:
    // Why one attempt failed, and whether another is worth it.
    struct TAttemptFailure {
        bool Retryable = false;
        std::string Reason;      // "429 Too Many Requests", or the connection's failure
        std::string RetryAfter;  // the answer's Retry-After, if any
    };
    bool fetchOnce(const std::string& url, std::string& page, const TRequestLabel& label, TAttemptFailure& failure);
    // Waits `ms` with the windows answering; false when Stop came meanwhile.
    bool waitUnlessStopped(int64_t ms);

    THarvestWindow& FWindow;
    // Raised by Stop and by a failed fetch, lowered by Begin.
    bool FAbort = false;
    bool FTransferRunning = false;
    int FRequestsThisRun = 0;
    QEventLoop* FWaitLoop = nullptr;
    std::minstd_rand FJitter{std::random_device{}()};
    bool FGaugeFollowsCount = false;
};

// test.html beside the program when that folder can be written, else in the user's cache folder
// ($XDG_CACHE_HOME/dorvanel, or ~/.cache/dorvanel), so that an installed program can still fetch.
QString DefaultScratchFileName(const QString& programFolder);

// The services file in use: dbservices.dat in the user's configuration folder ($XDG_CONFIG_HOME/dorvanel, or
// ~/.config/dorvanel) when it is there, else the one beside the program (which need not exist). The first
// found is used whole.
QString ServicesFileName(const QString& programFolder);

// Reads the services file into the fetcher; what cannot be used is named in one text (empty when all is well).
QString LoadServices(TPageFetcher& fetcher, const QString& path);

// The program's own settings of its client (the library keeps its defaults).
void SetUpProgramClient(http::TNetHTTP& client);

}  // namespace dorvanel::harvest
