#pragma once
// The file dialog's list of one folder: its sub-folders and the files its mask lets through, shown in one
// of four views (large icons, small icons, list, details). Two views share one model and one selection:
// an icon view for the first three styles and a report view with a header for details. Their own scroll
// bars stay hidden; two skinned bars beside the list show and move the scroll state instead.
#include "skindialogs/folder_listing.h"
#include "skinctrls/skin_control.h"
#include "skinctrls/skin_scrollbar.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>
#include <QStringList>

class QListView;
class QTreeView;
class QScrollBar;
class QAbstractItemView;

namespace dorvanel::skindialogs {

using skin::TSkinData;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TFileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetEntries(std::vector<TFileEntry> entries);
    const std::vector<TFileEntry>& Entries() const { return FEntries; }
    // "Name", "Size", "Type", "Modified" or the skin's texts for them.
    void SetColumnCaptions(const QStringList& captions);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The texts of the details columns.
    static QString SizeText(const TFileEntry& entry);
    static QString TypeText(const TFileEntry& entry);
    static QString ModifiedText(const TFileEntry& entry);

private:
    std::vector<TFileEntry> FEntries;
    QStringList FCaptions{QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"),
                          QStringLiteral("Modified")};
};

// The header of the details view, drawn by the skinned header painter the keyword table uses too.
class TFileListHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TFileListHeader(QWidget* parent = nullptr);
    QSize sizeHint() const override;

    QPointer<TSkinData> SkinData;
    QString HeaderSkinDataName = QStringLiteral("resizebutton");

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void paintEvent(QPaintEvent* event) override;
};

class TSkinFileListView : public QWidget, public skinctrls::TSkinClient, public platform::TControlBounds {
    Q_OBJECT
public:
    explicit TSkinFileListView(QWidget* parent = nullptr);

    void SetSkinData(skin::TSkinData* data) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetAlign(platform::TAlign align) { platform::SetAlign(this, align); }

    const QString& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const QString& name);
    void SetDefaultFont(const QFont& font);
    void SetColumnCaptions(const QStringList& captions) { FModel->SetColumnCaptions(captions); }

    // ---- what is listed ----
    const QString& Folder() const { return FFolder; }
    // Lists another folder (raises EInvalidPath when it cannot be read); the first entry gets the focus mark.
    void SetFolder(const QString& folder);
    const QString& Mask() const { return FMask; }
    // Lists the folder again under another mask.
    void SetMask(const QString& mask);
    void Refresh();

    int Count() const { return static_cast<int>(FModel->Entries().size()); }
    const TFileEntry& Entry(int row) const { return FModel->Entries().at(static_cast<size_t>(row)); }
    QString PathOf(int row) const;
    int RowOf(const QString& name) const;

    // ---- selection ----
    bool MultiSelection() const { return FMultiSelection; }
    void SetMultiSelection(bool on);
    // The selected rows in list order.
    QList<int> SelectedRows() const;
    // The row with the focus mark, -1 for none.
    int FocusedRow() const;
    void SetFocusedRow(int row);
    void SelectRow(int row);
    // Full path of the focused selected file (the first selected file when the focused row is not one);
    // empty when no file is selected.
    QString SelectedFile() const;

    // ---- views ----
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle style);
    QAbstractItemView* ActiveView() const;
    QListView* IconView() const { return FIconView; }
    QTreeView* ReportView() const { return FReportView; }

    skinctrls::TSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(skinctrls::TSkinScrollBar* bar);
    skinctrls::TSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(skinctrls::TSkinScrollBar* bar);
    // Brings the skinned bars in step with the shown view.
    void Synchronise();

    // Another folder is shown.
    std::function<void()> OnFolderChange;
    std::function<void()> OnSelectionChange;
    // A row was double-clicked.
    std::function<void(int row)> OnDoubleClick;
    // Enter was pressed in the list.
    std::function<void()> OnEnter;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void WireBar(skinctrls::TSkinScrollBar* bar, Qt::Orientation orientation);

    TFileListModel* FModel;
    QListView* FIconView;
    QTreeView* FReportView;
    QString FFolder;
    QString FMask = QStringLiteral("*.*");
    QString FHeaderSkinDataName = QStringLiteral("resizebutton");
    TViewStyle FViewStyle = TViewStyle::vsList;
    bool FMultiSelection = false;
    QPointer<skinctrls::TSkinScrollBar> FHScrollBar;
    QPointer<skinctrls::TSkinScrollBar> FVScrollBar;
    bool FSynchronising = false;
};

}  // namespace dorvanel::skindialogs
