#pragma once
// The text operations the harvests use on fetched pages: they do not parse HTML, they cut the text between
// fixed markers and clean the pieces with a fixed list of replacements. Byte strings throughout.
#include <string>
#include <string_view>

namespace dorvanel::markup {

// Replaces the first occurrence of `oldText` (case counts) by `newText` until none is left, so a replacement
// that joins characters into a new occurrence is replaced too: "&amp;amp;" with "&amp;" -> "&" gives "&".
// An empty `oldText` is never found. When `newText` contains `oldText`, every occurrence is replaced once,
// left to right.
std::string ReplaceUntilGone(std::string text, std::string_view oldText, std::string_view newText);

// Applies the fixed list of tag and entity replacements in order, then drops the bytes with codes 0 to 32 at
// both ends.
std::string CleanMarkup(std::string text);

// Finds `startMarker` in `buffer` (letters a to z compared without case) and drops it and everything before it;
// then returns the text up to `endMarker`, which stays at the front of the buffer for the next cut. An absent
// start marker leaves the buffer as it was; an absent end marker leaves it just after the start marker. Both
// give an empty piece.
std::string CutBetween(std::string& buffer, std::string_view startMarker, std::string_view endMarker);

}  // namespace dorvanel::markup
