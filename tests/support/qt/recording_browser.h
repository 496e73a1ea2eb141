#pragma once
// A browser for tests that only records how it was started. It installs itself as the desktop's default for
// HTML pages and web addresses in a temporary XDG configuration (XDG_CONFIG_HOME, XDG_DATA_HOME and the
// system folders all pointed into a fresh folder) and puts the environment back when it goes.
#include <QByteArray>
#include <QString>

#include <map>
#include <string>
#include <vector>

#include "support/plain/temp_dir.h"

namespace dorvanel::test {

class TRecordingBrowser {
public:
    // The desktop entry is written with Exec=<script path> <execOptions>.
    explicit TRecordingBrowser(const std::string& execOptions = "-nohome %u");
    ~TRecordingBrowser();
    TRecordingBrowser(const TRecordingBrowser&) = delete;
    TRecordingBrowser& operator=(const TRecordingBrowser&) = delete;

    // The recording program itself.
    std::string Script() const { return dir_.file("browser.sh"); }
    // Writes a desktop entry with this Exec line (in XDG_DATA_HOME, or in the first system data folder).
    void WriteEntry(const std::string& id, const std::string& exec, bool inSystemFolder = false);
    // Makes `id` the default for text/html (and for http and https addresses); an empty id removes defaults.
    void SetDefault(const std::string& id);

    // Waits until at least `count` starts were recorded (or a generous time passed) and returns the argument
    // lists of all recorded starts, in no particular order.
    std::vector<std::vector<std::string>> WaitForCalls(std::size_t count) const;
    std::vector<std::vector<std::string>> Calls() const;

    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
    std::map<std::string, std::pair<bool, QByteArray>> saved_;  // variable -> (was set, value)
};

}  // namespace dorvanel::test
