#pragma once
// The security image: the characters to type, drawn large with a small built-in bitmap font and a little
// noise, as a PNG file.
#include <string>
#include <string_view>

namespace dorvanel::standin {

// Letters a to z (drawn in upper case) and digits; any other character leaves an empty box. `scale` is the
// size of one font dot in pixels (1 to 16).
std::string CaptchaPng(std::string_view text, int scale = 5);

}  // namespace dorvanel::standin
