#pragma once
// The application object. An exception that reached it while an event was delivered ends that event's
// handling; its message is reported to the user and the program goes on running.
#include <QApplication>

namespace dorvanel::app {

class TDorvanelApplication : public QApplication {
    Q_OBJECT
public:
    TDorvanelApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace dorvanel::app
