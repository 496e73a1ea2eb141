#pragma once
// Bytes a peer sent, made fit to stand in a failure message: at most 128 of them, control bytes and bytes
// above 0x7E shown as \xHH (and a backslash as \\), so that a hostile answer can neither flood the status
// bar nor bring line breaks or undecodable bytes into it.
#include <cstddef>
#include <string>
#include <string_view>

namespace dorvanel::http {

inline constexpr size_t kPeerTextMaximum = 128;

// The first kPeerTextMaximum bytes, escaped, followed by "..." when there were more.
std::string PeerText(std::string_view bytes);
// PeerText in single quotes.
std::string QuotedPeerText(std::string_view bytes);

}  // namespace dorvanel::http
