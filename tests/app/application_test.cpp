#include "app/application.h"

#include "common/exception.h"
#include "common/failure_report.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

QApplication* CreateTestApplication(int& argc, char** argv) {
    return new dorvanel::app::TDorvanelApplication(argc, argv);
}

namespace {

// An object whose event handler fails the way a command can.
class Failing : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw dorvanel::Exception("Cannot open file \"x\". Permission denied");
        if (e->type() == QEvent::User + 1) throw 42;
        return QObject::event(e);
    }
};

}  // namespace

using namespace dorvanel;

TEST(Application, UncaughtFailureEndsTheCommandAndIsReported) {
    auto* app = qobject_cast<dorvanel::app::TDorvanelApplication*>(qApp);
    ASSERT_NE(app, nullptr);
    QStringList reports;
    common::SetFailureReport([&](const std::string& m) { reports << QString::fromStdString(m); });
    Failing target;
    QEvent user(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &user));
    QEvent other(static_cast<QEvent::Type>(QEvent::User + 1));
    QCoreApplication::sendEvent(&target, &other);
    EXPECT_EQ(reports,
              (QStringList{"Cannot open file \"x\". Permission denied", "The program met an internal fault."}));

    // A failure inside the report itself does not recurse.
    common::SetFailureReport([&](const std::string& m) {
        reports << QString::fromStdString(m);
        QEvent again(QEvent::User);
        QCoreApplication::sendEvent(&target, &again);
    });
    reports.clear();
    QCoreApplication::sendEvent(&target, &user);
    EXPECT_EQ(reports.size(), 1);
    common::SetFailureReport(nullptr);
}
