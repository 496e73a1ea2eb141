// Cookies from hostile "Set-cookie" values: parse, store, then build the "Cookie" header for a few requests.
// Input: first line the request URL, then one header value per line (a leading "2" makes it "Set-cookie2").
#include "fuzz_input.h"
#include "http/cookie_jar.h"
#include "http/exceptions.h"
#include "http/net_text.h"

using namespace dorvanel::http;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto lines = dorvanel::fuzz::splitLines(data, size);
    if (lines.empty()) return 0;
    const TNetURI origin(lines[0]);
    TNetCookieManager jar;
    for (size_t i = 1; i < lines.size(); ++i) {
        try {
            if (!lines[i].empty() && lines[i][0] == '2') {
                jar.AcceptSetCookie2(lines[i].substr(1), origin);
            } else {
                jar.AcceptSetCookie(lines[i], origin);
            }
        } catch (const ENetConvertError&) {
            // A quoted "Port" list with something other than numbers fails the request.
        }
    }
    for (const auto& entry : jar.CookieCollection().Domains()) {
        for (const auto& item : entry.Cookies.Items) item.second->ServerForm();
    }
    jar.CookieHeaderFor(origin, false);
    jar.CookieHeaderFor(origin, true);
    // A host that only contains the origin's text as part of a longer name gets nothing.
    TNetURI stranger = origin;
    stranger.Host = "x" + origin.Host + "y";
    if (!origin.Host.empty() && origin.Host.find('.') == std::string::npos) {
        dorvanel::fuzz::check(jar.CookieHeaderFor(stranger, true).empty());
    }
    return 0;
}
