// Rows copied from the main window, read back from outside the program by xclip on a real X server: the
// clipboard offers plain text and text/csv, and both hold the rows a spreadsheet takes as six columns.
// Run through run_on_xvfb.sh.
#include "app/main_window.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

namespace dorvanel::app {
namespace {

// xclip's output for `target`, the program answering the clipboard requests meanwhile.
std::string Xclip(const QString& target) {
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                          QStringLiteral("clipboard"), QStringLiteral("-t"), target});
    QDeadlineTimer deadline(10000);
    while (!xclip.waitForFinished(1) && !deadline.hasExpired()) QCoreApplication::processEvents();
    return xclip.readAllStandardOutput().toStdString();
}

TEST(ClipboardX11, CopiedRowsReadBackByXclipInBothForms) {
    if (QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty()) GTEST_SKIP() << "xclip is not installed";
    TfrmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.AddTypedKeyword(QStringLiteral("golf clubs"));
    w.AddTypedKeyword(QStringLiteral("tennis"));
    w.Items().SetSubItem(1, 2, QStringLiteral("1,200"));
    w.Items().SetChecked(1, true);
    w.CopyRowsClick();
    const std::string targets = Xclip(QStringLiteral("TARGETS"));
    EXPECT_NE(targets.find("text/csv"), std::string::npos) << targets;
    EXPECT_NE(targets.find("UTF8_STRING"), std::string::npos) << targets;
    EXPECT_EQ(Xclip(QStringLiteral("UTF8_STRING")),
              "No\tKeywords\tSearches\tGoogle\tYahoo\tMsn\r\n2\ttennis\t\t1,200\t\t\r\n");
    EXPECT_EQ(Xclip(QStringLiteral("text/csv")),
              "\"No\",\"Keywords\",\"Searches\",\"Google\",\"Yahoo\",\"Msn\"\r\n\"2\",\"tennis\",\"\",\"1,200\",\"\","
              "\"\"\r\n");
}

}  // namespace
}  // namespace dorvanel::app
