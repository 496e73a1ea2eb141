// Header lists and the response record reading a server's header block; folding of long lines.
#include "fuzz_input.h"
#include "http/exceptions.h"
#include "http/header_info.h"
#include "http/header_list.h"
#include "http/net_text.h"

using namespace dorvanel::http;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto lines = dorvanel::fuzz::splitLines(data, size);

    TNetResponseHeaderInfo response;
    response.HeaderLines.Lines = lines;
    try {
        response.ReadFromLines();
    } catch (const ENetConvertError&) {
        // A "Content-Range" bound that is not a number fails the request; nothing else may fail.
    }
    for (int i = -1; i <= response.HeaderLines.Count(); ++i) {
        response.HeaderLines.NameAt(i);
        response.HeaderLines.ValueAt(i);
    }

    // Set every line back as a header of a fresh list, folded at a small column.
    TNetHeaderList list;
    list.WrapColumn = size > 0 ? data[0] % 40 : 10;
    for (const auto& line : lines) {
        std::string rest = line;
        const std::string name = TakeToken(rest, ":");
        list.SetHeaderValue(name, rest);
        // A name the folding cannot break (no blanks, commas or quotes) is found again.
        if (Trim(rest) != "" && !name.empty() && name.find_first_of(" \t,\"\r:") == std::string::npos) {
            dorvanel::fuzz::check(list.FindHeader(name) >= 0);
        }
    }
    for (const auto& line : lines) {
        const auto pieces = WrapLine(line, list.WrapColumn);
        dorvanel::fuzz::check(!pieces.empty());
        for (size_t i = 1; i < pieces.size(); ++i) dorvanel::fuzz::check(!pieces[i].empty() && pieces[i][0] == ' ');
    }

    TNetRequestHeaderInfo request;
    if (!lines.empty()) request.Host = lines[0];
    if (lines.size() > 1) {
        request.Username = lines[1];
        request.BasicAuthentication = true;
    }
    request.CustomHeaders.Lines = lines;
    request.WriteToLines();
    return 0;
}
