#include "http/peer_text.h"

namespace dorvanel::http {

std::string PeerText(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    const size_t shown = bytes.size() < kPeerTextMaximum ? bytes.size() : kPeerTextMaximum;
    out.reserve(shown + 8);
    for (size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c > 0x7E) {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    if (bytes.size() > shown) out += "...";
    return out;
}

std::string QuotedPeerText(std::string_view bytes) { return "'" + PeerText(bytes) + "'"; }

}  // namespace dorvanel::http
