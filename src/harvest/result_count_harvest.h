#pragma once
// The harvest loop of "Gather Data": every row present at the start, asked of Google, Yahoo and MSN in turn,
// each count written into the row's cell. The button and its Stop stay with the window.
#include "harvest/harvest_window.h"
#include "harvest/page_fetcher.h"

#include <vector>

namespace dorvanel::harvest {

class TResultCountHarvest {
public:
    TResultCountHarvest(THarvestWindow& window, TPageFetcher& fetcher) : FWindow(window), FFetcher(fetcher) {}

    // searchType: 0 precise (the keyword as a phrase), 1 broad. Ends at the last row, at a raised abort flag
    // or after a failed fetch. `only`: the rows to visit, in that order (none given: every row present now).
    void HarvestResultCounts(int searchType, const std::vector<skinctrls::TListItemHandle>* only = nullptr);

private:
    THarvestWindow& FWindow;
    TPageFetcher& FFetcher;
};

}  // namespace dorvanel::harvest
