#include "skinctrls/skin_listview.h"

#include "skinctrls/skin_checkbox.h"
#include "skinctrls/skin_header.h"

#include <QApplication>
#include <QStyledItemDelegate>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QTimer>

namespace dorvanel::skinctrls {

// ---- row check boxes ----

namespace {

// Rows with a check mark show the skin's check box images ("checkbox") in place of the platform's box.
class SkinCheckDelegate : public QStyledItemDelegate {
public:
    explicit SkinCheckDelegate(TSkinListView* list) : QStyledItemDelegate(list), FList(list) {}

    // Every row is as high as the list's own row height, so the check picture and the text both fit.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), FList->ItemHeight());
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QVariant state = index.data(Qt::CheckStateRole);
        if (!state.isValid()) return;
        const skin::TDataSkinCheckRadioControl* box = FList->CheckBoxDescription();
        const TSkinLook look = LookOf(FList->SkinData(), box);
        if (!box || !look.Picture) return;
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const QRect check = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
        const bool checked = state.toInt() == Qt::Checked;
        const skin::TRect image = skin::HeldToPicture(
            CheckImageRect(*box, checked, option.state & QStyle::State_Enabled, false), look.Picture);
        if (image.IsEmpty() || check.isEmpty()) return;
        // The platform's box is covered by the row's own background first.
        const bool selected = option.state & QStyle::State_Selected;
        painter->fillRect(check, selected ? option.palette.highlight() : option.palette.base());
        const QPoint at(check.left() + Div(check.width(), 2) - Div(image.Width(), 2),
                        check.top() + Div(check.height(), 2) - Div(image.Height(), 2));
        DrawTransparentPiece(*painter, at, *look.Picture, image.ToQRect());
    }

private:
    TSkinListView* FList;
};

}  // namespace

// ---- TSkinListHeader ----

TSkinListHeader::TSkinListHeader(TSkinListView* list) : QHeaderView(Qt::Horizontal, list), FList(list) {
    setSectionsClickable(true);
    setSectionsMovable(false);
    setStretchLastSection(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Reached by Tab, not taken by a click: a mouse user sorts without leaving the rows.
    setFocusPolicy(Qt::TabFocus);
}

QSize TSkinListHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.rheight() += 4;
    return size;
}

bool TSkinListHeader::OnDivider(int x) const {
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical)) continue;
        const int edge = sectionViewportPosition(logical) + sectionSize(logical);
        if (std::abs(x - edge) <= grip) return true;
    }
    return false;
}

void TSkinListHeader::PaintSection(QPainter& p, int logical, const QRect& r) {
    const TListItems& items = FList->Items();
    THeaderSection section;
    section.Pressed = FPressed && logical == FActiveSection;
    if (logical < items.ColumnCount()) {
        section.Caption = items.Column(logical).Caption;
        section.Alignment = items.Column(logical).Alignment;
    }
    const bool ownCaption = bool(FList->OnDrawHeaderSection);
    PaintHeaderSection(p, r, FList->SkinData(), FList->HeaderSkinDataName(), section, font(), !ownCaption);
    if (ownCaption) FList->OnDrawHeaderSection(p, logical, r, section.Pressed);
    if (hasFocus() && logical == FKeySection) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = r.adjusted(2, 2, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

void TSkinListHeader::MoveKeySection(int step) {
    int visual = visualIndex(FKeySection);
    for (visual += step; visual >= 0 && visual < count(); visual += step) {
        if (isSectionHidden(logicalIndex(visual))) continue;
        FKeySection = logicalIndex(visual);
        break;
    }
    // What a screen reader says on the header is the column the keyboard is on.
    if (FKeySection < FList->Items().ColumnCount()) setAccessibleName(FList->Items().Column(FKeySection).Caption);
    viewport()->update();
}

void TSkinListHeader::focusInEvent(QFocusEvent* event) {
    if (FKeySection >= count() || isSectionHidden(FKeySection)) FKeySection = logicalIndex(0);
    MoveKeySection(0);
    QHeaderView::focusInEvent(event);
}

void TSkinListHeader::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            MoveKeySection(-1);
            return;
        case Qt::Key_Right:
            MoveKeySection(1);
            return;
        case Qt::Key_Home:
        case Qt::Key_End:
            for (int i = 0; i < count(); ++i) MoveKeySection(event->key() == Qt::Key_Home ? -1 : 1);
            return;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (FKeySection >= 0 && FKeySection < count()) emit sectionClicked(FKeySection);
            return;
        default:
            QHeaderView::keyPressEvent(event);
    }
}

void TSkinListHeader::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    int right = 0;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical)) continue;
        const QRect r(sectionViewportPosition(logical), 0, sectionSize(logical), viewport()->height());
        if (r.width() > 0) PaintSection(p, logical, r);
        right = std::max(right, r.left() + r.width());
    }
    if (right < viewport()->width())
        PaintHeaderRest(p, QRect(right, 0, viewport()->width() - right, viewport()->height()), FList->SkinData(),
                        FList->HeaderSkinDataName());
}

void TSkinListHeader::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int x = event->position().toPoint().x();
        FActiveSection = logicalIndexAt(x);
        FPressed = FActiveSection != -1 && !OnDivider(x);
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void TSkinListHeader::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        FActiveSection = -1;
        FPressed = false;
        viewport()->update();
    }
    QHeaderView::mouseReleaseEvent(event);
}

// ---- TSkinListView ----

TSkinListView::TSkinListView(QWidget* parent)
    : QTreeView(parent), FItems(new TListItems(this)), FHeader(new TSkinListHeader(this)),
      FDefaultFont(StandardDefaultFont()), FDefaultColor(clWindow()) {
    FSkinDataName = QStringLiteral("listview");
    setHeader(FHeader);
    setModel(FItems);
    setItemDelegate(new SkinCheckDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Sorting is the program's (OnColumnClick); the header stays clickable.
    setSortingEnabled(false);
    FHeader->setSectionsClickable(true);
    setIndentation(0);
    // Only the skinned bars are seen: no frame and no scroll bars of its own.
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    connect(FHeader, &QHeaderView::sectionClicked, this, [this](int logical) {
        if (OnColumnClick) OnColumnClick(logical);
    });
    connect(FHeader, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (!FWidthFromModel && logical < FItems->ColumnCount()) FItems->SetColumnWidth(logical, size);
        ScheduleSynchronise();
    });
    connect(FItems, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int first, int last) { ApplyColumnWidths(first, last); });
    connect(FItems, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation, int first, int last) { ApplyColumnWidths(first, last); });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(FItems, signal, this, [this] { ScheduleSynchronise(); });
    connect(FItems, &QAbstractItemModel::modelReset, this, [this] { ScheduleSynchronise(); });
    connect(FItems, &QAbstractItemModel::layoutChanged, this, [this] { ScheduleSynchronise(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { ScheduleSynchronise(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { ScheduleSynchronise(); });
    ApplyLook();
}

void TSkinListView::ApplyColumnWidths(int first, int last) {
    FWidthFromModel = true;
    for (int i = first; i <= last && i < FItems->ColumnCount(); ++i) {
        FHeader->resizeSection(i, FItems->Column(i).Width);
        FHeader->viewport()->update();
    }
    FWidthFromModel = false;
    ScheduleSynchronise();
}

void TSkinListView::SetSkinData(skin::TSkinData* skinData) {
    FSkinData = skinData;
    ApplyLook();
    Synchronise();
}

void TSkinListView::RefreshSkinDescription() { LookUpDescription(); }

void TSkinListView::ApplyLook() {
    RefreshSkinDescription();
    QFont font = FDefaultFont;
    QColor background = FDefaultColor, text = clWindowText();
    if (auto* list = dynamic_cast<const skin::TDataSkinListView*>(Description())) {
        if (FUseSkinFont) font = list->Font();
        text = skin::SkinColor(list->fontcolor);
        background = skin::SkinColor(list->bgcolor);
    }
    setFont(font);
    FHeader->setFont(font);
    QPalette palette = this->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, text);
    }
    setPalette(palette);
    // The row height follows the font and the check picture.
    scheduleDelayedItemsLayout();
    update();
}

void TSkinListView::SetGridLines(bool on) {
    FGridLines = on;
    viewport()->update();
}

void TSkinListView::SetDefaultFont(const QFont& font) {
    FDefaultFont = font;
    ApplyLook();
}

void TSkinListView::SetDefaultColor(const QColor& color) {
    FDefaultColor = color;
    ApplyLook();
}

void TSkinListView::SetUseSkinFont(bool on) {
    FUseSkinFont = on;
    ApplyLook();
}

void TSkinListView::SetBounds(int left, int top, int width, int height) {
    setGeometry(left, top, std::max(0, width), std::max(0, height));
    platform::BoundsSet(this);
    Synchronise();
}

void TSkinListView::AttachBar(QPointer<TSkinScrollBar>& slot, TSkinScrollBar* bar, void (TSkinListView::*changed)()) {
    if (slot) slot->OnChange = nullptr;
    slot = bar;
    if (bar) {
        bar->setEnabled(true);
        bar->hide();
        bar->OnChange = [this, changed] { (this->*changed)(); };
    }
    Synchronise();
}

void TSkinListView::SetVScrollBar(TSkinScrollBar* bar) { AttachBar(FVScrollBar, bar, &TSkinListView::VBarChanged); }

void TSkinListView::SetHScrollBar(TSkinScrollBar* bar) { AttachBar(FHScrollBar, bar, &TSkinListView::HBarChanged); }

void TSkinListView::VBarChanged() {
    if (!FVScrollBar) return;
    FScrollingFromBar = true;
    const int now = FVScrollBar->Position();
    // One bar step is one row.
    verticalScrollBar()->setValue(verticalScrollBar()->value() + (now - FLastVPosition));
    FLastVPosition = now;
    FScrollingFromBar = false;
}

void TSkinListView::HBarChanged() {
    if (!FHScrollBar) return;
    FScrollingFromBar = true;
    const int now = FHScrollBar->Position();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + (now - FLastHPosition));
    FLastHPosition = now;
    FScrollingFromBar = false;
}

const skin::TDataSkinCheckRadioControl* TSkinListView::CheckBoxDescription() const {
    const skin::TSkinData* skinData = SkinData();
    if (!skinData || skinData->SkinEmpty()) return nullptr;
    return dynamic_cast<const skin::TDataSkinCheckRadioControl*>(
        skinData->Control(skinData->IndexOfControl(FCheckBoxSkinDataName)));
}

int TSkinListView::ItemHeight() const {
    int height = QFontMetrics(font()).height() + 2;
    const skin::TDataSkinCheckRadioControl* box = CheckBoxDescription();
    const TSkinLook look = LookOf(SkinData(), box);
    if (box && look.Picture) {
        // The tallest of the check pictures a row may show.
        for (bool checked : {false, true})
            for (bool enabled : {false, true}) {
                const skin::TRect image =
                    skin::HeldToPicture(CheckImageRect(*box, checked, enabled, false), look.Picture);
                height = std::max(height, image.Height());
            }
    }
    return height;
}

int TSkinListView::RowHeight() const {
    if (FItems->Count() > 0) {
        const int h = indexRowSizeHint(FItems->index(0, 0));
        if (h > 0) return h;
    }
    return ItemHeight();
}

QColor TSkinListView::GridLineColor() const {
    const auto* list = dynamic_cast<const skin::TDataSkinListView*>(Description());
    if (!list) return clBtnFace();
    // A quarter of the way from the background toward the text: visible on light and dark lists alike.
    const QColor bg = skin::SkinColor(list->bgcolor), fg = skin::SkinColor(list->fontcolor);
    const auto toward = [](int from, int to) { return from + (to - from) / 4; };
    return QColor(toward(bg.red(), fg.red()), toward(bg.green(), fg.green()), toward(bg.blue(), fg.blue()));
}

QSize TSkinListView::ListViewportSize() const {
    // Measured from the list's own size: a hidden widget's viewport is sized only when it is shown.
    const int headerHeight = FHeader->isHidden() ? 0 : FHeader->sizeHint().height();
    return QSize(width(), std::max(0, height() - headerHeight));
}

int TSkinListView::RowsPerPage() const { return ListViewportSize().height() / RowHeight(); }

int TSkinListView::TopRow() const { return verticalScrollBar()->value(); }

void TSkinListView::ScheduleSynchronise() {
    if (FSyncPending) return;
    FSyncPending = true;
    QTimer::singleShot(0, this, [this] {
        FSyncPending = false;
        Synchronise();
    });
}

void TSkinListView::Synchronise() {
    if (FSynchronising || FScrollingFromBar) return;
    if (width() <= 5 || height() <= 5) return;
    FSynchronising = true;
    // A bar that appears or goes makes the parent lay the list out again, which changes what fits:
    // repeat until the bars stay as they are.
    for (int pass = 0; pass < 4; ++pass) {
        executeDelayedItemsLayout();
        updateGeometries();
        bool changed = false;
        const bool listVisible = !isHidden();
        if (FVScrollBar) {
            const int max = FItems->Count() - 1;
            const int page = RowsPerPage();
            const bool visible = listVisible && page < max + 1;
            if (visible) {
                const int position = verticalScrollBar()->value();
                FVScrollBar->SetRange(0, max, page, position);
                FLastVPosition = FVScrollBar->Position();
                FVScrollBar->SetSmallChange(1);
                FVScrollBar->SetLargeChange(std::max(1, page));
            }
            if (FVScrollBar->isHidden() == visible) {
                FVScrollBar->setVisible(visible);
                changed = true;
            }
        }
        if (FHScrollBar) {
            const int total = FHeader->length();
            const bool visible = listVisible && width() < total;
            if (visible) {
                FHScrollBar->SetRange(0, total - 1, width(), horizontalScrollBar()->value());
                FLastHPosition = FHScrollBar->Position();
            }
            if (FHScrollBar->isHidden() == visible) {
                FHScrollBar->setVisible(visible);
                changed = true;
            }
            if (FVScrollBar) FHScrollBar->SetBoth(!FVScrollBar->isHidden());
        }
        if (!changed) break;
        if (parentWidget() && platform::Align(this) != platform::TAlign::alNone)
            platform::AlignControls(parentWidget());
    }
    FSynchronising = false;
}

void TSkinListView::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (FGridLines) {
        QPainter p(viewport());
        p.setPen(GridLineColor());
        const int h = viewport()->height();
        const int step = RowHeight();
        // Row lines run on below the last row, as far as the list shows.
        for (int y = step - 1; y < h; y += step) p.drawLine(0, y, viewport()->width(), y);
        for (int c = 0; c < FHeader->count(); ++c) {
            const int x = FHeader->sectionViewportPosition(c) + FHeader->sectionSize(c) - 1;
            p.drawLine(x, 0, x, h);
        }
    }
}

void TSkinListView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    Synchronise();
}

void TSkinListView::keyPressEvent(QKeyEvent* event) {
    QTreeView::keyPressEvent(event);
    Synchronise();
}

void TSkinListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) Synchronise();
}

void TSkinListView::focusInEvent(QFocusEvent* event) {
    // A keyboard user sees where they are from the start: the first row becomes the focus row, unselected.
    if (!currentIndex().isValid() && FItems->Count() > 0)
        selectionModel()->setCurrentIndex(FItems->index(0, 0), QItemSelectionModel::NoUpdate);
    QTreeView::focusInEvent(event);
}

void TSkinListView::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    Synchronise();
}

void TSkinListView::hideEvent(QHideEvent* event) {
    QTreeView::hideEvent(event);
    // The bars follow the list's visibility.
    if (!isHidden()) return;
    if (FVScrollBar) FVScrollBar->hide();
    if (FHScrollBar) FHScrollBar->hide();
}

}  // namespace dorvanel::skinctrls
