#pragma once
// Small byte-string helpers every layer shares. Case folding and comparison are ASCII only: bytes above 127
// are left alone, the system code page decides what they mean.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvanel::common {

inline char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
// Equal without regard to the case of the letters a to z.
bool SameText(std::string_view a, std::string_view b);
bool StartsWithText(std::string_view text, std::string_view prefix);

// Trimming drops every byte with a code from 0 to 32 (blanks and control characters).
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
// Drops only white space (blank, tab, line ends, form feed, vertical tab), as configuration files are read.
std::string_view TrimWhiteSpace(std::string_view text);

// Reads the whole text as a decimal integer with an optional sign; false when it is not one or does not fit.
bool ReadInt64(std::string_view text, int64_t& value);
bool ReadInt32(std::string_view text, int32_t& value);
// The integer, or `fallback` when the text is not a decimal integer of 32 bits.
int32_t Int32Or(std::string_view text, int32_t fallback);

// A query value as a form sends it: ASCII letters, digits and "*-._" stay, a blank becomes "+", every other
// byte becomes "%XX" with upper-case hex. The bytes are taken as they are (a UTF-8 keyword gives the
// escapes of its UTF-8 bytes).
std::string FormEncode(std::string_view value);

// The lines of a list text: a line ends at CR, LF or CR LF, the text at its first zero byte; a last line
// without a line end counts, an empty text has no line.
void ForEachListLine(std::string_view bytes, const std::function<void(std::string_view)>& visit);
std::vector<std::string> SplitListLines(std::string_view bytes);

}  // namespace dorvanel::common
