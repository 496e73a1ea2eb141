#include "app/application.h"

#include "common/failure_report.h"

namespace dorvanel::app {

TDorvanelApplication::TDorvanelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TDorvanelApplication::notify(QObject* receiver, QEvent* event) {
    // The last line of defence: commands guard themselves, so what arrives here is a fault met while Qt
    // delivered an event (painting, say). It is reported like a command's failure.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        common::ReportFailure(common::FailureText(std::current_exception()));
    }
    return false;
}

}  // namespace dorvanel::app
