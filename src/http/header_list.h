#pragma once
// An ordered list of raw header lines: duplicates allowed, names found without regard to case, continuation
// lines (starting with a space or a tab) joined to the line before them, long lines folded when set.
#include <string>
#include <vector>

namespace dorvanel::http {

class TNetHeaderList {
public:
    std::string Separator = ": ";
    bool NameCaseSensitive = false;
    bool JoinContinuations = true;
    bool WrapOnSet = true;
    int WrapColumn = 78;

    // The raw lines, in order.
    std::vector<std::string> Lines;

    int Count() const { return static_cast<int>(Lines.size()); }
    void Clear() { Lines.clear(); }
    void Add(const std::string& line) { Lines.push_back(line); }
    // The lines joined by CR LF, each followed by one.
    std::string Text() const;

    int FindHeader(const std::string& name) const;
    std::string NameAt(int index) const;
    std::string ValueAt(int index) const;
    std::string ValueOf(const std::string& name) const { return ValueAt(FindHeader(name)); }
    void CollectValues(const std::string& name, std::vector<std::string>& destination) const;
    void SetHeaderValue(const std::string& name, const std::string& value);

private:
    // The separator without its trailing blanks: names end where it begins.
    std::string nameSeparator() const;
    // Number of continuation lines directly after `index`.
    int continuationCount(int index) const;
};

// Word-wraps one header line at `column` and returns its pieces; every piece after the first starts with one
// space. A quoted run is never broken, and a piece without a break opportunity stays longer than `column`.
std::vector<std::string> WrapLine(const std::string& line, int column);

}  // namespace dorvanel::http
