#pragma once
// Splits a fuzzer's input into the pieces a target needs: lines at LF, a trailing CR dropped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dorvanel::fuzz {

inline std::vector<std::string> splitLines(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            if (!current.empty() && current.back() == '\r') current.pop_back();
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

// Stops the run when a property the code promises does not hold.
inline void check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace dorvanel::fuzz
