// main() of every widget test program: one QApplication for the whole run (offscreen unless told otherwise).
// A test program that needs the program's own application class defines CreateTestApplication.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

QApplication* CreateTestApplication(int& argc, char** argv) __attribute__((weak));

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program reads the user's configuration folder and keeps its table in the user's state folder:
    // tests get folders of their own, never the home folder of whoever runs them.
    QTemporaryDir userFolders;
    qputenv("XDG_CONFIG_HOME", (userFolders.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", (userFolders.path() + QStringLiteral("/state")).toLocal8Bit());
    QApplication* app = CreateTestApplication ? CreateTestApplication(argc, argv) : new QApplication(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    delete app;
    return result;
}
