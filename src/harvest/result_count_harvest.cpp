#include "harvest/result_count_harvest.h"

#include "harvest/pages/json_answers.h"
#include "harvest/pages/live_sources.h"
#include "harvest/pages/result_count_pages.h"
#include "harvest/page_text.h"
#include "workbench/keyword_table.h"

#include <QCoreApplication>

#include <memory>
#include <vector>

namespace dorvanel::harvest {

using skinctrls::TListItem;
using skinctrls::TListItemHandle;

void TResultCountHarvest::HarvestResultCounts(int searchType, const std::vector<TListItemHandle>* only) {
    const pages::SearchType type = searchType == 0 ? pages::SearchType::Precise : pages::SearchType::Broad;
    skinctrls::TListItems& items = FWindow.Rows();
    // The rows to visit are those present now (or those given), held by handle: a row deleted meanwhile is
    // skipped, and no other row's cells are written in its place.
    std::vector<TListItemHandle> rows;
    if (only) {
        rows = *only;
    } else {
        rows.reserve(static_cast<size_t>(items.Count()));
        for (int i = 0; i < items.Count(); ++i) rows.push_back(items.Handle(i));
    }
    const int n = static_cast<int>(rows.size());
    int lastAt = 0;  // where the last row was found: the next is at or after it, unless rows went meanwhile

    const pages::TServiceHosts& services = FFetcher.ServiceHosts;
    const std::string hosts[] = {services.GoogleHost, services.YahooHost, services.MsnHost};
    for (int i = 0; i < n; ++i) {
        if (FFetcher.Aborted()) return;
        std::shared_ptr<TListItem> row = rows[static_cast<size_t>(i)].lock();
        if (!row) continue;
        const std::string keyword = ToBytes(row->SubItem(workbench::cellKeyword));
        for (size_t e = 0; e < pages::kEngines.size(); ++e) {
            const pages::Engine engine = pages::kEngines[e];
            const pages::TJsonEngine& json = FFetcher.Live.Engines[e];
            // A column the user gave a JSON source is asked there; the others ask the engine's page.
            const std::string url = json.Template.empty() ? pages::ResultCountAddress(engine, hosts[e], keyword, type)
                                                          : pages::FillTemplate(json.Template, "{query}",
                                                                                pages::EngineQuery(keyword, type));
            const TRequestLabel label{json.Template.empty() ? std::string() : pages::AddressWithoutQuery(url),
                                      std::string(pages::EngineName(engine))};
            std::string page;
            if (!FFetcher.FetchPage(url, page, label)) continue;
            const int at = items.IndexOf(row.get(), lastAt);
            if (at < 0) break;  // deleted while its page was fetched
            lastAt = at;
            std::string count;
            if (json.Template.empty()) {
                count = pages::CutResultCount(engine, page);
            } else if (const auto digits = pages::ReadJsonCount(page, json.Pointer)) {
                count = pages::GroupThousands(*digits);
            }
            items.SetSubItem(at, pages::ResultCountCell(engine), FromBytes(count));
            QCoreApplication::processEvents();
            if (FFetcher.Aborted()) return;
        }
    }
}

}  // namespace dorvanel::harvest
