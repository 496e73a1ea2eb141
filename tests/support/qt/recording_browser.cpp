#include "support/qt/recording_browser.h"

#include <QDeadlineTimer>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace dorvanel::test {

namespace {

namespace fs = std::filesystem;

constexpr const char* kVariables[] = {"XDG_CONFIG_HOME",     "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS",
                                      "XDG_CURRENT_DESKTOP", "DISPLAY",       "BROWSER"};
// A recorded start appears within a second or two; this only bounds a test that would otherwise wait forever.
constexpr int kWaitMs = 30000;

}  // namespace

TRecordingBrowser::TRecordingBrowser(const std::string& execOptions) {
    for (const char* name : kVariables) saved_[name] = {qEnvironmentVariableIsSet(name), qgetenv(name)};
    fs::create_directories(dir_.path() / "config");
    fs::create_directories(dir_.path() / "data/applications");
    fs::create_directories(dir_.path() / "system/applications");
    fs::create_directories(dir_.path() / "calls");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.file("config")));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir_.file("data")));
    qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(dir_.file("system")));
    qputenv("XDG_CONFIG_DIRS", QByteArray::fromStdString(dir_.file("system")));
    qunsetenv("XDG_CURRENT_DESKTOP");
    // xdg-open asks the desktop's defaults only when it believes a display is there; no window is opened.
    if (qgetenv("DISPLAY").isEmpty()) qputenv("DISPLAY", ":0");
    // Should xdg-open ever fall back to $BROWSER, it finds the recorder too rather than a real browser.
    qputenv("BROWSER", QByteArray::fromStdString(Script()));

    // Each start writes its arguments, each ended by a NUL byte, into a file of its own, made whole by a rename.
    writeFileBytes(Script(),
                   "#!/bin/sh\n"
                   "out=\"" +
                       dir_.file("calls") +
                       "/call-$$\"\n"
                       "printf '%s\\0' \"$@\" > \"$out.part\"\n"
                       "mv \"$out.part\" \"$out\"\n");
    fs::permissions(Script(), fs::perms::owner_all);
    // Unquoted: xdg-mime only names an entry whose program it can find, and it does not undo quoting.
    WriteEntry("recorder.desktop", Script() + " " + execOptions);
    SetDefault("recorder.desktop");
}

TRecordingBrowser::~TRecordingBrowser() {
    for (const auto& [name, value] : saved_) {
        if (value.first) qputenv(name.c_str(), value.second);
        else qunsetenv(name.c_str());
    }
}

void TRecordingBrowser::WriteEntry(const std::string& id, const std::string& exec, bool inSystemFolder) {
    writeFileBytes(dir_.file((inSystemFolder ? "system/applications/" : "data/applications/") + id),
                   "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + exec + "\n");
}

void TRecordingBrowser::SetDefault(const std::string& id) {
    std::string list = "[Default Applications]\n";
    if (!id.empty()) {
        for (const char* type : {"text/html", "x-scheme-handler/http", "x-scheme-handler/https"})
            list += std::string(type) + "=" + id + "\n";
    }
    writeFileBytes(dir_.file("config/mimeapps.list"), list);
}

std::vector<std::vector<std::string>> TRecordingBrowser::Calls() const {
    std::vector<std::vector<std::string>> calls;
    for (const auto& entry : fs::directory_iterator(dir_.path() / "calls")) {
        if (entry.path().extension() == ".part") continue;
        const std::string bytes = readFileBytes(entry.path().string());
        std::vector<std::string> args;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t end = bytes.find('\0', at);
            args.push_back(bytes.substr(at, end - at));
            at = end + 1;
        }
        calls.push_back(args);
    }
    return calls;
}

std::vector<std::vector<std::string>> TRecordingBrowser::WaitForCalls(std::size_t count) const {
    static_cast<void>(QTest::qWaitFor([&] { return Calls().size() >= count; }, kWaitMs));
    return Calls();
}

}  // namespace dorvanel::test
