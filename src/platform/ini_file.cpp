#include "platform/ini_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace dorvanel::platform {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

TIniFile::TIniFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    std::ostringstream text;
    text << in.rdbuf();
    *this = FromText(text.str());
}

TIniFile TIniFile::FromText(std::string_view text) {
    TIniFile ini;
    std::string section;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            section = std::string(Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1)));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                                  (value.front() == '\'' && value.back() == '\'')))
            value = value.substr(1, value.size() - 2);
        if (value.size() > kMaxValueLength) value = value.substr(0, kMaxValueLength);
        ini.FEntries.push_back({section, std::string(Trim(line.substr(0, eq))), std::string(value)});
    }
    return ini;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, const std::string& defaultValue) const {
    for (const Entry& e : FEntries)
        if (SameText(e.Section, section) && SameText(e.Key, key)) return e.Value;
    return defaultValue;
}

}  // namespace dorvanel::platform
