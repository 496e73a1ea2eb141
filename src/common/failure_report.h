#pragma once
// Where failures that no handler of the program caught are reported: the end of a command, a worker
// thread's failure handed to the user-interface thread. The program points the report at its message
// component; until then, and while a report is already on screen, it goes to the standard error stream.
#include <exception>
#include <functional>
#include <string>

namespace dorvanel::common {

using TFailureReport = std::function<void(const std::string& message)>;

// Installs the report (an empty function restores the standard error stream); returns the one before.
TFailureReport SetFailureReport(TFailureReport report);
void ReportFailure(const std::string& message);

// The text a caught exception is reported with: the program's own failures by their message, anything else
// as a fault of the program.
std::string FailureText(const std::exception_ptr& error);

// Runs one command: a failure it did not handle ends it there and is reported; nothing unwinds further.
void RunGuarded(const std::function<void()>& command);

}  // namespace dorvanel::common
