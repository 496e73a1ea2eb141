#pragma once
// The state blend of a control whose description has "morphing": a position from 0 (normal image) to 1
// (active image) that a 20 ms timer moves by a fifth per tick toward the state the control is in. While
// it lies strictly between, the control shows both images blended by its "morphkind".
#include <functional>
#include <memory>

namespace dorvanel::skinctrls {

// The tick source of a blend; a QTimer in the program, a hand-driven one in tests.
class TBlendTimer {
public:
    virtual ~TBlendTimer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    std::function<void()> OnTick;
};

class TStateBlend {
public:
    static constexpr int Interval = 20;  // milliseconds between ticks
    static constexpr int Steps = 5;      // ticks from one end to the other

    // repaint runs after every change of the position.
    explicit TStateBlend(std::function<void()> repaint);
    ~TStateBlend();

    // Moves toward the active image (active) or the normal one; without blending (no description, morphing
    // off) the position snaps to that end at once.
    void MoveTo(bool active, bool blending);
    // Puts the position at one end and stops the timer.
    void Snap(bool active);
    // One timer tick: a step toward the target, stopping the timer at the end.
    void Tick();

    double Position() const { return double(FStep) / Steps; }
    bool InProgress() const { return FStep > 0 && FStep < Steps; }
    bool Running() const { return FTimer != nullptr; }

    // Makes the timer of every blend; tests replace it to drive the ticks themselves.
    static std::function<std::unique_ptr<TBlendTimer>()> MakeTimer;

private:
    std::function<void()> FRepaint;
    std::unique_ptr<TBlendTimer> FTimer;
    std::unique_ptr<TBlendTimer> FSpent;  // a stopped timer, kept until its tick has returned
    int FStep = 0;                        // integer steps, so that five ticks land exactly on an end
    bool FTarget = false;
};

}  // namespace dorvanel::skinctrls
