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

TGIFAnimator::TGIFAnimator(QWidget* parent) : TImageControl(parent), timer_(std::make_unique<TThreadTimer>()) {
    composer_.SetWindowColor(WindowColour());
    timer_->SetEnabled(false);
    timer_->SetInterval(0);
    image_.OnChange = [this] { ImageChanged(); };
}

TGIFAnimator::~TGIFAnimator() {
    // The timer's thread may be inside a tick: it ends before anything it touches goes.
    timer_.reset();
    image_.OnChange = nullptr;
}

void TGIFAnimator::SetImage(const gif::TGIFImage& image) {
    std::lock_guard lock(lock_);
    image_.Assign(image);
}

void TGIFAnimator::LoadFromFile(const std::string& path) {
    std::lock_guard lock(lock_);
    image_.LoadFromFile(path);
}

void TGIFAnimator::LoadFromStream(std::istream& in) {
    std::lock_guard lock(lock_);
    image_.LoadFromStream(in);
}

void TGIFAnimator::SetAnimate(bool on) {
    if (on == animate_) return;
    if (on) {
        timer_->SetOnTimer([this] {
            if (asyncDrawing_) {
                FrameAdvanceAsync();
            } else {
                FrameAdvance();
            }
        });
        timer_->SetEnabled(true);
        animate_ = timer_->Enabled();
        if (OnStart) OnStart();
    } else {
        timer_->SetEnabled(false);
        timer_->SetOnTimer(nullptr);
        animate_ = false;
        if (OnStop) OnStop();
        update();
    }
}

void TGIFAnimator::SetAsyncDrawing(bool on) {
    asyncDrawing_ = on;
    timer_->SetSyncEvent(!on);
}

void TGIFAnimator::SetAutoSize(bool on) {
    autoSize_ = on;
    if (on && !image_.Empty()) resize(image_.Width(), image_.Height());
    updateGeometry();
}

void TGIFAnimator::SetCenter(bool on) {
    center_ = on;
    update();
}

void TGIFAnimator::SetStretch(bool on) {
    stretch_ = on;
    update();
}

void TGIFAnimator::SetTransparent(bool on) {
    {
        std::lock_guard lock(lock_);
        image_.SetTransparent(on);
        composer_.Reset();
    }
    update();
}

int TGIFAnimator::FrameIndex() const {
    std::lock_guard lock(lock_);
    return frameIndex_;
}

void TGIFAnimator::SetFrameIndex(int index) {
    {
        std::lock_guard lock(lock_);
        if (index == frameIndex_ || index < 0 || index >= image_.FrameCount()) return;
        frameIndex_ = index;
        timer_->SetInterval(gif::FrameDelay(image_, frameIndex_));
    }
    if (OnFrameChanged) OnFrameChanged();
    update();
}

QSize TGIFAnimator::sizeHint() const {
    if (autoSize_ && !image_.Empty()) return QSize(image_.Width(), image_.Height());
    return TImageControl::sizeHint();
}

void TGIFAnimator::ImageChanged() {
    {
        std::lock_guard lock(lock_);
        composer_.Reset();
        frameIndex_ = image_.CurrentFrameIndex();
        timer_->SetInterval(gif::FrameDelay(image_, frameIndex_));
    }
    if (autoSize_ && !image_.Empty()) resize(image_.Width(), image_.Height());
    updateGeometry();
    update();
    if (OnChange) OnChange();
}

// One timer tick on the user-interface thread: the next frame, from the last back to the first.
void TGIFAnimator::FrameAdvance() {
    if (!isVisible() || !parentWidget()) return;
    {
        std::lock_guard lock(lock_);
        if (image_.FrameCount() < 2) return;
        frameIndex_ = (frameIndex_ + 1) % image_.FrameCount();
    }
    if (OnFrameChanged) OnFrameChanged();
    repaint();
    AfterFrameChange();
}

// One timer tick on the timer's thread: the frame is composed here; the repaint and the event follow on the
// user-interface thread.
void TGIFAnimator::FrameAdvanceAsync() {
    if (!canAdvance_) return;
    {
        std::lock_guard lock(lock_);
        if (image_.FrameCount() < 2) return;
        frameIndex_ = (frameIndex_ + 1) % image_.FrameCount();
        if (image_.Width() > 0 && image_.Height() > 0) composer_.ComposeFrameBitmap(image_, frameIndex_);
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
        std::lock_guard lock(lock_);
        index = frameIndex_;
        timer_->SetInterval(gif::FrameDelay(image_, index));
    }
    if (!loop_ && index == 0) {
        if (asyncDrawing_) {
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
            canAdvance_ = isVisible() && parentWidget() != nullptr;
            break;
        case QEvent::ApplicationPaletteChange: {
            std::lock_guard lock(lock_);
            composer_.SetWindowColor(WindowColour());
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
    std::lock_guard lock(lock_);
    if (!image_.Empty() && !image_.IsTransparent()) canvas.fillRect(rect(), Color());
    if (image_.Empty() || image_.Width() < 1 || image_.Height() < 1 || frameIndex_ < 0) return;

    const gif::TComposedBitmap& bmp = composer_.ComposeFrameBitmap(image_, frameIndex_);
    const QImage frame(reinterpret_cast<const uchar*>(bmp.Pixels.data()), bmp.Width, bmp.Height,
                       static_cast<qsizetype>(bmp.Width) * 4, QImage::Format_ARGB32);
    QRect dest(0, 0, bmp.Width, bmp.Height);
    if (stretch_) {
        dest = rect();
    } else if (center_) {
        dest.moveTo((width() - bmp.Width) / 2, (height() - bmp.Height) / 2);
    }
    const bool seeThrough = composer_.TransparentColor() && image_.Transparent();
    canvas.setCompositionMode(seeThrough ? QPainter::CompositionMode_SourceOver : QPainter::CompositionMode_Source);
    canvas.drawImage(dest, frame);
}

}  // namespace dorvanel::images
