#include "skindialogs/file_list_view.h"

#include "skindialogs/confirm_rules.h"
#include "skinctrls/skin_draw.h"
#include "skinctrls/skin_header.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>

namespace dorvanel::skindialogs {

using namespace skinctrls;

// ---- TFileListModel ----

void TFileListModel::SetEntries(std::vector<TFileEntry> entries) {
    beginResetModel();
    FEntries = std::move(entries);
    endResetModel();
}

void TFileListModel::SetColumnCaptions(const QStringList& captions) {
    FCaptions = captions;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int TFileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FEntries.size());
}

int TFileListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QString TFileListModel::SizeText(const TFileEntry& entry) {
    if (entry.IsFolder) return {};
    // Whole kilobytes, rounded up, as file managers show them.
    const qint64 kb = (entry.Size + 1023) / 1024;
    return QLocale().toString(kb) + QStringLiteral(" KB");
}

QString TFileListModel::TypeText(const TFileEntry& entry) {
    if (entry.IsFolder) return QStringLiteral("File folder");
    const qsizetype dot = entry.Name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == entry.Name.size() - 1) return QStringLiteral("File");
    return entry.Name.mid(dot + 1).toUpper() + QStringLiteral(" File");
}

QString TFileListModel::ModifiedText(const TFileEntry& entry) {
    return entry.Modified.isValid() ? entry.Modified.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TFileEntry& entry = FEntries[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case 0:
                    return entry.Name;
                case 1:
                    return SizeText(entry);
                case 2:
                    return TypeText(entry);
                default:
                    return ModifiedText(entry);
            }
        case Qt::DecorationRole:
            if (index.column() != 0) return {};
            return QApplication::style()->standardIcon(entry.IsFolder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
        case Qt::TextAlignmentRole:
            // Only the size is right-aligned; the icon views centre their captions themselves.
            if (index.column() == 1) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default:
            return {};
    }
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return section < FCaptions.size() ? FCaptions[section] : QString();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue((section == 1 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

// ---- TFileListHeader ----

TFileListHeader::TFileListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(false);
    setSectionsMovable(false);
    setStretchLastSection(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
}

QSize TFileListHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    // As tall as the list view's header: the platform's height and 4 pixels more.
    size.setHeight(fontMetrics().height() + 6 + 4);
    return size;
}

void TFileListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) return;
    THeaderSection section;
    section.Caption = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    section.Alignment = logicalIndex == 1 ? Qt::AlignRight : Qt::AlignLeft;
    PaintHeaderSection(*painter, rect, SkinData, HeaderSkinDataName, section, font());
}

void TFileListHeader::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    const int right = length() - offset();
    if (right >= viewport()->width()) return;
    QPainter p(viewport());
    PaintHeaderRest(p, QRect(right, 0, viewport()->width() - right, viewport()->height()), SkinData,
                    HeaderSkinDataName);
}

// ---- TSkinFileListView ----

TSkinFileListView::TSkinFileListView(QWidget* parent)
    : QWidget(parent), FModel(new TFileListModel(this)), FIconView(new QListView(this)),
      FReportView(new QTreeView(this)) {
    FSkinDataName = QStringLiteral("listview");
    FIconView->setModel(FModel);
    FReportView->setModel(FModel);
    FReportView->setSelectionModel(FIconView->selectionModel());
    FReportView->setHeader(new TFileListHeader(FReportView));
    FReportView->setRootIsDecorated(false);
    FReportView->setItemsExpandable(false);
    FReportView->setUniformRowHeights(true);
    FReportView->setAllColumnsShowFocus(true);
    FReportView->setIndentation(0);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(FIconView), static_cast<QAbstractItemView*>(FReportView)}) {
        view->setFrameShape(QFrame::NoFrame);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setContextMenuPolicy(Qt::NoContextMenu);
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            if (index.isValid() && OnDoubleClick) OnDoubleClick(index.row());
        });
        for (QScrollBar* bar : {view->horizontalScrollBar(), view->verticalScrollBar()}) {
            connect(bar, &QScrollBar::rangeChanged, this, [this] { Synchronise(); });
            connect(bar, &QScrollBar::valueChanged, this, [this] { Synchronise(); });
        }
    }
    // The selection stays drawn as selected while the list has no focus.
    QPalette palette = FIconView->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    FIconView->setPalette(palette);
    FReportView->setPalette(palette);
    connect(FIconView->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (OnSelectionChange) OnSelectionChange();
    });
    setFocusProxy(FIconView);
    SetDefaultFont(StandardDefaultFont());
    SetViewStyle(FViewStyle);
}

void TSkinFileListView::SetSkinData(skin::TSkinData* skinData) {
    FSkinData = skinData;
    if (auto* header = qobject_cast<TFileListHeader*>(FReportView->header())) header->SkinData = skinData;
    LookUpDescription();
    update();
}

void TSkinFileListView::SetHeaderSkinDataName(const QString& name) {
    FHeaderSkinDataName = name;
    if (auto* header = qobject_cast<TFileListHeader*>(FReportView->header())) {
        header->HeaderSkinDataName = name;
        header->viewport()->update();
    }
}

void TSkinFileListView::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, std::max(0, width), std::max(0, height));
    platform::BoundsSet(this);
}

void TSkinFileListView::SetDefaultFont(const QFont& font) {
    setFont(font);
    FIconView->setFont(font);
    FReportView->setFont(font);
    FReportView->header()->setFont(font);
    // Name 25, Size 10, Type 10 and Modified 14 times the width of "X".
    const int x = QFontMetrics(font).horizontalAdvance(QLatin1Char('X'));
    const int widths[] = {25, 10, 10, 14};
    for (int c = 0; c < 4; ++c) FReportView->header()->resizeSection(c, widths[c] * x);
}

void TSkinFileListView::SetFolder(const QString& folder) {
    const QString normal = NormalFolder(folder);
    FModel->SetEntries(ListFolder(normal, FMask));
    const bool changed = normal != FFolder;
    FFolder = normal;
    SetFocusedRow(0);
    if (changed && OnFolderChange) OnFolderChange();
}

void TSkinFileListView::SetMask(const QString& mask) {
    FMask = mask;
    Refresh();
}

void TSkinFileListView::Refresh() {
    if (FFolder.isEmpty()) return;
    FModel->SetEntries(ListFolder(FFolder, FMask));
    SetFocusedRow(0);
}

QString TSkinFileListView::PathOf(int row) const { return JoinPath(FFolder, Entry(row).Name); }

int TSkinFileListView::RowOf(const QString& name) const {
    for (int row = 0; row < Count(); ++row)
        if (Entry(row).Name == name) return row;
    return -1;
}

void TSkinFileListView::SetMultiSelection(bool on) {
    FMultiSelection = on;
    const auto mode = on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    FIconView->setSelectionMode(mode);
    FReportView->setSelectionMode(mode);
}

QList<int> TSkinFileListView::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : FIconView->selectionModel()->selectedIndexes())
        if (index.column() == 0) rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TSkinFileListView::FocusedRow() const {
    const QModelIndex current = FIconView->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TSkinFileListView::SetFocusedRow(int row) {
    if (row < 0 || row >= Count()) return;
    FIconView->selectionModel()->setCurrentIndex(FModel->index(row, 0), QItemSelectionModel::NoUpdate);
}

void TSkinFileListView::SelectRow(int row) {
    if (row < 0 || row >= Count()) return;
    FIconView->selectionModel()->setCurrentIndex(FModel->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString TSkinFileListView::SelectedFile() const {
    const QList<int> rows = SelectedRows();
    const int focused = FocusedRow();
    if (rows.contains(focused) && !Entry(focused).IsFolder) return PathOf(focused);
    for (int row : rows)
        if (!Entry(row).IsFolder) return PathOf(row);
    return {};
}

QAbstractItemView* TSkinFileListView::ActiveView() const {
    if (FViewStyle == TViewStyle::vsReport) return FReportView;
    return FIconView;
}

void TSkinFileListView::SetViewStyle(TViewStyle style) {
    FViewStyle = style;
    const bool report = style == TViewStyle::vsReport;
    switch (style) {
        case TViewStyle::vsIcon:
            FIconView->setViewMode(QListView::IconMode);
            FIconView->setFlow(QListView::LeftToRight);
            FIconView->setIconSize(QSize(32, 32));
            FIconView->setGridSize(QSize(84, 64));
            FIconView->setWordWrap(true);
            break;
        case TViewStyle::vsSmallIcon:
            FIconView->setViewMode(QListView::ListMode);
            FIconView->setFlow(QListView::LeftToRight);
            FIconView->setIconSize(QSize(16, 16));
            FIconView->setGridSize(QSize(150, 20));
            FIconView->setWordWrap(false);
            break;
        case TViewStyle::vsList:
        case TViewStyle::vsReport:
            FIconView->setViewMode(QListView::ListMode);
            FIconView->setFlow(QListView::TopToBottom);
            FIconView->setIconSize(QSize(16, 16));
            FIconView->setGridSize(QSize());
            FIconView->setWordWrap(false);
            break;
    }
    FIconView->setWrapping(!report);
    FIconView->setResizeMode(QListView::Adjust);
    FIconView->setMovement(QListView::Static);
    FIconView->setUniformItemSizes(false);
    FIconView->setVisible(!report);
    FReportView->setVisible(report);
    const bool hadFocus = FIconView->hasFocus() || FReportView->hasFocus();
    setFocusProxy(ActiveView());
    if (hadFocus) ActiveView()->setFocus();
    FIconView->doItemsLayout();
    Synchronise();
}

void TSkinFileListView::resizeEvent(QResizeEvent*) {
    FIconView->setGeometry(rect());
    FReportView->setGeometry(rect());
    Synchronise();
}

void TSkinFileListView::WireBar(TSkinScrollBar* bar, Qt::Orientation orientation) {
    if (!bar) return;
    bar->SetKind(orientation == Qt::Horizontal ? TScrollBarKind::sbHorizontal : TScrollBarKind::sbVertical);
    bar->OnChange = [this, bar, orientation] {
        if (FSynchronising) return;
        QAbstractItemView* view = ActiveView();
        QScrollBar* own = orientation == Qt::Horizontal ? view->horizontalScrollBar() : view->verticalScrollBar();
        own->setValue(bar->Position());
    };
    Synchronise();
}

void TSkinFileListView::SetHScrollBar(TSkinScrollBar* bar) {
    FHScrollBar = bar;
    WireBar(bar, Qt::Horizontal);
}

void TSkinFileListView::SetVScrollBar(TSkinScrollBar* bar) {
    FVScrollBar = bar;
    WireBar(bar, Qt::Vertical);
}

void TSkinFileListView::Synchronise() {
    if (FSynchronising) return;
    FSynchronising = true;
    QAbstractItemView* view = ActiveView();
    const std::pair<QScrollBar*, TSkinScrollBar*> pairs[] = {{view->horizontalScrollBar(), FHScrollBar},
                                                             {view->verticalScrollBar(), FVScrollBar}};
    for (const auto& [own, bar] : pairs) {
        if (!bar) continue;
        // A bar stays in place and is only enabled while there is something to scroll.
        const bool needed = own->maximum() > own->minimum();
        bar->setEnabled(needed);
        if (needed) {
            const int page = std::max(1, own->pageStep());
            bar->SetRange(own->minimum(), own->maximum() + page - 1, page, own->value());
            bar->SetSmallChange(std::max(1, own->singleStep()));
            bar->SetLargeChange(page);
        } else {
            bar->SetRange(0, 0, 0, 0);
        }
    }
    FSynchronising = false;
}

bool TSkinFileListView::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == FIconView || watched == FReportView) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && OnEnter) {
            OnEnter();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace dorvanel::skindialogs
