#include "common/failure_report.h"

#include "common/exception.h"

#include <cstdio>
#include <utility>

namespace dorvanel::common {

namespace {

TFailureReport& Report() {
    static TFailureReport report;
    return report;
}

bool gReporting = false;

void WriteToStandardError(const std::string& message) { std::fprintf(stderr, "dorvanel: %s\n", message.c_str()); }

}  // namespace

TFailureReport SetFailureReport(TFailureReport report) { return std::exchange(Report(), std::move(report)); }

void ReportFailure(const std::string& message) {
    // A failure raised while its own report is on screen is only logged: the report is modal and would
    // otherwise stack up one window per event.
    if (gReporting || !Report()) {
        WriteToStandardError(message);
        return;
    }
    gReporting = true;
    try {
        Report()(message);
    } catch (...) {
        WriteToStandardError(message);
    }
    gReporting = false;
}

std::string FailureText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("The program met an internal fault: ") + e.what();
    } catch (...) {
        return "The program met an internal fault.";
    }
}

void RunGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (...) {
        ReportFailure(FailureText(std::current_exception()));
    }
}

}  // namespace dorvanel::common
