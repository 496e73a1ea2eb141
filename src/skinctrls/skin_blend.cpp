#include "skinctrls/skin_blend.h"

#include <QTimer>

namespace dorvanel::skinctrls {

namespace {

class QtBlendTimer : public TBlendTimer {
public:
    QtBlendTimer() {
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            if (OnTick) OnTick();
        });
    }
    void Start(int intervalMs) override { FTimer.start(intervalMs); }
    void Stop() override { FTimer.stop(); }

private:
    QTimer FTimer;
};

}  // namespace

std::function<std::unique_ptr<TBlendTimer>()> TStateBlend::MakeTimer = [] {
    return std::unique_ptr<TBlendTimer>(new QtBlendTimer);
};

TStateBlend::TStateBlend(std::function<void()> repaint) : FRepaint(std::move(repaint)) {}

TStateBlend::~TStateBlend() = default;

void TStateBlend::Snap(bool active) {
    FTarget = active;
    if (FTimer) FTimer->Stop();
    FSpent = std::move(FTimer);
    const int step = active ? Steps : 0;
    if (step == FStep) return;
    FStep = step;
    if (FRepaint) FRepaint();
}

void TStateBlend::MoveTo(bool active, bool blending) {
    if (!blending) {
        Snap(active);
        return;
    }
    FTarget = active;
    if (FStep == (active ? Steps : 0)) {
        if (FTimer) FTimer->Stop();
        FSpent = std::move(FTimer);
        return;
    }
    if (FTimer) return;
    FSpent.reset();
    FTimer = MakeTimer();
    FTimer->OnTick = [this] { Tick(); };
    FTimer->Start(Interval);
}

void TStateBlend::Tick() {
    FStep += FTarget ? 1 : -1;
    if (FStep <= 0 || FStep >= Steps) {
        FStep = FStep <= 0 ? 0 : Steps;
        // Stopped at the end of the blend; the timer may be the caller, so it is freed later.
        if (FTimer) FTimer->Stop();
        FSpent = std::move(FTimer);
        if (FRepaint) FRepaint();
        return;
    }
    if (FRepaint) FRepaint();
}

}  // namespace dorvanel::skinctrls
