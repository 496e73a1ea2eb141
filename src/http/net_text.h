#pragma once
// Small byte-string helpers the HTTP client's units share: ASCII case folding, trimming of blanks and control
// characters, and strict decimal reading. Bytes above 127 are left alone (the system code page decides them).
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace dorvanel::http {

inline char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
bool StartsWithText(std::string_view text, std::string_view prefix);  // ignoring case

// Trimming drops every byte with a code from 0 to 32.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Reads the whole text as a decimal integer with an optional sign; false when it is not one or does not fit.
bool ReadInt64(std::string_view text, int64_t& value);
bool ReadInt32(std::string_view text, int32_t& value);

// The integer, or `fallback` when the text is not a decimal integer of 32 bits.
int32_t Int32Or(std::string_view text, int32_t fallback);

}  // namespace dorvanel::http
