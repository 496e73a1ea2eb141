// main() of every widget test program: one QApplication for the whole run (offscreen unless told otherwise).
// A test program that needs the program's own application class defines CreateTestApplication.
#include <QApplication>
#include <gtest/gtest.h>

QApplication* CreateTestApplication(int& argc, char** argv) __attribute__((weak));

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication* app = CreateTestApplication ? CreateTestApplication(argc, argv) : new QApplication(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    delete app;
    return result;
}
