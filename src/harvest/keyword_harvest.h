#pragma once
// "Gather Keywords": asks the keyword-suggestion service for the main keyword's related keywords and appends
// them to the table, going through the security image handshake when the service asks for it; or, when the
// user named suggestion sources, asks each of them for the keyword and its expansions instead.
#include "harvest/harvest_window.h"
#include "harvest/page_fetcher.h"

#include <string>

namespace dorvanel::harvest {

class TKeywordHarvest {
public:
    TKeywordHarvest(THarvestWindow& window, TPageFetcher& fetcher) : FWindow(window), FFetcher(fetcher) {}

    // The whole command. Does nothing while another transfer runs.
    void Run(const QString& mainKeyword);
    // Appends the suggested keywords of a result page, showing the row count after each row.
    void ParseSuggestions(const std::string& page);

private:
    // Source by source, request by request; every suggestion new to this run becomes a row.
    void RunSources(const QString& mainKeyword);

    THarvestWindow& FWindow;
    TPageFetcher& FFetcher;
};

}  // namespace dorvanel::harvest
