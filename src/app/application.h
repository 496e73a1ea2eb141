#pragma once
// The application object. An exception that no handler of the program caught ends the command (the event
// handler) it arose in; its message is shown to the user and the program goes on running.
#include <QApplication>

#include <functional>

namespace dorvanel::app {

class TDorvanelApplication : public QApplication {
    Q_OBJECT
public:
    TDorvanelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Where the messages of uncaught failures go (the main window's message component); without one they
    // are written to the standard error stream.
    std::function<void(const QString&)> OnUnhandledError;

    // Reports a failure caught at the top of a command.
    void ReportUnhandled(const QString& message);

private:
    bool FReporting = false;
};

}  // namespace dorvanel::app
