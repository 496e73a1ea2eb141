#pragma once
// Reading a private-profile (INI) file: "[Section]" lines and "Key=Value" lines. Sections and keys are found
// without regard to letter case; blanks around names and values are dropped, as is one pair of quotes
// around a value; a value is cut at 2047 characters. A missing file reads as empty.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dorvanel::common {

class TIniFile {
public:
    TIniFile() = default;
    explicit TIniFile(const std::string& path);

    // Parses INI text (for files already in memory).
    static TIniFile FromText(std::string_view text);

    // The value of the key in the section, or the default when either is missing.
    std::string ReadString(std::string_view section, std::string_view key, const std::string& defaultValue) const;

    static constexpr size_t kMaxValueLength = 2047;
    static constexpr uint64_t kMaxFileBytes = uint64_t{16} << 20;

private:
    struct Entry {
        std::string Section;
        std::string Key;
        std::string Value;
    };
    std::vector<Entry> entries_;
};

}  // namespace dorvanel::common
