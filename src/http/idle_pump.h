#pragma once
// The idle pump keeps the program's windows alive while a call of the client blocks the user-interface
// thread: every wait is cut into slices, and after a slice that brought nothing the pump lets the program
// process its pending messages. The client knows nothing of the toolkit; the program supplies the two
// message operations as hooks.
#include <chrono>
#include <functional>
#include <thread>

namespace dorvanel::http {

class TNetIdlePumpBase {
public:
    TNetIdlePumpBase();
    virtual ~TNetIdlePumpBase();
    TNetIdlePumpBase(const TNetIdlePumpBase&) = delete;
    TNetIdlePumpBase& operator=(const TNetIdlePumpBase&) = delete;

    bool Active = true;
    bool ApplicationHasPriority = true;
    int IdleTimeOut = 250;  // milliseconds
    bool OnlyWhenIdle = true;
    // The program's main thread: the pump applies only to calls made on it. The thread that creates the
    // pump, unless the program says otherwise.
    std::thread::id MainThread;

    // The clock the pump is timed by; tests put their own in.
    std::function<std::chrono::steady_clock::time_point()> Clock = [] { return std::chrono::steady_clock::now(); };

    // Runs PumpMessages when the pump applies and the call is idle (or OnlyWhenIdle is off, or `override`),
    // and also when IdleTimeOut ms have passed since the pump last ran: a peer that trickles a byte now and
    // then keeps every wait short, and must not keep the windows from being serviced (and Stop from being
    // pressed) for as long as it likes.
    void PumpIfDue(bool idle, bool override = false);
    virtual void PumpMessages() = 0;

    // The pump in force for the process, or none.
    static TNetIdlePumpBase* ActivePump();
    // An active pump exists, the caller runs on its main thread and the pump is switched on.
    static bool PumpApplies();

private:
    std::chrono::steady_clock::time_point lastPump_{};
};

class TNetIdlePump : public TNetIdlePumpBase {
public:
    // Process every pending message of the application (used when ApplicationHasPriority is set).
    std::function<void()> OnProcessMessages;
    // Handle one waiting message, when there is one.
    std::function<void()> OnHandleMessage;

    void PumpMessages() override;
};

}  // namespace dorvanel::http
