#include "common/ini_file.h"

#include "common/files.h"
#include "common/text.h"

#include <algorithm>

namespace dorvanel::common {

TIniFile::TIniFile(const std::string& path) {
    // A missing or unreadable file reads as empty; so does one that is no regular file (a FIFO would block)
    // or is far larger than any configuration.
    try {
        *this = FromText(ReadWholeFile(path, kMaxFileBytes));
    } catch (const EFileError&) {}
}

TIniFile TIniFile::FromText(std::string_view text) {
    TIniFile ini;
    std::string section;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = TrimWhiteSpace(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            section = std::string(
                TrimWhiteSpace(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1)));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view value = TrimWhiteSpace(line.substr(eq + 1));
        if (value.size() >= 2 &&
            ((value.front() == '"' && value.back() == '"') || (value.front() == '\'' && value.back() == '\'')))
            value = value.substr(1, value.size() - 2);
        if (value.size() > kMaxValueLength) value = value.substr(0, kMaxValueLength);
        ini.entries_.push_back({section, std::string(TrimWhiteSpace(line.substr(0, eq))), std::string(value)});
    }
    return ini;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& defaultValue) const {
    for (const Entry& e : entries_)
        if (SameText(e.Section, section) && SameText(e.Key, key)) return e.Value;
    return defaultValue;
}

}  // namespace dorvanel::common
