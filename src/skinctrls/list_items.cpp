#include "skinctrls/list_items.h"

#include <algorithm>

namespace dorvanel::skinctrls {

const QString& TListItem::SubItem(int i) const {
    static const QString empty;
    return (i >= 0 && i < SubItems.size()) ? SubItems[i] : empty;
}

TListItems::TListItems(QObject* parent) : QAbstractTableModel(parent) {}

void TListItems::AddColumn(const QString& caption, int width, Qt::Alignment alignment) {
    const int at = ColumnCount();
    beginInsertColumns({}, at, at);
    FColumns.push_back({caption, width, alignment});
    endInsertColumns();
}

void TListItems::SetColumnWidth(int i, int width) {
    FColumns.at(static_cast<size_t>(i)).Width = width;
    emit headerDataChanged(Qt::Horizontal, i, i);
}

int TListItems::IndexOf(const TListItem* item) const {
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item) return static_cast<int>(i);
    return -1;
}

int TListItems::IndexOf(const TListItem* item, int hint) const {
    const int n = Count();
    for (int i = std::min(hint, n - 1); i >= 0; --i)
        if (FItems[static_cast<size_t>(i)].get() == item) return i;
    for (int i = std::max(hint + 1, 0); i < n; ++i)
        if (FItems[static_cast<size_t>(i)].get() == item) return i;
    return -1;
}

TListItem& TListItems::Add(const QString& caption, const QList<QString>& subItems, bool checked) {
    const int at = Count();
    beginInsertRows({}, at, at);
    auto item = std::make_shared<TListItem>();
    item->Caption = caption;
    item->SubItems = subItems;
    item->Checked = checked;
    FItems.push_back(std::move(item));
    endInsertRows();
    return *FItems.back();
}

void TListItems::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    beginRemoveRows({}, i, i);
    FItems.erase(FItems.begin() + i);
    endRemoveRows();
}

int TListItems::DeleteWhere(const std::function<bool(const TListItem&)>& predicate) {
    const auto keep = std::stable_partition(FItems.begin(), FItems.end(),
                                            [&](const std::shared_ptr<TListItem>& it) { return !predicate(*it); });
    const int removed = static_cast<int>(FItems.end() - keep);
    if (removed == 0) return 0;
    // One reset instead of a removal per row: a view re-reads the rows once.
    beginResetModel();
    FItems.erase(keep, FItems.end());
    endResetModel();
    return removed;
}

void TListItems::Clear() {
    if (FItems.empty()) return;
    beginResetModel();
    FItems.clear();
    endResetModel();
}

void TListItems::SetChecked(int i, bool checked) {
    TListItem& item = Item(i);
    if (item.Checked == checked) return;
    item.Checked = checked;
    const QModelIndex at = index(i, 0);
    emit dataChanged(at, at, {Qt::CheckStateRole});
}

void TListItems::SetAllChecked(bool checked) {
    if (FItems.empty()) return;
    for (auto& item : FItems) item->Checked = checked;
    emit dataChanged(index(0, 0), index(Count() - 1, 0), {Qt::CheckStateRole});
}

void TListItems::SetSubItem(int i, int sub, const QString& text) {
    TListItem& item = Item(i);
    while (item.SubItems.size() <= sub) item.SubItems.append(QString());
    item.SubItems[sub] = text;
    const QModelIndex at = index(i, sub + 1);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void TListItems::ItemChanged(int i) { emit dataChanged(index(i, 0), index(i, std::max(0, ColumnCount() - 1))); }

void TListItems::CustomSort(const std::function<int(const TListItem&, const TListItem&)>& compare) {
    if (FItems.size() < 2) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::stable_sort(
        FItems.begin(), FItems.end(),
        [&](const std::shared_ptr<TListItem>& a, const std::shared_ptr<TListItem>& b) { return compare(*a, *b) < 0; });
    // The view keeps no persistent indexes into the rows (no selection model rows are tracked by us).
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TListItems::ApplyOrder(const std::vector<int>& order) {
    if (order.size() != FItems.size()) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<std::shared_ptr<TListItem>> sorted;
    sorted.reserve(FItems.size());
    for (int from : order) sorted.push_back(std::move(FItems.at(static_cast<size_t>(from))));
    FItems = std::move(sorted);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TListItems::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

int TListItems::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount(); }

QVariant TListItems::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    const TListItem& item = Item(index.row());
    switch (role) {
        case Qt::DisplayRole:
            return index.column() == 0 ? item.Caption : item.SubItem(index.column() - 1);
        case Qt::CheckStateRole:
            if (index.column() == 0) return item.Checked ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() < ColumnCount())
                return QVariant::fromValue(Column(index.column()).Alignment | Qt::AlignVCenter);
            return {};
        default:
            return {};
    }
}

bool TListItems::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || role != Qt::CheckStateRole) return false;
    const bool checked = value.toInt() == Qt::Checked;
    SetChecked(index.row(), checked);
    emit ItemChecked(index.row());
    return true;
}

QVariant TListItems::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount()) return {};
    if (role == Qt::DisplayRole) return Column(section).Caption;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Column(section).Alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TListItems::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0) f |= Qt::ItemIsUserCheckable;
    return f;
}

}  // namespace dorvanel::skinctrls
