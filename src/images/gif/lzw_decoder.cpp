#include "images/gif/lzw_decoder.h"

#include <algorithm>
#include <cstring>

namespace dorvanel::gif {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;
constexpr int kMinCodeSize = 2;
constexpr int kMaxCodeSize = 9;
// Room past the last pixel, so that strings can be copied eight bytes at a time.
constexpr std::size_t kSlack = 16;

// Reads the code bytes straight out of the data sub-blocks, low bit first. A last block cut short keeps what
// is there; the empty block ends the data.
class CodeReader {
public:
    explicit CodeReader(std::string_view blocks)
        : p_(reinterpret_cast<const std::uint8_t*>(blocks.data())), end_(p_ + blocks.size()) {}

    // Makes at least `bits` bits available; false when the data has run out first.
    bool Fill(int bits) {
        while (accBits_ <= 56) {
            if (blockLeft_ == 0 && !NextBlock()) break;
            acc_ |= static_cast<std::uint64_t>(*p_++) << accBits_;
            accBits_ += 8;
            --blockLeft_;
        }
        return accBits_ >= bits;
    }
    int Take(int bits, std::uint32_t mask) {
        const int code = static_cast<int>(acc_ & mask);
        acc_ >>= bits;
        accBits_ -= bits;
        return code;
    }
    int Available() const { return accBits_; }

private:
    bool NextBlock() {
        if (p_ >= end_) return false;
        std::size_t n = *p_++;
        if (n == 0) {
            end_ = p_;
            return false;
        }
        blockLeft_ = std::min<std::size_t>(n, static_cast<std::size_t>(end_ - p_));
        return blockLeft_ > 0;
    }

    const std::uint8_t* p_;
    const std::uint8_t* end_;
    std::size_t blockLeft_ = 0;
    std::uint64_t acc_ = 0;
    int accBits_ = 0;
};

// Copies len bytes from an earlier place in the output. The two ranges overlap only for the string that is
// being defined by this very code (distance shorter than len); then bytes are copied one by one, or eight at a
// time once the distance allows it, so every byte read has already been written.
inline void CopyEarlier(std::uint8_t* out, std::size_t dst, std::size_t src, std::size_t len) {
    if (dst - src >= 8) {
        for (std::size_t i = 0; i < len; i += 8) std::memcpy(out + dst + i, out + src + i, 8);
    } else {
        for (std::size_t i = 0; i < len; ++i) out[dst + i] = out[src + i];
    }
}

// Rows decoded in interlace order (every 8th from 0, every 8th from 4, every 4th from 2, every 2nd from 1)
// moved to their places. Only the rows that decoding reached are copied; the rest stay at index 0 untouched.
TIndexPixels Deinterlace(const TIndexPixels& linear, int width, int height, std::size_t rowsDecoded) {
    TIndexPixels out(linear.size());
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    std::size_t w = static_cast<std::size_t>(width);
    std::size_t row = 0;
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < height && row < rowsDecoded; y += kStep[pass]) {
            std::memcpy(out.data() + static_cast<std::size_t>(y) * w, linear.data() + row * w, w);
            ++row;
        }
    }
    return out;
}

}  // namespace

// Every table entry is a string that has already been written to the output: entry k is the string of the
// code before it plus the first pixel of the code after it, which is exactly the bytes starting where the
// earlier code was written. So the table keeps only (offset, length) pairs into the output, and writing a
// code is one copy from earlier output, with no chain to walk.
TLZWResult DecodeLZW(std::string_view stored, int width, int height, int bitsPerPixel, bool interlaced, int keptIndex) {
    TLZWResult result;
    std::size_t pos = 0;  // pixels decoded so far
    const std::size_t total =
        static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0));
    result.Pixels = TIndexPixels(total + kSlack);
    std::uint8_t* out = result.Pixels.data();

    if (stored.empty()) {
        result.Corrupted = total > 0;
    } else if (total > 0) {
        int minCodeSize = static_cast<std::uint8_t>(stored[0]);
        if (minCodeSize < kMinCodeSize || minCodeSize > kMaxCodeSize) {
            minCodeSize = std::clamp(minCodeSize, kMinCodeSize, kMaxCodeSize);
            result.Corrupted = true;
        }
        CodeReader codes(stored.substr(1));
        const std::uint8_t pixelMask = static_cast<std::uint8_t>((1u << std::clamp(bitsPerPixel, 1, 8)) - 1);
        const int clear = 1 << minCodeSize;
        const int endOfInfo = clear + 1;

        // A string is at most one pixel longer than the one it extends, so none can outgrow the table's 4096
        // entries: the limit on chain length holds by construction.
        std::uint32_t offsets[kMaxCodes];
        std::uint16_t lengths[kMaxCodes];
        int next = clear + 2;
        int codeBits = minCodeSize + 1;
        std::uint32_t codeMask = (1u << codeBits) - 1;

        std::size_t prevPos = 0;
        std::size_t prevLen = 0;  // 0: no previous code since the last clear

        while (pos < total) {
            if (codes.Available() < codeBits && !codes.Fill(codeBits)) break;  // the data ran out
            const int code = codes.Take(codeBits, codeMask);

            if (code == clear) {
                next = clear + 2;
                codeBits = minCodeSize + 1;
                codeMask = (1u << codeBits) - 1;
                prevLen = 0;
                continue;
            }
            if (code == endOfInfo) break;

            std::size_t len;
            if (code < clear) {
                out[pos] = code == keptIndex ? static_cast<std::uint8_t>(code)
                                             : static_cast<std::uint8_t>(static_cast<std::uint8_t>(code) & pixelMask);
                len = 1;
            } else if (prevLen == 0) {
                result.Corrupted = true;  // a string code with no table built since the clear
                break;
            } else if (code < next) {
                len = std::min<std::size_t>(lengths[code], total - pos);
                CopyEarlier(out, pos, offsets[code], len);
            } else if (code == next) {
                // The code being defined right now: the previous string and its own first pixel.
                len = std::min(prevLen + 1, total - pos);
                CopyEarlier(out, pos, prevPos, len);
            } else {
                result.Corrupted = true;  // not yet in the table
                break;
            }

            if (prevLen != 0 && next < kMaxCodes) {
                offsets[next] = static_cast<std::uint32_t>(prevPos);
                lengths[next] = static_cast<std::uint16_t>(prevLen + 1);
                ++next;
                if (next == (1 << codeBits) && codeBits < kMaxCodeBits) {
                    ++codeBits;
                    codeMask = (1u << codeBits) - 1;
                }
            }
            prevPos = pos;
            prevLen = len;
            pos += len;
        }
        // Eight-byte copies may have run up to seven bytes past the last string; pixels never reached stay 0.
        std::memset(out + pos, 0, 8);
    }

    result.Pixels.shrink(total);
    if (interlaced && total > 0) {
        const std::size_t w = static_cast<std::size_t>(width);
        result.Pixels = Deinterlace(result.Pixels, width, height, (pos + w - 1) / w);
    }
    return result;
}

}  // namespace dorvanel::gif
