#include "standin/pages.h"

#include <algorithm>
#include <array>

namespace dorvanel::standin {

namespace {

// FNV-1a over the lower-cased text, so "Golf Clubs" and "golf clubs" get the same answers.
std::uint64_t hashText(std::string_view text, std::uint64_t salt = 0) {
    std::uint64_t h = 14695981039346656037ull ^ salt;
    for (unsigned char c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        h = (h ^ c) * 1099511628211ull;
    }
    return h;
}

// splitmix64: small, fast and the same everywhere, which is all the pages need.
class Sequence {
public:
    explicit Sequence(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint64_t below(std::uint64_t bound) { return next() % bound; }

private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 10> kPrefixes = {
    "best", "cheap", "used", "discount", "women's", "mens", "kids", "custom", "new", "buy",
};
constexpr std::array<std::string_view, 24> kSuffixes = {
    "reviews", "for sale",  "online",   "sets",  "prices", "deals",      "store",         "& accessories",
    "ratings", "brands",    "outlet",   "parts", "guide",  "shop",       "wholesale",     "lessons",
    "tips",    "clearance", "pictures", "specs", "repair", "comparison", "for beginners", "catalog",
};

constexpr std::string_view kSuggestTail = "&amp;adult_filter=remove_offensive&amp;suggest=Hit+Me";

// The count cell, dressed in one of the ways the real table varied; CleanMarkup gives back `count`.
std::string dressCount(const std::string& count, std::uint64_t variant) {
    switch (variant % 5) {
        case 1:
            return " " + count + " ";
        case 2:
            return "<b>" + count + "</b>";
        case 3:
            return "&nbsp;" + count;
        case 4:
            return "\r\n  " + count + "\r\n";
        default:
            return count;
    }
}

// The link text, dressed likewise: entities always (the keyword may hold "&" or "'"), and now and then
// "&nbsp;" for the blanks, a bold first word or a "<wbr>" break opportunity.
std::string dressKeyword(const std::string& keyword, std::uint64_t variant) {
    std::string escaped;
    for (char c : keyword) {
        if (c == '&') escaped += "&amp;";
        else if (c == '\'') escaped += "&#039;";
        else if (c == '"') escaped += "&quot;";
        else if (c == '<') escaped += "&lt;";
        else if (c == '>') escaped += "&gt;";
        else escaped += c;
    }
    const size_t blank = escaped.find(' ');
    switch (variant % 4) {
        case 1: {
            std::string out;
            for (char c : escaped) out += (c == ' ') ? std::string("&nbsp;") : std::string(1, c);
            return out;
        }
        case 2:
            if (blank == std::string::npos) return "<strong>" + escaped + "</strong>";
            return "<b>" + escaped.substr(0, blank) + "</b>" + escaped.substr(blank);
        case 3:
            if (blank == std::string::npos) return escaped + "<wbr>";
            return escaped.substr(0, blank) + "<wbr>" + escaped.substr(blank);
        default:
            return escaped;
    }
}

constexpr std::string_view kPageHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n";

}  // namespace

std::string FormatThousands(std::uint64_t value) {
    std::string digits = std::to_string(value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string FormEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#039;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::vector<Suggestion> SuggestionsFor(std::string_view seed) {
    Sequence seq(hashText(seed, 0x5eed));
    const size_t n = 10 + seq.below(41);

    // Every prefix and suffix alone, then every pairing, shuffled by the seed.
    std::vector<std::string> candidates;
    const std::string base(seed);
    for (auto p : kPrefixes) candidates.push_back(std::string(p) + " " + base);
    for (auto s : kSuffixes) candidates.push_back(base + " " + std::string(s));
    for (auto p : kPrefixes)
        for (auto s : kSuffixes) candidates.push_back(std::string(p) + " " + base + " " + std::string(s));
    for (size_t i = candidates.size() - 1; i > 0; --i) std::swap(candidates[i], candidates[seq.below(i + 1)]);

    std::vector<Suggestion> rows;
    std::uint64_t count = 2000 + seq.below(400000);
    rows.push_back({base, FormatThousands(count)});
    for (size_t i = 0; rows.size() < n; ++i) {
        count = std::max<std::uint64_t>(1, count * (80 + seq.below(19)) / 100);
        rows.push_back({candidates[i], FormatThousands(count)});
    }
    return rows;
}

std::string SuggestionHomePage() {
    std::string page(kPageHead);
    page +=
        "<title>Free Keyword Suggestion Tool</title>\r\n</head>\r\n<body>\r\n"
        "<h1>Free Keyword Suggestion Tool</h1>\r\n"
        "<form action=\"/\" method=\"get\">\r\n"
        "<input type=\"text\" name=\"seed\" size=\"40\">\r\n"
        "<input type=\"hidden\" name=\"adult_filter\" value=\"remove_offensive\">\r\n"
        "<input type=\"submit\" name=\"suggest\" value=\"Hit Me\">\r\n"
        "</form>\r\n</body>\r\n</html>\r\n";
    return page;
}

std::string SuggestionPage(std::string_view seed) {
    const auto rows = SuggestionsFor(seed);
    const std::string shown = HtmlEscape(seed);
    std::string page(kPageHead);
    page += "<title>Keyword suggestions for " + shown + "</title>\r\n</head>\r\n<body>\r\n";
    page += "<h1>Free Keyword Suggestion Tool</h1>\r\n";
    page += "<p>Related keywords for <b>" + shown + "</b>, with the searches counted last month.</p>\r\n";
    page += "<table class=\"suggestions\" cellpadding=\"2\">\r\n";
    page += "<thead><tr><th>Searches</th><th>Keyword</th></tr></thead>\r\n";
    page += "<tfoot><tr><th colspan=\"2\">" + std::to_string(rows.size()) + " keywords</th></tr></tfoot>\r\n";
    page += "<tbody>\r\n";
    Sequence looks(hashText(seed, 0x100c));
    for (const auto& row : rows) {
        page += "<tr><td>" + dressCount(row.count, looks.next()) +
                "</td><td><a href=\"/?seed=" + FormEncode(row.keyword) + std::string(kSuggestTail) + "\">" +
                dressKeyword(row.keyword, looks.next()) + "</a></td></tr>\r\n";
    }
    page += "</tbody>\r\n</table>\r\n";
    page += "<p class=\"note\">Counts are estimates.</p>\r\n</body>\r\n</html>\r\n";
    return page;
}

std::string CaptchaPage(std::string_view random, std::string_view seed, std::string_view imageAddress) {
    std::string page(kPageHead);
    page += "<title>Free Keyword Suggestion Tool</title>\r\n</head>\r\n<body>\r\n";
    page += "<h1>Free Keyword Suggestion Tool</h1>\r\n";
    page += "<form action=\"/keyword-suggestion-tool.html\" method=\"get\">\r\n";
    page += "<p>Please enter the characters in the image below, so we know you are a person.</p>\r\n";
    page += "<input type=\"hidden\" name=\"random\" value=\"" + HtmlEscape(random) + "\">\r\n";
    page += "<input type=\"hidden\" name=\"seed\" value=\"" + HtmlEscape(seed) + "\">\r\n";
    page += "<img src=\"" + HtmlEscape(imageAddress) + "\" alt=\"security image\">\r\n";
    page += "<br>\r\n<input type=\"text\" name=\"password\" size=\"12\">\r\n";
    page += "<input type=\"submit\" value=\"Continue\">\r\n</form>\r\n</body>\r\n</html>\r\n";
    return page;
}

std::uint64_t ResultCountValue(Engine engine, std::string_view keyword, bool precise) {
    Sequence seq(hashText(keyword, 0xe9 + static_cast<std::uint64_t>(engine)));
    const std::uint64_t broad = 10000 + seq.below(250000000);
    const std::uint64_t divisor = 3 + seq.below(40);
    return precise ? broad / divisor : broad;
}

std::string ResultCount(Engine engine, std::string_view keyword, bool precise) {
    return FormatThousands(ResultCountValue(engine, keyword, precise));
}

std::string CountCellText(Engine engine, std::string_view keyword, bool precise) {
    std::string text = ResultCount(engine, keyword, precise);
    if (engine == Engine::Msn) text += " results";
    return text;
}

std::string EnginePage(Engine engine, std::string_view keyword, bool precise) {
    const std::string count = ResultCount(engine, keyword, precise);
    const std::string shown = HtmlEscape(precise ? "\"" + std::string(keyword) + "\"" : std::string(keyword));
    const std::string link = FormEncode(keyword);
    std::string page(kPageHead);
    // Ten plain results, so the page has a realistic size around the marker.
    std::string results;
    for (int i = 1; i <= 10; ++i) {
        const std::string n = std::to_string(i);
        results += "<div class=\"r\"><a href=\"http://www" + n + ".example/" + link + "\">" + shown + " - page " + n +
                   "</a><br>All about " + shown +
                   ": prices, reviews and the shops that sell it, compared side by side and updated daily. "
                   "Find what you need and read what others say before you buy.<br><cite>www" +
                   n + ".example/" + link + "</cite></div>\r\n";
    }
    switch (engine) {
        case Engine::Google:
            page += "<title>" + shown + " - Google Search</title>\r\n</head>\r\n<body>\r\n";
            page +=
                "<table width=100% border=0 cellpadding=0 cellspacing=0><tr><td nowrap>"
                "<font size=-1>Results <b>1</b> - <b>10</b> of about <b>" +
                count + "</b> for <b>" + shown + "</b>. (<b>0.21</b> seconds)</font></td></tr></table>\r\n";
            break;
        case Engine::Yahoo:
            page += "<title>" + shown + " - Yahoo! Search Results</title>\r\n</head>\r\n<body>\r\n";
            page += "<div id=\"info\"><p>1 - 10 of about <span id=\"infototal\">" + count + "</span> for <strong>" +
                    shown + "</strong></p></div>\r\n";
            break;
        case Engine::Msn:
            page += "<title>" + shown + " - Live Search</title>\r\n</head>\r\n<body>\r\n";
            page +=
                "<div id=\"results_area\"><h5><span id=\"count\">1-10 of " + count + " results</span></h5></div>\r\n";
            break;
    }
    page += results;
    page += "</body>\r\n</html>\r\n";
    return page;
}

std::string AffiliatePage(std::string_view affiliateId) {
    std::string page(kPageHead);
    page += "<title>Join our affiliate program</title>\r\n</head>\r\n<body>\r\n";
    page += "<h1>Earn money with keyword research</h1>\r\n";
    page += "<p>Sign up as an affiliate and earn a share of every sale you refer.</p>\r\n";
    page += "<p>Referred by affiliate: <b id=\"affiliate\">" + HtmlEscape(affiliateId) + "</b></p>\r\n";
    page += "</body>\r\n</html>\r\n";
    return page;
}

std::vector<std::string> CompletionsFor(std::string_view query) {
    static constexpr std::string_view kWords[] = {"reviews", "for sale", "near me", "cheap", "best",   "2026",
                                                  "used",    "set",      "brands",  "guide", "prices", "kids"};
    Sequence seq(hashText(query, 0xc0de));
    const std::string base(query);
    std::vector<std::string> out;
    for (int i = 0; i < 6; ++i) {
        const std::string candidate = base + " " + std::string(kWords[seq.below(std::size(kWords))]);
        if (std::find(out.begin(), out.end(), candidate) == out.end()) out.push_back(candidate);
    }
    const size_t firstBlank = base.find(' ');
    const size_t secondBlank = firstBlank == std::string::npos ? firstBlank : base.find(' ', firstBlank + 1);
    out.push_back(base.substr(0, secondBlank) + " online");
    return out;
}

std::string CompletionAnswer(std::string_view query) {
    std::string answer = "[" + JsonString(query) + ",[";
    const std::vector<std::string> completions = CompletionsFor(query);
    for (size_t i = 0; i < completions.size(); ++i) answer += (i ? "," : "") + JsonString(completions[i]);
    return answer + "]]";
}

std::string CountAnswer(std::string_view query) {
    const bool precise = query.size() >= 2 && query.front() == '"' && query.back() == '"';
    const std::string_view keyword = precise ? query.substr(1, query.size() - 2) : query;
    return "{\"searchInformation\":{\"totalResults\":\"" +
           std::to_string(ResultCountValue(Engine::Google, keyword, precise)) + "\"}}";
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace dorvanel::standin
