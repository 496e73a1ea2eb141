#pragma once
// The base of the client's components: status reports and the work events through which a transfer tells
// the program how far it has come (the program moves its gauge and may abort from them).
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace dorvanel::http {

enum class TNetStatus { hsResolving, hsConnecting, hsConnected, hsDisconnecting, hsDisconnected, hsStatusText };
enum class TWorkMode { wmRead, wmWrite };

class TNetComponent;
class TNetStack;

using TNetStatusEvent = std::function<void(TNetComponent& ASender, TNetStatus AStatus, const std::string& AStatusText)>;
using TWorkBeginEvent = std::function<void(TNetComponent& Sender, TWorkMode AWorkMode, int64_t AWorkCountMax)>;
using TWorkEvent = std::function<void(TNetComponent& Sender, TWorkMode AWorkMode, int64_t AWorkCount)>;
using TWorkEndEvent = std::function<void(TNetComponent& Sender, TWorkMode AWorkMode)>;

class TNetComponent {
public:
    TNetComponent();
    virtual ~TNetComponent();
    TNetComponent(const TNetComponent&) = delete;
    TNetComponent& operator=(const TNetComponent&) = delete;

    TNetStatusEvent OnStatus;
    TWorkBeginEvent OnWorkBegin;
    TWorkEvent OnWork;
    TWorkEndEvent OnWorkEnd;

    // Fires OnStatus with the status text; `argument` fills the "%s" of the texts that have one.
    void ReportStatus(TNetStatus status, const std::string& argument = {});
    static std::string StatusText(TNetStatus status, const std::string& argument);

    // A work cycle: StartWork/FinishWork nest, and only the outermost pair fires OnWorkBegin/OnWorkEnd.
    // ReportWork adds to the running total and fires OnWork with it (cumulative, never a delta).
    void StartWork(TWorkMode mode, int64_t max);
    void ReportWork(TWorkMode mode, int64_t count);
    void FinishWork(TWorkMode mode);

protected:
    TNetStack& Stack() { return stack_; }

private:
    TNetStack& stack_;
    struct WorkState {
        int nesting = 0;
        int64_t max = 0;
        int64_t total = 0;
    };
    std::array<WorkState, 2> work_{};
};

}  // namespace dorvanel::http
