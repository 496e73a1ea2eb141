#include "images/gif_animator.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>

namespace dorvanel::images {

namespace {

gif::TRGB WindowColour() {
    const QColor c = QApplication::palette().color(QPalette::Base);
    return gif::TRGB{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                     static_cast<std::uint8_t>(c.blue())};
}

}  // namespace

TGIFAnimator::TGIFAnimator(QWidget* parent) : TImageControl(parent), FTimer(std::make_unique<TThreadTimer>()) {
    FComposer.SetWindowColor(WindowColour());
    FTimer->SetEnabled(false);
    FTimer->SetInterval(0);
    FImage.OnChange = [this] { ImageChanged(); };
}

TGIFAnimator::~TGIFAnimator() {
    // The timer's thread may be inside a tick: it ends before anything it touches goes.
    FTimer.reset();
    FImage.OnChange = nullptr;
}

void TGIFAnimator::SetImage(const gif::TGIFImage& image) {
    std::lock_guard lock(FLock);
    FImage.Assign(image);
}

void TGIFAnimator::LoadFromFile(const std::string& path) {
    std::lock_guard lock(FLock);
    FImage.LoadFromFile(path);
}

void TGIFAnimator::LoadFromStream(std::istream& in) {
    std::lock_guard lock(FLock);
    FImage.LoadFromStream(in);
}

void TGIFAnimator::SetAnimate(bool on) {
    if (on == FAnimate) return;
    if (on) {
        FTimer->SetOnTimer([this] {
            if (FAsyncDrawing) {
                FrameAdvanceAsync();
            } else {
                FrameAdvance();
            }
        });
        FTimer->SetEnabled(true);
        FAnimate = FTimer->Enabled();
        if (OnStart) OnStart();
    } else {
        FTimer->SetEnabled(false);
        FTimer->SetOnTimer(nullptr);
        FAnimate = false;
        if (OnStop) OnStop();
        update();
    }
}

void TGIFAnimator::SetAsyncDrawing(bool on) {
    FAsyncDrawing = on;
    FTimer->SetSyncEvent(!on);
}

void TGIFAnimator::SetAutoSize(bool on) {
    FAutoSize = on;
    if (on && !FImage.Empty()) resize(FImage.Width(), FImage.Height());
    updateGeometry();
}

void TGIFAnimator::SetCenter(bool on) {
    FCenter = on;
    update();
}

void TGIFAnimator::SetStretch(bool on) {
    FStretch = on;
    update();
}

void TGIFAnimator::SetTransparent(bool on) {
    {
        std::lock_guard lock(FLock);
        FImage.SetTransparent(on);
        FComposer.Reset();
    }
    update();
}

int TGIFAnimator::FrameIndex() const {
    std::lock_guard lock(FLock);
    return FFrameIndex;
}

void TGIFAnimator::SetFrameIndex(int index) {
    {
        std::lock_guard lock(FLock);
        if (index == FFrameIndex || index < 0 || index >= FImage.FrameCount()) return;
        FFrameIndex = index;
        FTimer->SetInterval(gif::FrameDelay(FImage, FFrameIndex));
    }
    if (OnFrameChanged) OnFrameChanged();
    update();
}

QSize TGIFAnimator::sizeHint() const {
    if (FAutoSize && !FImage.Empty()) return QSize(FImage.Width(), FImage.Height());
    return TImageControl::sizeHint();
}

void TGIFAnimator::ImageChanged() {
    {
        std::lock_guard lock(FLock);
        FComposer.Reset();
        FFrameIndex = FImage.CurrentFrameIndex();
        FTimer->SetInterval(gif::FrameDelay(FImage, FFrameIndex));
    }
    if (FAutoSize && !FImage.Empty()) resize(FImage.Width(), FImage.Height());
    updateGeometry();
    update();
    if (OnChange) OnChange();
}

// One timer tick on the user-interface thread: the next frame, from the last back to the first.
void TGIFAnimator::FrameAdvance() {
    if (!isVisible() || !parentWidget()) return;
    {
        std::lock_guard lock(FLock);
        if (FImage.FrameCount() < 2) return;
        FFrameIndex = (FFrameIndex + 1) % FImage.FrameCount();
    }
    if (OnFrameChanged) OnFrameChanged();
    repaint();
    AfterFrameChange();
}

// One timer tick on the timer's thread: the frame is composed here; the repaint and the event follow on the
// user-interface thread.
void TGIFAnimator::FrameAdvanceAsync() {
    if (!FCanAdvance) return;
    {
        std::lock_guard lock(FLock);
        if (FImage.FrameCount() < 2) return;
        FFrameIndex = (FFrameIndex + 1) % FImage.FrameCount();
        if (FImage.Width() > 0 && FImage.Height() > 0) FComposer.ComposeFrameBitmap(FImage, FFrameIndex);
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (OnFrameChanged) OnFrameChanged();
            update();
        },
        Qt::QueuedConnection);
    AfterFrameChange();
}

void TGIFAnimator::AfterFrameChange() {
    int index;
    {
        std::lock_guard lock(FLock);
        index = FFrameIndex;
        FTimer->SetInterval(gif::FrameDelay(FImage, index));
    }
    if (!FLoop && index == 0) {
        if (FAsyncDrawing) {
            QMetaObject::invokeMethod(
                this, [this] { SetAnimate(false); }, Qt::QueuedConnection);
        } else {
            SetAnimate(false);
        }
    }
}

bool TGIFAnimator::event(QEvent* e) {
    switch (e->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            FCanAdvance = isVisible() && parentWidget() != nullptr;
            break;
        case QEvent::ApplicationPaletteChange: {
            std::lock_guard lock(FLock);
            FComposer.SetWindowColor(WindowColour());
            break;
        }
        default:
            break;
    }
    return TImageControl::event(e);
}

// The control's colour under an opaque picture; nothing under a transparent or empty one, where the parent
// shows. Then the composed frame: stretched over the control, centred, or at the top left.
void TGIFAnimator::Paint(QPainter& canvas) {
    std::lock_guard lock(FLock);
    if (!FImage.Empty() && !FImage.IsTransparent()) canvas.fillRect(rect(), Color());
    if (FImage.Empty() || FImage.Width() < 1 || FImage.Height() < 1 || FFrameIndex < 0) return;

    const gif::TComposedBitmap& bmp = FComposer.ComposeFrameBitmap(FImage, FFrameIndex);
    const QImage frame(reinterpret_cast<const uchar*>(bmp.Pixels.data()), bmp.Width, bmp.Height,
                       static_cast<qsizetype>(bmp.Width) * 4, QImage::Format_ARGB32);
    QRect dest(0, 0, bmp.Width, bmp.Height);
    if (FStretch) {
        dest = rect();
    } else if (FCenter) {
        dest.moveTo((width() - bmp.Width) / 2, (height() - bmp.Height) / 2);
    }
    const bool seeThrough = FComposer.TransparentColor() && FImage.Transparent();
    canvas.setCompositionMode(seeThrough ? QPainter::CompositionMode_SourceOver : QPainter::CompositionMode_Source);
    canvas.drawImage(dest, frame);
}

}  // namespace dorvanel::images
