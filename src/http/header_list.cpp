#include "http/header_list.h"

#include "http/net_text.h"

namespace dorvanel::http {

namespace {

bool isContinuation(const std::string& line) { return !line.empty() && (line[0] == ' ' || line[0] == '\t'); }

bool isWrapBreak(char c) { return c == ' ' || c == '\t' || c == ','; }

}  // namespace

std::string TNetHeaderList::Text() const {
    std::string out;
    for (const auto& line : Lines) out += line + "\r\n";
    return out;
}

std::string TNetHeaderList::nameSeparator() const {
    std::string sep = Separator;
    while (!sep.empty() && sep.back() == ' ') sep.pop_back();
    return sep.empty() ? std::string(":") : sep;
}

int TNetHeaderList::FindHeader(const std::string& name) const {
    const std::string sep = nameSeparator();
    for (size_t i = 0; i < Lines.size(); ++i) {
        const size_t end = Lines[i].find(sep);
        const std::string_view lineName = std::string_view(Lines[i]).substr(0, end == std::string::npos ? 0 : end);
        if (end != std::string::npos && SameText(lineName, name)) return static_cast<int>(i);
    }
    return -1;
}

std::string TNetHeaderList::NameAt(int index) const {
    if (index < 0 || index >= Count()) return {};
    const std::string& line = Lines[static_cast<size_t>(index)];
    const size_t end = line.find(nameSeparator());
    std::string name = end == std::string::npos ? std::string() : line.substr(0, end);
    return NameCaseSensitive ? name : UpperCase(name);
}

std::string TNetHeaderList::ValueAt(int index) const {
    if (index < 0 || index >= Count()) return {};
    const std::string& line = Lines[static_cast<size_t>(index)];
    const size_t end = line.find(nameSeparator());
    const size_t nameLength = end == std::string::npos ? 0 : end;
    const std::string_view first =
        nameLength + 1 < line.size() ? std::string_view(line).substr(nameLength + 1) : std::string_view();
    // Built by appending, so that a value of many continuation lines costs time in proportion to its length.
    std::string value = Trim(first);
    if (JoinContinuations) {
        for (size_t i = static_cast<size_t>(index) + 1; i < Lines.size() && isContinuation(Lines[i]); ++i) {
            const std::string piece = Trim(Lines[i]);
            if (piece.empty()) continue;
            value += ' ';
            value += piece;
        }
    }
    return Trim(value);
}

void TNetHeaderList::CollectValues(const std::string& name, std::vector<std::string>& destination) const {
    const std::string sep = nameSeparator();
    for (size_t i = 0; i < Lines.size(); ++i) {
        const size_t end = Lines[i].find(sep);
        if (end != std::string::npos && SameText(std::string_view(Lines[i]).substr(0, end), name)) {
            destination.push_back(ValueAt(static_cast<int>(i)));
        }
    }
}

int TNetHeaderList::continuationCount(int index) const {
    int n = 0;
    for (size_t i = static_cast<size_t>(index) + 1; i < Lines.size() && isContinuation(Lines[i]); ++i) ++n;
    return n;
}

void TNetHeaderList::SetHeaderValue(const std::string& name, const std::string& value) {
    const int index = FindHeader(name);
    const auto at = [this](int i) { return Lines.begin() + i; };
    if (value.empty()) {
        if (index >= 0) Lines.erase(at(index), at(index + 1 + continuationCount(index)));
        return;
    }
    const std::string line = name + Separator + value;
    if (!WrapOnSet) {
        if (index >= 0) {
            Lines[static_cast<size_t>(index)] = line;
        } else {
            Lines.push_back(line);
        }
        return;
    }
    const std::vector<std::string> pieces = WrapLine(line, WrapColumn);
    if (index >= 0) {
        Lines.erase(at(index), at(index + 1 + continuationCount(index)));
        Lines.insert(at(index), pieces.begin(), pieces.end());
    } else {
        Lines.insert(Lines.end(), pieces.begin(), pieces.end());
    }
}

std::vector<std::string> WrapLine(const std::string& line, int column) {
    // The folded text is built with CR LF space between pieces and cut at every CR LF at the end, so a
    // break the line already had is kept as it was.
    std::string folded;
    const size_t n = line.size();
    size_t pieceStart = 0;  // first byte of the current piece in `line`
    size_t lastBreak = std::string::npos;
    bool quoted = false;
    long long col = 0;
    size_t pos = 0;
    while (pos < n) {
        const char c = line[pos];
        if (!quoted && c == '\r' && pos + 2 < n && line[pos + 1] == '\n' && line[pos + 2] == ' ') {
            folded.append(line, pieceStart, pos + 3 - pieceStart);
            pos += 3;
            pieceStart = pos;
            lastBreak = std::string::npos;
            col = 1;
            continue;
        }
        ++col;
        if (col > column && !quoted && lastBreak != std::string::npos && lastBreak > pieceStart) {
            // The piece ends with its last break character; the separators after it are dropped.
            folded.append(line, pieceStart, lastBreak + 1 - pieceStart);
            size_t next = lastBreak + 1;
            while (next < n && (isWrapBreak(line[next]) || line[next] == '\r' || line[next] == '\n')) ++next;
            if (n - next >= 2) folded += "\r\n ";
            pieceStart = next;
            pos = next;
            lastBreak = std::string::npos;
            col = 1;
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && isWrapBreak(c)) {
            lastBreak = pos;
        }
        ++pos;
    }
    folded.append(line, pieceStart, std::string::npos);

    std::vector<std::string> pieces;
    size_t start = 0;
    while (true) {
        const size_t crlf = folded.find("\r\n", start);
        std::string piece = folded.substr(start, crlf == std::string::npos ? std::string::npos : crlf - start);
        while (!piece.empty() && piece.back() == ' ') piece.pop_back();
        pieces.push_back(piece);
        if (crlf == std::string::npos) break;
        start = crlf + 2;
    }
    return pieces;
}

}  // namespace dorvanel::http
