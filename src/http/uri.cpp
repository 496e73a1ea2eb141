#include "http/uri.h"

#include <algorithm>

#include "http/exceptions.h"
#include "http/net_text.h"

namespace dorvanel::http {

namespace {

// Position (1-based) of the start of the query: the first "?", or without one the first "="; 0 for none.
size_t queryStart(const std::string& w) {
    size_t q = w.find('?');
    if (q == std::string::npos) q = w.find('=');
    return q == std::string::npos ? 0 : q + 1;
}

// Splits `w` into directory length, document name and query as both kinds of reference do.
void splitPath(const std::string& w, size_t& slash, std::string& docName, std::string& query) {
    const size_t q = queryStart(w);
    slash = q > 0 ? ReversePos("/", w, static_cast<long long>(q)) : ReversePos("/", w);
    if (q == 0) {
        docName = w;
        query.clear();
    } else {
        docName = w.substr(0, q - 1);
        query = w.substr(q - 1);
    }
    docName.erase(0, std::min(slash, docName.size()));
}

}  // namespace

TNetURI::TNetURI(const std::string& text) {
    if (!text.empty()) ParseUri(text);
}

void TNetURI::ParseUri(const std::string& text) {
    FullText = NormalizeSlashes(text);
    std::string w = FullText;
    Protocol.clear();
    Host.clear();
    PortText.clear();
    DirPath.clear();
    DocName.clear();
    QueryText.clear();
    Fragment.clear();
    LoginName.clear();
    LoginPassword.clear();

    const size_t schemeEnd = w.find("://");
    size_t slash = 0;
    if (schemeEnd == std::string::npos) {
        splitPath(w, slash, DocName, QueryText);
        DirPath = w.substr(0, slash);
    } else {
        Protocol = w.substr(0, schemeEnd);
        w.erase(0, schemeEnd + 3);
        std::string authority = TakeToken(w, "/");
        const size_t at = authority.find('@');
        if (at != std::string::npos) {
            std::string login = authority.substr(0, at);
            authority.erase(0, at + 1);
            LoginName = TakeToken(login, ":");
            LoginPassword = login;
            if (LoginName.empty()) LoginPassword.clear();
        }
        Host = TakeToken(authority, ":");
        PortText = authority;
        splitPath(w, slash, DocName, QueryText);
        DirPath = "/" + w.substr(0, slash);
        Fragment = DocName;
        DocName = TakeToken(Fragment, "#");
    }
    if (Fragment.empty()) {
        Fragment = QueryText;
        QueryText = TakeToken(Fragment, "#");
    }
}

std::string TNetURI::ComposeFullUri(TNetURIOptions options) const {
    if (Protocol.empty()) throw ENetURIException("Protocol field is empty");
    std::string out = Protocol + "://";
    if (options.IncludeLogin && !LoginName.empty()) {
        out += LoginName;
        if (!LoginPassword.empty()) out += ":" + LoginPassword;
        out += "@";
    }
    if (Host.empty()) throw ENetURIException("Host field is empty");
    out += Host;
    if (!PortText.empty()) out += ":" + PortText;
    out += DirPath + DocName + QueryText;
    if (options.IncludeFragment && !Fragment.empty()) out += "#" + Fragment;
    return out;
}

std::string TNetURI::ComposeUri() {
    FullText = ComposeFullUri({true, true});
    return ComposeFullUri({});
}

std::string NormalizeSlashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::string TakeToken(std::string& input, std::string_view delimiter, bool remove, bool caseSensitive) {
    size_t pos = std::string::npos;
    if (!delimiter.empty()) {
        pos = caseSensitive ? input.find(delimiter) : UpperCase(input).find(UpperCase(delimiter));
    }
    std::string token;
    if (pos == std::string::npos) {
        token = input;
        if (remove) input.clear();
    } else {
        token = input.substr(0, pos);
        if (remove) input.erase(0, pos + delimiter.size());
    }
    return token;
}

size_t ReversePos(std::string_view sub, std::string_view text, long long start) {
    if (sub.empty() || sub.size() > text.size()) return 0;
    const long long last = static_cast<long long>(text.size() - sub.size()) + 1;
    if (start == -1 || start > last) start = last;
    for (long long p = start; p >= 1; --p) {
        if (SameText(text.substr(static_cast<size_t>(p - 1), sub.size()), sub)) return static_cast<size_t>(p);
    }
    return 0;
}

std::string MergePath(const std::string& base, const std::string& path, char delimiter) {
    if (!path.empty() && path.front() == delimiter) return path;
    const bool keepTrailing = path.empty() || path.back() == delimiter;

    std::string w = base;
    if (!w.empty() && w.back() != delimiter) w += delimiter;
    w += path;

    std::string r;
    for (size_t i = 0; i < w.size(); ++i) {
        const char c = w[i];
        if (c == delimiter) {
            if (i == 0) {
                r.assign(1, delimiter);
            } else if (r.empty() || r.back() != delimiter) {
                r += delimiter;
            }
        } else if (c == '.' && !r.empty() && r.back() == delimiter && i + 1 < w.size() && w[i + 1] == '.' &&
                   (i + 2 == w.size() || w[i + 2] == delimiter)) {
            // Only a whole ".." segment climbs, and never past the root: "..x" is a name, and a target
            // must keep its leading delimiter.
            if (r.size() > 1) {
                r.pop_back();
                while (!r.empty() && r.back() != delimiter) r.pop_back();
            }
            ++i;
        } else {
            r += c;
        }
    }
    if (!(r.size() == 1 && r[0] == delimiter) && !r.empty() && r.back() == delimiter && !keepTrailing) r.pop_back();
    return r;
}

}  // namespace dorvanel::http

namespace dorvanel::http {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendEscape(std::string& out, unsigned char c) {
    out += '%';
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 15];
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// The five parts of RFC 3986 appendix B; `has...` tell an empty part from a missing one.
struct ReferenceParts {
    std::string scheme;
    bool hasAuthority = false;
    std::string authority;
    std::string path;
    bool hasQuery = false;
    std::string query;
};

ReferenceParts splitReference(std::string_view text) {
    ReferenceParts parts;
    if (const size_t hash = text.find('#'); hash != std::string_view::npos) text = text.substr(0, hash);
    parts.scheme = ReferenceScheme(text);
    if (!parts.scheme.empty()) text.remove_prefix(parts.scheme.size() + 1);
    if (text.substr(0, 2) == "//") {
        text.remove_prefix(2);
        const size_t end = text.find_first_of("/?");
        parts.hasAuthority = true;
        parts.authority = std::string(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end);
    }
    const size_t question = text.find('?');
    parts.path = std::string(text.substr(0, question));
    if (question != std::string_view::npos) {
        parts.hasQuery = true;
        parts.query = std::string(text.substr(question + 1));
    }
    return parts;
}

// RFC 3986 section 5.2.4.
std::string removeDotSegments(std::string_view input) {
    std::string output;
    while (!input.empty()) {
        if (input.substr(0, 3) == "../") {
            input.remove_prefix(3);
        } else if (input.substr(0, 2) == "./") {
            input.remove_prefix(2);
        } else if (input.substr(0, 3) == "/./") {
            input.remove_prefix(2);
        } else if (input == "/.") {
            input = "/";
        } else if (input.substr(0, 4) == "/../" || input == "/..") {
            input = input.size() == 3 ? std::string_view("/") : input.substr(3);
            const size_t slash = output.rfind('/');
            output.erase(slash == std::string::npos ? 0 : slash);
        } else if (input == "." || input == "..") {
            input = {};
        } else {
            const size_t next = input.find('/', 1);
            output.append(input.substr(0, next));
            input = next == std::string_view::npos ? std::string_view() : input.substr(next);
        }
    }
    return output;
}

}  // namespace

std::string EncodeTargetBytes(std::string_view target) {
    std::string out;
    out.reserve(target.size());
    for (const char c : target) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte > 0x7E) {
            appendEscape(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

std::string ReferenceScheme(std::string_view reference) {
    if (reference.empty() || !isAsciiLetter(reference[0])) return {};
    for (size_t i = 1; i < reference.size(); ++i) {
        const char c = reference[i];
        if (c == ':') return std::string(reference.substr(0, i));
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return {};
}

std::string ResolveReference(std::string_view base, std::string_view reference) {
    const ReferenceParts b = splitReference(base);
    const ReferenceParts r = splitReference(reference);
    ReferenceParts t;
    if (!r.scheme.empty()) {
        t = r;
        t.path = removeDotSegments(r.path);
    } else {
        t.scheme = b.scheme;
        if (r.hasAuthority) {
            t.hasAuthority = true;
            t.authority = r.authority;
            t.path = removeDotSegments(r.path);
            t.hasQuery = r.hasQuery;
            t.query = r.query;
        } else {
            t.hasAuthority = b.hasAuthority;
            t.authority = b.authority;
            if (r.path.empty()) {
                t.path = b.path;
                t.hasQuery = r.hasQuery || b.hasQuery;
                t.query = r.hasQuery ? r.query : b.query;
            } else {
                if (r.path.front() == '/') {
                    t.path = removeDotSegments(r.path);
                } else {
                    // RFC 3986 section 5.2.3: the base's directory, or "/" under an authority with no path.
                    const size_t slash = b.path.rfind('/');
                    const std::string merged =
                        b.hasAuthority && b.path.empty()
                            ? "/" + r.path
                            : (slash == std::string::npos ? std::string() : b.path.substr(0, slash + 1)) + r.path;
                    t.path = removeDotSegments(merged);
                }
                t.hasQuery = r.hasQuery;
                t.query = r.query;
            }
        }
    }
    std::string out = t.scheme + ":";
    if (t.hasAuthority) out += "//" + t.authority;
    out += t.hasAuthority && (t.path.empty() || t.path.front() != '/') ? "/" + t.path : t.path;
    if (t.hasQuery) out += "?" + t.query;
    return out;
}

}  // namespace dorvanel::http
