#include "workbench/sorting.h"

#include "workbench/keyword_table.h"

#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <limits>
#include <vector>

namespace dorvanel::workbench {

using skinctrls::TListItem;
using skinctrls::TListItems;

int64_t CountValue(QStringView text) {
    // The cells hold what the engines wrote ("12,775 results", "about 1,230"): the count is the first run of
    // digits and thousands separators, as a 64-bit number (broad searches pass 2^31 easily).
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] < u'0' || text[i] > u'9')) ++i;
    int64_t value = 0;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c == u',') continue;
        if (c < u'0' || c > u'9') break;
        const int digit = c.unicode() - u'0';
        if (value > (std::numeric_limits<int64_t>::max() - digit) / 10) return std::numeric_limits<int64_t>::max();
        value = value * 10 + digit;
    }
    return value;
}

int CompareCounts(QStringView a, QStringView b) {
    const int64_t va = CountValue(a);
    const int64_t vb = CountValue(b);
    return va > vb ? 1 : (va < vb ? -1 : 0);
}

void TSortState::ColumnClicked(int column) {
    if (column == SortColumn) SortAscending = !SortAscending;
    else SortColumn = column;
}

QCollator KeywordCollator() {
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

namespace {

const QString& CountText(const TListItem& item, int column) {
    return column == 0 ? item.Caption : item.SubItem(column - 1);
}

}  // namespace

int CompareRows(const TListItem& a, const TListItem& b, int column, bool ascending, const QCollator& collator) {
    int result;
    if (column == 1) {
        const int c = collator.compare(a.SubItem(cellKeyword), b.SubItem(cellKeyword));
        result = c < 0 ? -1 : (c > 0 ? 1 : 0);
    } else {
        result = CompareCounts(CountText(a, column), CountText(b, column));
    }
    return ascending ? result : -result;
}

void SortKeywordTable(TListItems& items, int column, bool ascending) {
    const int n = items.Count();
    if (n < 2) return;
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;

    if (column == 1 && KeywordCollator().locale().language() == QLocale::C) {
        // Under the C locale Qt's sort keys keep letter case, while its comparison folds it; folded texts
        // give the comparison's order.
        std::vector<QString> keys;
        keys.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) keys.push_back(items.Item(i).SubItem(cellKeyword).toCaseFolded());
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int c = QString::compare(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]);
            return ascending ? c < 0 : c > 0;
        });
    } else if (column == 1) {
        const QCollator collator = KeywordCollator();
        std::vector<QCollatorSortKey> keys;
        keys.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) keys.push_back(collator.sortKey(items.Item(i).SubItem(cellKeyword)));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int c = keys[static_cast<size_t>(a)].compare(keys[static_cast<size_t>(b)]);
            return ascending ? c < 0 : c > 0;
        });
    } else {
        std::vector<int64_t> keys(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) keys[static_cast<size_t>(i)] = CountValue(CountText(items.Item(i), column));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int64_t ka = keys[static_cast<size_t>(a)];
            const int64_t kb = keys[static_cast<size_t>(b)];
            return ascending ? ka < kb : ka > kb;
        });
    }
    items.ApplyOrder(order);
}

}  // namespace dorvanel::workbench
