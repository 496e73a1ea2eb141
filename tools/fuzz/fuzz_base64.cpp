// Base64: whatever is encoded decodes to the same bytes; hostile text fails only with the decoder's own failure.
#include <sstream>

#include "fuzz_input.h"
#include "http/base64.h"
#include "http/exceptions.h"

using namespace dorvanel::http;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string encoded = EncodeText(bytes);
    dorvanel::fuzz::check(encoded.size() == (size + 2) / 3 * 4);
    dorvanel::fuzz::check(DecodeText(encoded) == bytes);

    std::istringstream stream(bytes);
    const int32_t limit = static_cast<int32_t>(size / 2 / 3 * 3);
    const std::string part = TNetEncoderMIME().EncodeStream(stream, limit);
    dorvanel::fuzz::check(DecodeText(part) == bytes.substr(0, static_cast<size_t>(limit)));

    try {
        DecodeText(bytes);
    } catch (const ENetException&) {}
    return 0;
}
