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
