#include "app/application.h"

#include <cstdio>
#include <exception>

namespace dorvanel::app {

TDorvanelApplication::TDorvanelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TDorvanelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ReportUnhandled(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ReportUnhandled(QStringLiteral("An unexpected error occurred."));
    }
    return false;
}

void TDorvanelApplication::ReportUnhandled(const QString& message) {
    // A failure raised while its own report is on screen is only logged: the report is modal and would
    // otherwise stack up one window per event.
    if (FReporting || !OnUnhandledError) {
        std::fprintf(stderr, "dorvanel: %s\n", message.toLocal8Bit().constData());
        return;
    }
    FReporting = true;
    try {
        OnUnhandledError(message);
    } catch (...) {
        std::fprintf(stderr, "dorvanel: %s\n", message.toLocal8Bit().constData());
    }
    FReporting = false;
}

}  // namespace dorvanel::app
