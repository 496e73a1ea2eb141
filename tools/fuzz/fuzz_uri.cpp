// URI parsing, composition and path merging on arbitrary text.
#include "fuzz_input.h"
#include "http/exceptions.h"
#include "http/uri.h"

using namespace dorvanel::http;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto lines = dorvanel::fuzz::splitLines(data, size);
    const std::string text = lines.empty() ? std::string() : lines[0];
    const std::string relative = lines.size() > 1 ? lines[1] : std::string();

    TNetURI uri(text);
    // The request target is the directory, document and query, byte for byte.
    dorvanel::fuzz::check(uri.DirPath.empty() || uri.Protocol.empty() || uri.DirPath[0] == '/');
    try {
        const std::string bare = uri.ComposeUri();
        const std::string full = uri.ComposeFullUri({true, true});
        dorvanel::fuzz::check(full == uri.FullText);
        TNetURI again(bare);
        dorvanel::fuzz::check(!again.Protocol.empty());
    } catch (const ENetURIException&) {
        dorvanel::fuzz::check(uri.Protocol.empty() || uri.Host.empty());
    }

    const std::string merged = MergePath(uri.DirPath, relative);
    if (!relative.empty() && relative[0] == '/') dorvanel::fuzz::check(merged == relative);
    if (!uri.DirPath.empty() && uri.DirPath[0] == '/' && !(relative.size() && relative[0] == '/')) {
        dorvanel::fuzz::check(merged.empty() || merged[0] == '/');
        dorvanel::fuzz::check(merged.find("//") == std::string::npos);
    }

    std::string input = text;
    const std::string token = TakeToken(input, relative, true, lines.size() > 2);
    dorvanel::fuzz::check(token.size() + input.size() <= text.size());
    const size_t pos = ReversePos(relative, text, static_cast<long long>(size % 97) - 1);
    dorvanel::fuzz::check(pos <= text.size());
    return 0;
}
