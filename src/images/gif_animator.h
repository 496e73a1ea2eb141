#pragma once
// The animated banner: shows a GIF picture frame by frame, driven by a TThreadTimer, composing each frame
// from the ones before it. Transparent pixels are left unpainted, so the parent shows through them.
#include <atomic>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>

#include "images/gif/frame_composer.h"
#include "images/gif/gif_image.h"
#include "images/image_control.h"
#include "images/thread_timer.h"

namespace dorvanel::images {

class TGIFAnimator : public TImageControl {
    Q_OBJECT
public:
    explicit TGIFAnimator(QWidget* parent = nullptr);
    ~TGIFAnimator() override;

    // The animator's own picture. Loading into it (or assigning to it) updates the control; with AsyncDrawing
    // on, load through the three calls below, which hold the animator's lock while the picture changes.
    gif::TGIFImage& Image() { return FImage; }
    void SetImage(const gif::TGIFImage& image);
    void LoadFromFile(const std::string& path);
    void LoadFromStream(std::istream& in);

    bool Animate() const { return FAnimate; }
    void SetAnimate(bool on);
    // Frames are composed on the timer's thread and the control is then repainted on the user-interface thread.
    bool AsyncDrawing() const { return FAsyncDrawing; }
    void SetAsyncDrawing(bool on);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);
    bool Center() const { return FCenter; }
    void SetCenter(bool on);
    bool Loop() const { return FLoop; }
    void SetLoop(bool on) { FLoop = on; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool on);
    bool Transparent() const { return FImage.Transparent(); }
    void SetTransparent(bool on);
    int FrameIndex() const;
    void SetFrameIndex(int index);

    std::function<void()> OnChange;
    std::function<void()> OnFrameChanged;
    std::function<void()> OnStart;
    std::function<void()> OnStop;

    TThreadTimer& Timer() { return *FTimer; }
    QSize sizeHint() const override;

protected:
    void Paint(QPainter& canvas) override;
    bool event(QEvent* event) override;

private:
    void ImageChanged();
    void FrameAdvance();
    void FrameAdvanceAsync();
    void AfterFrameChange();

    // The frame index, the picture and the composed-frame cache. Recursive: a load holds it while the
    // picture's change notice comes back into ImageChanged.
    mutable std::recursive_mutex FLock;
    gif::TGIFImage FImage;
    gif::TFrameComposer FComposer;
    int FFrameIndex = -1;
    bool FAnimate = false;
    std::atomic<bool> FAsyncDrawing{false};
    bool FAutoSize = true;
    bool FCenter = false;
    std::atomic<bool> FLoop{true};
    bool FStretch = false;
    std::atomic<bool> FCanAdvance{false};  // visible with a parent; read by the timer's thread
    std::unique_ptr<TThreadTimer> FTimer;
};

}  // namespace dorvanel::images
