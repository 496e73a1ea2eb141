#include "harvest/markup/markup.h"

#include <algorithm>
#include <cstring>

namespace dorvanel::markup {

namespace {

struct Replacement {
    std::string_view text;
    std::string_view by;
};

// The order matters: "&amp;" is resolved first (so "&amp;nbsp;" ends as a blank), and "<br>", "<BR>", "<p>"
// and "<P>" leave a blank where "<br />" and the closing tags leave nothing.
constexpr Replacement kCleanups[] = {
    {"&amp;", "&"},       {"&nbsp;", " "},  {"\t", " "},       {"<wbr>", ""},   {"&#039;", "'"}, {"Tel : ", ""},
    {"Fax : ", ""},       {"<strong>", ""}, {"</strong>", ""}, {"<em>", ""},    {"<hr>", ""},    {"<h3>", ""},
    {"</h3>", ""},        {"<H3>", ""},     {"</H3>", ""},     {"</em>", ""},   {"<u>", ""},     {"</u>", ""},
    {"</INVALID>", ""},   {"<br>", " "},    {"<BR>", " "},     {"<tr>", ""},    {"</tr>", ""},   {"<td>", ""},
    {"</td>", ""},        {"<table>", ""},  {"</table>", ""},  {"</font>", ""}, {"<b>", ""},     {"<i>", ""},
    {"<blockquote>", ""}, {"</p>", ""},     {"<p>", " "},      {"<P>", " "},    {"</P>", ""},    {"</b>", ""},
    {"</i>", ""},         {"</th>", ""},    {"<br />", ""},    {"</FONT>", ""}, {"</TD>", ""},   {"<TD>", ""},
    {"<B>", ""},          {"</B>", ""},     {"<TR>", ""},      {"</TR>", ""},   {"\"", ""},      {"\n", " "},
    {"\r", " "},
};
static_assert(std::size(kCleanups) == 49, "the cleaning list has 49 steps");

std::string replaceEachOnce(const std::string& text, std::string_view oldText, std::string_view newText) {
    std::string out;
    size_t from = 0;
    for (size_t at = text.find(oldText); at != std::string::npos; at = text.find(oldText, from)) {
        out.append(text, from, at - from);
        out.append(newText);
        from = at + oldText.size();
    }
    out.append(text, from, std::string::npos);
    return out;
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Position of the first occurrence of `marker` in `text` from `from` on, letters a to z without case.
size_t findIgnoringCase(std::string_view text, std::string_view marker, size_t from = 0) {
    if (marker.empty() || from > text.size()) return std::string_view::npos;
    const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), marker.begin(),
                                marker.end(), [](char a, char b) { return upperAscii(a) == upperAscii(b); });
    return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

}  // namespace

std::string ReplaceUntilGone(std::string text, std::string_view oldText, std::string_view newText) {
    const size_t m = oldText.size();
    if (m == 0 || text.find(oldText) == std::string::npos) return text;
    if (newText.find(oldText) != std::string_view::npos) return replaceEachOnce(text, oldText, newText);

    // Each replacement gives the same result as searching the whole text again from its start, without
    // doing so: the text is one buffer with a gap, [0, w) already final and free of `oldText`, [r, end) still
    // to read. The text put in by a replacement goes back in front of the unread part. A new occurrence can
    // only begin in the last m - 1 bytes of the final part, so only those are looked at again.
    std::string& buf = text;
    size_t w = 0;
    size_t r = 0;
    const auto putBack = [&](std::string_view piece) {
        if (r - w < piece.size()) {
            const size_t extra = piece.size() - (r - w);
            buf.insert(r, extra, '\0');
            r += extra;
        }
        r -= piece.size();
        std::memcpy(&buf[r], piece.data(), piece.size());
    };
    // How many bytes of the final part the earliest occurrence across the gap takes; 0 for none.
    const auto acrossGap = [&]() -> size_t {
        const size_t unread = buf.size() - r;
        for (size_t k = std::min(m - 1, w); k >= 1; --k) {
            if (unread >= m - k && std::memcmp(&buf[w - k], oldText.data(), k) == 0 &&
                std::memcmp(&buf[r], oldText.data() + k, m - k) == 0) {
                return k;
            }
        }
        return 0;
    };
    while (true) {
        if (const size_t k = acrossGap(); k > 0) {
            w -= k;
            r += m - k;
            putBack(newText);
            continue;
        }
        const size_t at = buf.find(oldText, r);
        const size_t upTo = at == std::string::npos ? buf.size() : at;
        if (w != r) std::memmove(&buf[w], &buf[r], upTo - r);
        w += upTo - r;
        r = upTo;
        if (at == std::string::npos) break;
        r += m;
        putBack(newText);
    }
    buf.resize(w);
    return text;
}

std::string CleanMarkup(std::string text) {
    for (const auto& step : kCleanups) text = ReplaceUntilGone(std::move(text), step.text, step.by);
    size_t b = 0;
    size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    return text.substr(b, e - b);
}

std::string CutBetween(std::string& buffer, std::string_view startMarker, std::string_view endMarker) {
    const size_t start = findIgnoringCase(buffer, startMarker);
    if (start == std::string::npos) return {};
    buffer.erase(0, start + startMarker.size());
    const size_t end = findIgnoringCase(buffer, endMarker);
    if (end == std::string::npos) return {};
    std::string piece = buffer.substr(0, end);
    buffer.erase(0, end);
    return piece;
}

}  // namespace dorvanel::markup
