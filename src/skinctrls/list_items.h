#pragma once
// The items of a report list view: the only store of the rows it shows. Each item is a check mark, a
// caption (column 0) and its sub-item texts (columns 1 and on). Items live on the heap so that a pointer to
// one stays valid while rows move (sorting) or others are removed; a caller that must survive deletions
// keeps a TListItemHandle and asks whether it is still alive.
#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace dorvanel::skinctrls {

struct TListColumn {
    QString Caption;
    int Width = 50;
    Qt::Alignment Alignment = Qt::AlignLeft;
};

class TListItem {
public:
    QString Caption;
    QList<QString> SubItems;
    bool Checked = false;

    // The sub-item at index i, or an empty text when the row holds fewer.
    const QString& SubItem(int i) const;
};

// A weak reference to an item: stays valid after the item is deleted and then reports it gone.
using TListItemHandle = std::weak_ptr<TListItem>;

class TListItems : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TListItems(QObject* parent = nullptr);

    // Columns (the header of the report view).
    void AddColumn(const QString& caption, int width, Qt::Alignment alignment = Qt::AlignLeft);
    int ColumnCount() const { return static_cast<int>(FColumns.size()); }
    const TListColumn& Column(int i) const { return FColumns.at(static_cast<size_t>(i)); }
    void SetColumnWidth(int i, int width);

    // Rows.
    int Count() const { return static_cast<int>(FItems.size()); }
    TListItem& Item(int i) { return *FItems.at(static_cast<size_t>(i)); }
    const TListItem& Item(int i) const { return *FItems.at(static_cast<size_t>(i)); }
    TListItemHandle Handle(int i) const { return FItems.at(static_cast<size_t>(i)); }
    // Position of a live item, or -1 when it was deleted. Linear in the row count.
    int IndexOf(const TListItem* item) const;
    // The same, looking first at `hint` and then upwards from it: rows only move up when others above them
    // are deleted, so this is quick for an item last seen at `hint`.
    int IndexOf(const TListItem* item, int hint) const;

    // Appends an item and returns it; its SubItems are filled by the caller before the next event loop turn
    // or announced with ItemChanged.
    TListItem& Add(const QString& caption, const QList<QString>& subItems, bool checked = false);
    void Delete(int i);
    // Removes every item for which the predicate holds, keeping the order of the rest, in one pass.
    int DeleteWhere(const std::function<bool(const TListItem&)>& predicate);
    void Clear();

    void SetChecked(int i, bool checked);
    void SetAllChecked(bool checked);
    void SetSubItem(int i, int sub, const QString& text);
    void ItemChanged(int i);

    // Reorders the rows by a comparison returning <0, 0, >0 (a before b, equal, after). Stable.
    void CustomSort(const std::function<int(const TListItem&, const TListItem&)>& compare);
    // Reorders the rows so that row i becomes the row that stood at order[i]; order is a permutation.
    void ApplyOrder(const std::vector<int>& order);

    // QAbstractItemModel.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A check mark changed through the view (the user clicked it).
    void ItemChecked(int row);

private:
    std::vector<TListColumn> FColumns;
    std::vector<std::shared_ptr<TListItem>> FItems;
};

}  // namespace dorvanel::skinctrls
