#pragma once
// The one way the program reads a web page: a GET through the program's HTTP client into the scratch file,
// read back as text, with progress and outcome in the window's status bar. It owns the abort flag and knows
// whether a transfer is running.
#include "harvest/harvest_window.h"
#include "harvest/pages/service_hosts.h"
#include "http/http_client.h"
#include "http/idle_pump.h"
#include "http/proxy_settings.h"

#include <QString>

#include <string>

namespace dorvanel::harvest {

class TPageFetcher {
public:
    explicit TPageFetcher(THarvestWindow& window);

    // True when `page` holds a freshly fetched page. Refuses at once while the abort flag is raised; a failed
    // transfer raises it and shows the connection-error text.
    bool FetchPage(const std::string& url, std::string& page);

    // Stop: raises the abort flag and breaks the transfer in progress.
    void Stop();

    bool TransferRunning() const { return FTransferRunning; }

    // Marks a transfer as running for as long as it lives; a command that finds one running does nothing.
    class TTransferScope {
    public:
        explicit TTransferScope(TPageFetcher& fetcher) : FFetcher(fetcher) { FFetcher.FTransferRunning = true; }
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
    void UseServices(pages::TServiceHosts hosts);

    // Raised by Stop and by a failed fetch, lowered by each command that fetches when it starts.
    bool FAbort = false;
    pages::TServiceHosts ServiceHosts;
    http::TNetProxySettings Proxies;
    // The scratch file that holds the last fetched page.
    QString ScratchFileName;
    http::TNetIdlePump NetIdlePump1;
    http::TNetHTTP NetHTTP1;

private:
    THarvestWindow& FWindow;
    bool FTransferRunning = false;
    bool FGaugeFollowsCount = false;
};

// test.html beside the program when that folder can be written, else in the user's cache folder
// ($XDG_CACHE_HOME/dorvanel, or ~/.cache/dorvanel), so that an installed program can still fetch.
QString DefaultScratchFileName(const QString& programFolder);

// The program's own settings of its client (the library keeps its defaults).
void SetUpProgramClient(http::TNetHTTP& client);

}  // namespace dorvanel::harvest
