// Markup cleaning and cutting on arbitrary pages, and the fast ReplaceUntilGone against a plain rescan.
// Input: the first two lines are the start and end markers, the rest is the page.
#include <algorithm>

#include "fuzz_input.h"
#include "harvest/markup/markup.h"

using namespace dorvanel::markup;

namespace {

// The rescan-from-the-start loop that ReplaceUntilGone must agree with; `newText` is shorter than `oldText`,
// so it ends.
std::string replaceByRescan(std::string text, const std::string& oldText, const std::string& newText) {
    for (size_t at = text.find(oldText); at != std::string::npos; at = text.find(oldText)) {
        text.replace(at, oldText.size(), newText);
    }
    return text;
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string all(reinterpret_cast<const char*>(data), size);
    const auto lines = dorvanel::fuzz::splitLines(data, size);
    const std::string start = lines.size() > 0 ? lines[0] : std::string();
    const std::string end = lines.size() > 1 ? lines[1] : std::string();

    const std::string cleaned = CleanMarkup(all);
    if (!cleaned.empty()) {
        dorvanel::fuzz::check(static_cast<unsigned char>(cleaned.front()) > 32);
        dorvanel::fuzz::check(static_cast<unsigned char>(cleaned.back()) > 32);
    }

    std::string buffer = all;
    for (int cut = 0; cut < 4; ++cut) {
        const size_t before = buffer.size();
        const std::string piece = CutBetween(buffer, start, end);
        dorvanel::fuzz::check(buffer.size() <= before);
        if (!piece.empty()) {
            dorvanel::fuzz::check(buffer.size() >= end.size());
            dorvanel::fuzz::check(std::equal(end.begin(), end.end(), buffer.begin(),
                                             [](char a, char b) { return upperAscii(a) == upperAscii(b); }));
        }
    }

    if (size >= 2 && size < 4096) {
        const size_t oldLength = 1 + data[0] % 4;
        const size_t newLength = data[1] % oldLength;
        if (size >= 2 + oldLength + newLength) {
            const std::string oldText = all.substr(2, oldLength);
            const std::string newText = all.substr(2 + oldLength, newLength);
            const std::string text = all.substr(2 + oldLength + newLength);
            dorvanel::fuzz::check(ReplaceUntilGone(text, oldText, newText) == replaceByRescan(text, oldText, newText));
        }
    }
    return 0;
}
