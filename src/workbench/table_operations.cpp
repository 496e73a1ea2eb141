#include "workbench/table_operations.h"

#include "workbench/keyword_table.h"

#include <QSet>

#include <unordered_set>

namespace dorvanel::workbench {

void SelectAll(skinctrls::TListItems& items) { items.SetAllChecked(true); }

void ClearSelection(skinctrls::TListItems& items) { items.SetAllChecked(false); }

void DeleteSelected(skinctrls::TListItems& items) {
    // One pass over the rows rather than a deletion per ticked row: the same rows go, in linear time.
    items.DeleteWhere([](const skinctrls::TListItem& item) { return item.Checked; });
}

void DeleteAll(skinctrls::TListItems& items) { items.Clear(); }

int RemoveDuplicates(skinctrls::TListItems& items) {
    // Which rows repeat an earlier one is decided top to bottom first; the deletion may visit rows in any order.
    QSet<QString> seen;
    std::unordered_set<const skinctrls::TListItem*> repeats;
    for (int i = 0; i < items.Count(); ++i) {
        const skinctrls::TListItem& item = items.Item(i);
        const QString key = item.SubItem(cellKeyword).trimmed().toCaseFolded();
        if (seen.contains(key)) {
            repeats.insert(&item);
        } else {
            seen.insert(key);
        }
    }
    if (repeats.empty()) return 0;
    return items.DeleteWhere([&repeats](const skinctrls::TListItem& item) { return repeats.count(&item) > 0; });
}

std::vector<skinctrls::TListItemHandle> RowsWithoutCounts(const skinctrls::TListItems& items) {
    std::vector<skinctrls::TListItemHandle> rows;
    for (int i = 0; i < items.Count(); ++i) {
        const skinctrls::TListItem& item = items.Item(i);
        if (item.SubItem(cellGoogle).isEmpty() && item.SubItem(cellYahoo).isEmpty() &&
            item.SubItem(cellMsn).isEmpty()) {
            rows.push_back(items.Handle(i));
        }
    }
    return rows;
}

}  // namespace dorvanel::workbench
