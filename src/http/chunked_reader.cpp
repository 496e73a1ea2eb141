#include "http/chunked_reader.h"

#include <algorithm>
#include <limits>

#include "http/exceptions.h"
#include "http/peer_text.h"

namespace dorvanel::http {

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int hexValue(char c) {
    if (c <= '9') return c - '0';
    return (c >= 'a' ? c - 'a' : c - 'A') + 10;
}

}  // namespace

bool TNetChunkedReader::takeLine(std::string_view input, size_t& used, std::string_view& line) const {
    const size_t end = input.find('\n');
    if (end == std::string_view::npos) {
        if (input.size() > maxLineBytes_) throw ENetReadLnMaxLineLengthExceeded();
        return false;
    }
    if (end > maxLineBytes_) throw ENetReadLnMaxLineLengthExceeded();
    line = input.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    used = end + 1;
    return true;
}

// The size ends at the ";" of a chunk extension (RFC 9112 7.1.1), after optional blanks; anything else on the
// line (nothing at all, a sign, a blank inside, a letter that is no hex digit) makes the line unreadable,
// which fails the call instead of ending the body as if it were complete.
int64_t TNetChunkedReader::readSize(std::string_view line) const {
    const size_t digits = static_cast<size_t>(std::find_if_not(line.begin(), line.end(), isHex) - line.begin());
    const size_t rest = line.find_first_not_of(" \t", digits);
    if (digits == 0 || (digits < line.size() && (rest == std::string_view::npos || line[rest] != ';'))) {
        throw ENetProtocolError("Unreadable chunk size line: " + QuotedPeerText(std::string(line)));
    }
    if (digits > kMaxChunkSizeDigits) {
        throw ENetProtocolError("Chunk size line " + QuotedPeerText(std::string(line)) +
                                " has more than 16 hex digits.");
    }
    uint64_t value = 0;
    for (size_t i = 0; i < digits; ++i) value = value * 16 + static_cast<uint64_t>(hexValue(line[i]));
    if (value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        throw ENetProtocolError("Chunk size line " + QuotedPeerText(std::string(line)) + " does not fit.");
    }
    return static_cast<int64_t>(value);
}

void TNetChunkedReader::SkipData(int64_t count) {
    if (state_ != State::Data) return;
    remaining_ -= std::min(count, remaining_);
    if (remaining_ == 0) state_ = State::DataEnd;
}

size_t TNetChunkedReader::Feed(std::string_view input, const TDataSink& sink) {
    size_t taken = 0;
    while (state_ != State::Done && taken < input.size()) {
        const std::string_view rest = input.substr(taken);
        switch (state_) {
            case State::SizeLine: {
                size_t used = 0;
                std::string_view line;
                if (!takeLine(rest, used, line)) return taken;
                remaining_ = readSize(line);
                taken += used;
                state_ = remaining_ > 0 ? State::Data : State::Trailer;
                break;
            }
            case State::Data: {
                if (!sink) return taken;
                const size_t n = static_cast<size_t>(std::min<int64_t>(remaining_, static_cast<int64_t>(rest.size())));
                sink(rest.data(), n);
                taken += n;
                SkipData(static_cast<int64_t>(n));
                break;
            }
            case State::DataEnd: {
                // The chunk's data ends in a line end and nothing else.
                size_t used = 0;
                std::string_view line;
                const bool whole = takeLine(rest, used, line);
                if ((whole && !line.empty()) || (!whole && rest != "\r")) {
                    throw ENetProtocolError("Chunk data not followed by a line end.");
                }
                if (!whole) return taken;
                taken += used;
                state_ = State::SizeLine;
                break;
            }
            case State::Trailer: {
                // Trailer lines up to the empty line are consumed too, so that none is taken for the next
                // response on a kept connection; they count toward their own cap.
                size_t used = 0;
                std::string_view line;
                if (!takeLine(rest, used, line)) return taken;
                taken += used;
                if (line.empty()) {
                    state_ = State::Done;
                } else {
                    trailerBytes_ += line.size() + 2;
                    if (trailerBytes_ > maxTrailerBytes_) throw ENetProtocolError("Response header too large.");
                }
                break;
            }
            case State::Done:
                break;
        }
    }
    return taken;
}

}  // namespace dorvanel::http
