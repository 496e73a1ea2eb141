// The browser for HTML pages and the default handler: found through the desktop's defaults in a temporary
// XDG configuration, started with the address as its one argument and never through a shell.
#include "platform/browser.h"

#include "support/plain/temp_dir.h"
#include "support/qt/recording_browser.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace dorvanel::platform {
namespace {

using test::TRecordingBrowser;
using Args = std::vector<std::string>;

TEST(ExecProgram, FirstFieldWithoutOptionsOrFieldCodes) {
    const struct {
        const char* exec;
        const char* program;
    } cases[] = {
        {"firefox %u", "firefox"},
        {"  /usr/bin/chromium --new-window %U", "/usr/bin/chromium"},
        {"\"/opt/My Browser/run\" -nohome %u", "/opt/My Browser/run"},
        {"\"/opt/a\\\"b\\\\c\\$d\" %u", "/opt/a\"b\\c$d"},
        {"\"/opt/unclosed %u", ""},
        {"%u", ""},
        {"", ""},
        {"   ", ""},
        {"\"\" %u", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ExecProgram(c.exec), c.program) << c.exec;
}

TEST(DesktopEntry, ExecComesFromTheDesktopEntryGroupOnly) {
    test::TempDir dir;
    const std::string path = dir.file("a.desktop");
    test::writeFileBytes(path,
                         "[Desktop Action new]\nExec=wrong %u\n[Desktop Entry]\nName=A\nExecutable=no\n"
                         "Exec = right --x %u\n[Other]\nExec=later\n");
    EXPECT_EQ(DesktopEntryExec(QString::fromStdString(path)), "right --x %u");
    EXPECT_EQ(DesktopEntryExec(QString::fromStdString(dir.file("missing.desktop"))), "");
}

TEST(DesktopEntry, FoundInTheDataFoldersInOrder) {
    TRecordingBrowser browser;
    browser.WriteEntry("both.desktop", "home", false);
    browser.WriteEntry("both.desktop", "system", true);
    browser.WriteEntry("only-system.desktop", "system", true);
    std::filesystem::create_directories(browser.Dir().path() / "system/applications/vendor");
    test::writeFileBytes(browser.Dir().file("system/applications/vendor/app.desktop"), "[Desktop Entry]\nExec=v\n");
    EXPECT_EQ(DesktopEntryExec(FindDesktopEntry("both.desktop")), "home");
    EXPECT_EQ(DesktopEntryExec(FindDesktopEntry("only-system.desktop")), "system");
    EXPECT_EQ(DesktopEntryExec(FindDesktopEntry("vendor-app.desktop")), "v");
    for (const char* bad : {"", "missing.desktop", "../applications/both.desktop", "..", "/etc/passwd"})
        EXPECT_TRUE(FindDesktopEntry(bad).isEmpty()) << bad;
}

TEST(OpenInBrowser, StartsTheProgramWithTheAddressAsItsOneArgument) {
    TRecordingBrowser browser("-nohome %u");
    ASSERT_EQ(HtmlBrowserProgram().toStdString(), browser.Script());
    EXPECT_TRUE(OpenInBrowser(QStringLiteral("http://127.0.0.1:8080/banner")));
    EXPECT_EQ(browser.WaitForCalls(1), (std::vector<Args>{{"http://127.0.0.1:8080/banner"}}));
}

TEST(OpenInBrowser, ShellCharactersArriveUnchangedAndRunNothing) {
    TRecordingBrowser browser;
    const std::string marker = browser.Dir().file("ran");
    const std::string url = "http://127.0.0.1/a b?x=\"1\";touch " + marker + "&y='$(touch " + marker + ")'`touch " +
                            marker + "`|>" + marker + " %u \\";
    EXPECT_TRUE(OpenInBrowser(QString::fromStdString(url)));
    EXPECT_EQ(browser.WaitForCalls(1), (std::vector<Args>{{url}}));
    EXPECT_FALSE(std::filesystem::exists(marker));
}

TEST(OpenInBrowser, NoBrowserStartsNothing) {
    TRecordingBrowser browser;
    const struct {
        const char* why;
        std::string defaultId;
        std::string exec;
    } cases[] = {
        {"no default for text/html", "", ""},
        {"default names a missing entry", "gone.desktop", ""},
        {"Exec holds only a field code", "codes.desktop", "%u"},
        {"no Exec line", "codes.desktop", ""},
    };
    for (const auto& c : cases) {
        if (c.defaultId == "codes.desktop") {
            if (c.exec.empty()) {
                test::writeFileBytes(browser.Dir().file("data/applications/codes.desktop"), "[Desktop Entry]\n");
            } else {
                browser.WriteEntry(c.defaultId, c.exec);
            }
        }
        browser.SetDefault(c.defaultId);
        EXPECT_TRUE(HtmlBrowserProgram().isEmpty()) << c.why;
        EXPECT_FALSE(OpenInBrowser(QStringLiteral("http://127.0.0.1/"))) << c.why;
    }
    EXPECT_TRUE(browser.Calls().empty());
}

TEST(OpenWithDefaultHandler, OpensTheAddressAndNothingForAnEmptyOne) {
    TRecordingBrowser browser("%u");
    EXPECT_FALSE(OpenWithDefaultHandler(QString()));
    const std::string url = "http://127.0.0.1:9/link?a=1;b=$(x)";
    EXPECT_TRUE(OpenWithDefaultHandler(QString::fromStdString(url)));
    EXPECT_EQ(browser.WaitForCalls(1), (std::vector<Args>{{url}}));
}

}  // namespace
}  // namespace dorvanel::platform
