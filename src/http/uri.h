#pragma once
// A URI split into the parts the client works with, composed again, and the path merging that resolves a
// relative reference against the previous request; the resolution of redirect references; and the two
// encodings the client applies: query values the program builds from user text are form-encoded by the
// program, and a request target has its blanks and bytes above 0x7E percent-encoded before it is sent
// (everything else goes on the wire as the caller wrote it).
#include "common/text.h"

#include <string>
#include <string_view>

namespace dorvanel::http {

// What ComposeFullUri includes besides the address itself.
struct TNetURIOptions {
    bool IncludeLogin = false;
    bool IncludeFragment = false;
};

class TNetURI {
public:
    TNetURI() = default;
    explicit TNetURI(const std::string& text);

    std::string Protocol;
    std::string Host;
    std::string PortText;
    std::string DirPath;
    std::string DocName;
    std::string QueryText;
    std::string Fragment;
    std::string LoginName;
    std::string LoginPassword;
    std::string FullText;

    // Replaces every field from `text`. Never fails.
    void ParseUri(const std::string& text);
    // Stores the composition with login and fragment in FullText and returns the one without them.
    std::string ComposeUri();
    // Fails with ENetURIException when Protocol or Host is empty.
    std::string ComposeFullUri(TNetURIOptions options) const;
    // What goes after the method word in a request line.
    std::string RequestTarget() const { return DirPath + DocName + QueryText; }
};

// Every backslash becomes a slash. The system code page here has no double-byte lead bytes, so no byte is
// ever taken together with the one after it.
std::string NormalizeSlashes(std::string text);

// The text before the first `delimiter` in `input` (the whole input when it does not occur, or when the
// delimiter is empty). With `remove`, that text and the delimiter are cut from `input` (all of it when the
// delimiter is missing). Without `caseSensitive`, letters compare upper-cased.
std::string TakeToken(std::string& input, std::string_view delimiter, bool remove = true, bool caseSensitive = true);

// 1-based position of the last occurrence of `sub` beginning at or before `start` (-1: the end of `text`),
// letters compared without case; 0 when there is none.
size_t ReversePos(std::string_view sub, std::string_view text, long long start = -1);

// Resolves `path` against `base`: runs of delimiters collapse, a ".." segment climbs (never above the root),
// "." stays.
std::string MergePath(const std::string& base, const std::string& path, char delimiter = '/');

using common::FormEncode;

// A request target with every blank and every byte above 0x7E written as "%XX", as browsers send them.
std::string EncodeTargetBytes(std::string_view target);

// The scheme a reference starts with (RFC 3986 section 3.1: a letter, then letters, digits, "+", "-" or
// ".", then ":" before any "/", "?" or "#"); empty for a relative reference.
std::string ReferenceScheme(std::string_view reference);

// Resolves `reference` against the absolute `base` as RFC 3986 section 5.2 says, for every form a server
// sends: absolute, network-path ("//h/x"), absolute-path, relative-path and query-only ("?page=2" keeps
// the document). The result is absolute, carries no fragment, and under an authority has at least "/" as
// its path.
std::string ResolveReference(std::string_view base, std::string_view reference);

}  // namespace dorvanel::http
