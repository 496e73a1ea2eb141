#include "skinctrls/skin_popup_menu.h"

#include "skin/data_skin_objects.h"
#include "skin/skin_events.h"
#include "skinctrls/skin_accessible.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace dorvanel::skinctrls {

namespace {

// The plain menu: text this far from either side of an item, item rows this much taller than the text,
// separators this high, and a border of one line plus one pixel of padding.
constexpr int kPlainTextMargin = 20;
constexpr int kPlainItemPadding = 8;
constexpr int kPlainSeparatorHeight = 8;
constexpr int kPlainBorder = 2;

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;

// The key of the caption's accelerator character, 0 when it has none.
int AcceleratorKey(const QString& caption) {
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    return mnemonic.isEmpty() ? 0 : int(mnemonic[0].key());
}

// A text rectangle relative to an image of w x h, held inside it (the whole image when none is given).
skin::TRect HeldTextRect(skin::TRect r, int w, int h) {
    r = {std::clamp(r.Left, 0, w), std::clamp(r.Top, 0, h), std::clamp(r.Right, 0, w), std::clamp(r.Bottom, 0, h)};
    return r.IsEmpty() ? skin::TRect{0, 0, w, h} : r;
}

// An item image is a horizontal three-part image: what lies left and right of the text rectangle keeps its
// size (a gutter, rounded ends) and the part under the text is tiled to the item's width.
TSkinGeometry ItemGeometry(const skin::TRect& source, const skin::TRect& text) {
    TSkinGeometry g;
    g.SkinRect = source;
    g.LTPoint = {text.Left, 0};
    g.RTPoint = {text.Right, 0};
    g.ClientRect = {0, 0, source.Width(), source.Height()};
    return g;
}

// A divider keeps its ends and stretches its middle column.
TSkinGeometry DividerGeometry(const skin::TRect& source) {
    TSkinGeometry g;
    g.SkinRect = source;
    g.LTPoint = {source.Width() / 2, 0};
    g.RTPoint = {source.Width() / 2 + 1, 0};
    g.ClientRect = {0, 0, source.Width(), source.Height()};
    return g;
}

// An offset of the description held to the coordinates a skin may give.
int Offset(int value) { return std::clamp(value, 0, skin::kMaxSkinCoordinate); }

QColor PaletteColor(QPalette::ColorRole role) { return QGuiApplication::palette().color(QPalette::Active, role); }

}  // namespace

TSkinPopupMenu::TSkinPopupMenu(QWidget* owner) : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint) {
    FSkinDataName = QStringLiteral("menuitem");
    EnsureSkinAccessibility();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateLayout();
}

void TSkinPopupMenu::SetSkinData(skin::TSkinData* skinData) {
    FSkinData = skinData;
    UpdateLayout();
    update();
}

void TSkinPopupMenu::SkinChanging() {
    FIndex = -1;
    update();
}

void TSkinPopupMenu::SkinChanged() { SetSkinData(FSkinData); }

bool TSkinPopupMenu::event(QEvent* e) {
    // A top-level window hears skin changes itself, whether or not its owner passes them on.
    if (skin::TSkinMessageEvent::IsSkinMessage(e)) {
        auto* message = static_cast<skin::TSkinMessageEvent*>(e);
        if (!message->SkinData() || message->SkinData() == FSkinData) {
            if (message->Message() == skin::SKIN_MSG_PREPARE) SkinChanging();
            else if (message->Message() == skin::SKIN_MSG_APPLY) SkinChanged();
        }
        return true;
    }
    return QWidget::event(e);
}

void TSkinPopupMenu::Clear() {
    FItems.clear();
    FHot = -1;
    UpdateLayout();
}

void TSkinPopupMenu::Add(TSkinMenuItem item) {
    FItems.push_back(std::move(item));
    UpdateLayout();
}

void TSkinPopupMenu::CheckOnly(int index) {
    FChecked = index;
    update();
}

TSkinPopupMenu::TLook TSkinPopupMenu::CurrentLook() const {
    TLook look;
    const skin::TSkinData* skinData = FSkinData;
    if (!skinData || skinData->SkinEmpty()) return look;
    const skin::TDataSkinPopupWindow& window = skinData->PopupWindow();
    if (const QImage* picture = skinData->Picture(window.windowpictureindex); picture && !picture->isNull()) {
        TSkinGeometry g;
        g.SkinRect = {0, 0, picture->width(), picture->height()};
        g.LTPoint = window.lefttoppoint;
        g.RTPoint = window.righttoppoint;
        g.LBPoint = window.leftbottompoint;
        g.RBPoint = window.rightbottompoint;
        g.ClientRect = window.itemsrect;
        g = skin::HeldGeometry(g, picture);
        // Only a nine-part picture fits a window of any size; anything else keeps the plain border.
        if (SliceModeOf(g) == 1 && !g.ClientRect.IsEmpty()) {
            look.Window = picture;
            look.WindowGeometry = g;
            look.WindowSliceMode = 1;
            look.Stretch = {window.leftstretch, window.rightstretch, window.topstretch, window.bottomstretch};
            look.Mask = skinData->Picture(window.maskpictureindex);
        }
    }
    const auto* item =
        dynamic_cast<const skin::TDataSkinMenuItem*>(skinData->Object(skinData->IndexOfObject("menuitem")));
    // A frame object's images come from its own picture, else from the frame picture.
    const QImage* picture = item ? skinData->Picture(item->activepictureindex) : nullptr;
    if (item && !picture) picture = &skinData->MainPicture();
    if (item && !picture->isNull() && !skin::HeldToPicture(item->skinrect, picture).IsEmpty()) {
        look.Item = item;
        look.ItemPicture = picture;
        look.Normal = skin::HeldToPicture(item->skinrect, picture);
        // The hot image must match the normal one in size.
        const skin::TRect active = skin::HeldToPicture(item->activeskinrect, picture);
        look.Active =
            active.Width() == look.Normal.Width() && active.Height() == look.Normal.Height() ? active : look.Normal;
        look.Divider = skin::HeldToPicture(item->dividerrect, picture);
        look.Text = HeldTextRect(item->textrect, look.Normal.Width(), look.Normal.Height());
    }
    return look;
}

QMargins TSkinPopupMenu::BorderOf(const TLook& look) {
    if (!look.Window) return {kPlainBorder, kPlainBorder, kPlainBorder, kPlainBorder};
    const TSkinGeometry& g = look.WindowGeometry;
    return {g.ClientRect.Left, g.ClientRect.Top, g.SkinRect.Width() - g.ClientRect.Right,
            g.SkinRect.Height() - g.ClientRect.Bottom};
}

QFont TSkinPopupMenu::ItemFont(const TLook& look) const {
    return look.Item ? look.Item->Font() : StandardDefaultFont();
}

int TSkinPopupMenu::ItemHeight(const TLook& look, const TSkinMenuItem& item) const {
    if (item.Separator) return look.Item && !look.Divider.IsEmpty() ? look.Divider.Height() : kPlainSeparatorHeight;
    if (look.Item) return look.Normal.Height();
    return QFontMetrics(ItemFont(look)).height() + kPlainItemPadding;
}

void TSkinPopupMenu::UpdateLayout() {
    const TLook look = CurrentLook();
    const QMargins border = BorderOf(look);
    const QFontMetrics metrics(ItemFont(look));
    int textWidth = 0;
    for (const TSkinMenuItem& item : FItems)
        if (!item.Separator) textWidth = std::max(textWidth, metrics.size(kTextFlags, item.Caption).width());
    int itemsWidth = textWidth + 2 * kPlainTextMargin;
    if (look.Item) {
        const int w = look.Normal.Width();
        const int offsets = Offset(look.Item->itemleftoffset) + Offset(look.Item->itemrightoffset);
        itemsWidth = std::max(textWidth + look.Text.Left + (w - look.Text.Right), w) + offsets;
    }
    itemsWidth = std::min(itemsWidth, skin::kMaxPaintSide);
    FItemRects.clear();
    int y = border.top();
    for (const TSkinMenuItem& item : FItems) {
        const int h = std::min(ItemHeight(look, item), skin::kMaxPaintSide);
        FItemRects.emplace_back(border.left(), y, itemsWidth, h);
        y = std::min(y + h, skin::kMaxPaintSide);
    }
    const QSize size = skin::CapPaintSize(QSize(border.left() + itemsWidth + border.right(), y + border.bottom()));
    resize(size);
    const QRegion shape =
        look.Mask ? skin::SkinShapeRegion(look.Mask, look.WindowGeometry, look.WindowSliceMode, size) : QRegion();
    if (shape.isEmpty()) clearMask();
    else setMask(shape);
    FIndex = look.Item ? FSkinData->IndexOfObject("menuitem") : -1;
    if (!Selectable(FHot)) FHot = -1;
}

void TSkinPopupMenu::Popup(QPoint globalPos) {
    UpdateLayout();
    FHot = -1;
    QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (!screen && parentWidget()) screen = parentWidget()->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    QPoint at = globalPos;
    if (screen) {
        const QRect area = screen->availableGeometry();
        at.setX(std::max(area.left(), std::min(at.x(), area.left() + area.width() - width())));
        at.setY(std::max(area.top(), std::min(at.y(), area.top() + area.height() - height())));
    }
    move(at);
    show();
    update();
    AnnounceMenu(this, true);
}

int TSkinPopupMenu::ItemAt(QPoint pos) const {
    for (std::size_t i = 0; i < FItemRects.size(); ++i)
        if (FItemRects[i].contains(pos)) return int(i);
    return -1;
}

QRect TSkinPopupMenu::ItemRect(int index) const {
    return index >= 0 && index < int(FItemRects.size()) ? FItemRects[std::size_t(index)] : QRect();
}

bool TSkinPopupMenu::Selectable(int index) const {
    if (index < 0 || index >= int(FItems.size())) return false;
    const TSkinMenuItem& item = FItems[std::size_t(index)];
    return item.Enabled && !item.Separator;
}

void TSkinPopupMenu::SetHot(int index) {
    if (!Selectable(index)) index = -1;
    if (index == FHot) return;
    FHot = index;
    update();
    if (index >= 0) AnnounceFocusedItem(this, index);
}

int TSkinPopupMenu::NextEnabled(int step) const {
    const int count = int(FItems.size());
    // From no hot item, Down starts at the first item and Up at the last.
    int index = FHot >= 0 ? FHot : (step > 0 ? -1 : count);
    for (int n = 0; n < count; ++n) {
        index = ((index + step) % count + count) % count;
        if (Selectable(index)) return index;
    }
    return -1;
}

void TSkinPopupMenu::Run(int index) {
    if (!Selectable(index)) return;
    std::function<void()> handler = FItems[std::size_t(index)].OnClick;
    close();
    // Queued, so that the handler runs after the popup's close is over and may close or destroy the owner.
    if (handler) QTimer::singleShot(0, this, handler);
}

void TSkinPopupMenu::mouseMoveEvent(QMouseEvent* event) { SetHot(ItemAt(event->position().toPoint())); }

void TSkinPopupMenu::mousePressEvent(QMouseEvent* event) {
    // A press outside closes the popup (the base class does that); inside it only waits for the release.
    if (!rect().contains(event->position().toPoint())) QWidget::mousePressEvent(event);
}

void TSkinPopupMenu::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    Run(ItemAt(event->position().toPoint()));
}

void TSkinPopupMenu::leaveEvent(QEvent*) { SetHot(-1); }

void TSkinPopupMenu::hideEvent(QHideEvent*) {
    AnnounceMenu(this, false);
    emit Closed();
}

void TSkinPopupMenu::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Down:
            SetHot(NextEnabled(1));
            return;
        case Qt::Key_Up:
            SetHot(NextEnabled(-1));
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            Run(FHot);
            return;
        case Qt::Key_Escape:
            close();
            return;
        default:
            break;
    }
    // An accelerator runs its item; when several items share it, it moves among them instead.
    std::vector<int> matches;
    for (int i = 0; i < int(FItems.size()); ++i)
        if (Selectable(i) && AcceleratorKey(FItems[std::size_t(i)].Caption) == event->key()) matches.push_back(i);
    if (matches.size() == 1) Run(matches.front());
    else if (!matches.empty()) {
        const auto next = std::upper_bound(matches.begin(), matches.end(), FHot);
        SetHot(next == matches.end() ? matches.front() : *next);
    }
}

QImage TSkinPopupMenu::RenderImage() {
    QImage bitmap;
    if (width() > 0 && height() > 0) PaintTo(bitmap);
    return bitmap;
}

void TSkinPopupMenu::paintEvent(QPaintEvent*) {
    PaintTo(FPaintBuffer);
    if (FPaintBuffer.isNull()) return;
    QPainter p(this);
    p.drawImage(0, 0, FPaintBuffer);
}

void TSkinPopupMenu::PaintTo(QImage& bitmap) {
    if (width() <= 0 || height() <= 0 || !skin::PaintSizeAllowed(size())) {
        bitmap = QImage();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    if (LogicalSize(bitmap) != size() || bitmap.devicePixelRatio() != ratio ||
        bitmap.format() != QImage::Format_ARGB32_Premultiplied)
        bitmap = DeviceImage(size(), ratio, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull()) return;
    bitmap.fill(clWindow());
    const TLook look = CurrentLook();
    QPainter p(&bitmap);
    if (look.Window) {
        skin::DrawSkinImage(p, {0, 0}, look.Window, look.WindowGeometry.SkinRect, look.WindowGeometry,
                            look.WindowSliceMode, size(), true, look.Stretch);
    } else {
        p.setPen(clBtnShadow());
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    p.setFont(ItemFont(look));
    for (int i = 0; i < int(FItems.size()) && i < int(FItemRects.size()); ++i) PaintItem(p, look, i);
}

void TSkinPopupMenu::PaintItem(QPainter& p, const TLook& look, int index) {
    const TSkinMenuItem& item = FItems[std::size_t(index)];
    const QRect r = FItemRects[std::size_t(index)];
    const skin::TDataSkinMenuItem* d = look.Item;
    if (item.Separator) {
        if (d && !look.Divider.IsEmpty()) {
            const int left = r.left() + Offset(d->dividerleftoffset);
            const int width = r.width() - Offset(d->dividerleftoffset) - Offset(d->dividerrightoffset);
            const TSkinGeometry g = DividerGeometry(look.Divider);
            skin::DrawSkinImage(p, {left, r.top()}, look.ItemPicture, look.Divider, g, SliceModeOf(g),
                                {width, r.height()});
        } else {
            // A sunken line: shadow above highlight.
            const int y = r.top() + r.height() / 2 - 1;
            p.fillRect(QRect(r.left() + 4, y, r.width() - 8, 1), clBtnShadow());
            p.fillRect(QRect(r.left() + 4, y + 1, r.width() - 8, 1), clBtnHighlight());
        }
        return;
    }
    const bool hot = index == FHot;
    QRect text = r.adjusted(kPlainTextMargin, 0, -kPlainTextMargin, 0);
    QColor color = !item.Enabled ? clGrayText() : (hot ? PaletteColor(QPalette::HighlightedText) : clWindowText());
    if (d) {
        const skin::TRect source = hot ? look.Active : look.Normal;
        const TSkinGeometry g = ItemGeometry(source, look.Text);
        const QPoint at(r.left() + Offset(d->itemleftoffset), r.top());
        const QSize size(r.width() - Offset(d->itemleftoffset) - Offset(d->itemrightoffset), r.height());
        const int mode = SliceModeOf(g);
        skin::DrawSkinImage(p, at, look.ItemPicture, source, g, mode, size);
        text = skin::TranslateSkinRect(g, mode, size, look.Text).ToQRect().translated(at);
        color = skin::SkinColor(!item.Enabled ? d->unenabledfontcolor : (hot ? d->activefontcolor : d->fontcolor));
    } else if (hot) {
        p.fillRect(r, PaletteColor(QPalette::Highlight));
    }
    p.setPen(color);
    p.drawText(text, kTextFlags, item.Caption);
    if (index == FChecked) {
        // The radio mark: a dot in the text colour, centred in the room left of the caption.
        const int room = std::max(0, text.left() - r.left());
        const int dot = std::clamp(room / 2, 4, 7);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QRectF(r.left() + (room - dot) / 2.0, r.top() + (r.height() - dot) / 2.0, dot, dot));
        p.restore();
    }
}

}  // namespace dorvanel::skinctrls
