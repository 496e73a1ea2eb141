// Reading a GIF stream into TGIFImage: which blocks are accepted, and what happens to damaged data.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "images/gif/gif_errors.h"
#include "images/gif/gif_image.h"

namespace dorvanel::gif {

namespace {

// A cursor over the whole file. Running out of bytes inside a fixed-size part is a read error.
class ByteCursor {
public:
    explicit ByteCursor(std::string_view data) : data_(data) {}

    bool AtEnd() const { return pos_ >= data_.size(); }
    std::size_t Remaining() const { return data_.size() - pos_; }
    std::uint8_t Peek() const { return static_cast<std::uint8_t>(data_[pos_]); }

    std::uint8_t Byte() {
        if (AtEnd()) throw EGIFStreamRead();
        return static_cast<std::uint8_t>(data_[pos_++]);
    }
    std::string_view Take(std::size_t n) {
        if (Remaining() < n) throw EGIFStreamRead();
        std::string_view out = data_.substr(pos_, n);
        pos_ += n;
        return out;
    }
    // Bytes from the next one (the minimum code size byte) up to the empty sub-block of a chain of data
    // sub-blocks, length bytes included, or to the end of the data.
    std::size_t SubBlockChainLength() const {
        std::size_t at = pos_ + 1;
        while (at < data_.size()) {
            const std::size_t n = static_cast<std::uint8_t>(data_[at]);
            if (n == 0) break;
            at += 1 + n;
        }
        return std::min(at, data_.size()) - pos_;
    }
    // Data sub-blocks up to the empty one, without their length bytes.
    std::vector<std::string> SubBlocks() {
        std::vector<std::string> blocks;
        for (std::uint8_t n = Byte(); n != 0; n = Byte()) blocks.emplace_back(Take(n));
        return blocks;
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

int Word(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes[at]) | (static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

TSharedColorTable ReadColorTable(ByteCursor& in, int bits) {
    std::size_t count = std::size_t{1} << bits;
    std::string_view raw = in.Take(count * 3);
    auto table = std::make_shared<TColorTable>(count);
    for (std::size_t i = 0; i < count; ++i) {
        (*table)[i] = TRGB{static_cast<std::uint8_t>(raw[3 * i]), static_cast<std::uint8_t>(raw[3 * i + 1]),
                           static_cast<std::uint8_t>(raw[3 * i + 2])};
    }
    return table;
}

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

void CheckSize(std::int64_t width, std::int64_t height) {
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
        throw EGIFStreamRead();
    }
}

// What holding one more frame, extension or comment line costs besides its pixels, in bytes. A file of
// thousands of tiny frames is limited by this as much as a file of a few big ones is by their pixels.
constexpr std::int64_t kFrameOverhead = sizeof(TGIFFrame) + sizeof(TFrameBitmap) + 64;
std::int64_t ExtensionOverhead(const TExtension& ext) {
    std::int64_t bytes = sizeof(TExtension) + static_cast<std::int64_t>(ext.Fixed.size());
    for (const std::string& block : ext.SubBlocks) {
        bytes += sizeof(std::string) + static_cast<std::int64_t>(block.size());
    }
    return bytes;
}

}  // namespace

class TGIFReader {
public:
    TGIFReader(TGIFImage::State& s, std::string_view data) : s_(s), in_(data) {}

    void Read() {
        ReadHeader();
        std::vector<TExtension> pending;
        while (!in_.AtEnd()) {
            std::uint8_t b = in_.Byte();
            if (b == '!') {
                ReadExtension(pending);
            } else if (b == ',') {
                ReadFrame(pending);
                pending.clear();
                while (!in_.AtEnd() && in_.Peek() == 0) in_.Byte();
                if (in_.AtEnd()) break;
                std::uint8_t next = in_.Peek();
                if (next != '!' && next != ',' && next != ';') break;  // trailing rubbish: keep what was read
            } else {
                MovePendingComments(pending);
                if (b == ';') break;
                if (b != 0) throw EGIFStreamRead();
            }
        }
    }

private:
    void ReadHeader() {
        std::string_view sig = in_.Take(6);
        if (!SameLetters(sig.substr(0, 3), "GIF")) throw EGIFUnknownVersion();
        if (SameLetters(sig.substr(3), "87a")) {
            s_.Version = 1;
        } else if (SameLetters(sig.substr(3), "89a")) {
            s_.Version = 2;
        } else {
            throw EGIFUnknownVersion();
        }
        std::string_view lsd = in_.Take(7);
        s_.Width = Word(lsd, 0);
        s_.Height = Word(lsd, 2);
        CheckSize(s_.Width, s_.Height);
        std::uint8_t packed = static_cast<std::uint8_t>(lsd[4]);
        s_.ColorResolution = ((packed >> 4) & 7) + 1;
        s_.BackgroundIndex = static_cast<std::uint8_t>(lsd[5]);
        s_.AspectRatio = static_cast<std::uint8_t>(lsd[6]);
        if (packed & 0x80) {
            s_.BitsPerPixel = (packed & 7) + 1;
            s_.GlobalColorTable = ReadColorTable(in_, s_.BitsPerPixel);
            if (static_cast<std::size_t>(s_.BackgroundIndex) < s_.GlobalColorTable->size()) {
                s_.BackgroundColor = (*s_.GlobalColorTable)[s_.BackgroundIndex];
            }
        }
    }

    void ReadExtension(std::vector<TExtension>& pending) {
        std::uint8_t label = in_.Byte();
        TExtension ext;
        switch (label) {
            case kLabelGraphicControl:
                // Size, packed byte, delay, transparent index and the block terminator.
                ext.Kind = TExtensionKind::GraphicControl;
                ext.Fixed = in_.Take(6);
                Hold(ExtensionOverhead(ext));
                pending.push_back(std::move(ext));
                break;
            case kLabelPlainText:
                // Text drawn over the picture is not shown; what was gathered for the next image goes with it.
                in_.Take(13);
                in_.SubBlocks();
                pending.clear();
                break;
            case kLabelApplication:
                ext.Kind = TExtensionKind::Application;
                ext.Fixed = in_.Take(12);
                ext.SubBlocks = in_.SubBlocks();
                TakeLoop(ext);
                break;
            case kLabelComment:
                ext.Kind = TExtensionKind::Comment;
                ext.SubBlocks = in_.SubBlocks();
                Hold(ExtensionOverhead(ext));
                pending.push_back(std::move(ext));
                break;
            default:
                throw EGIFUnknownExtension(label);
        }
    }

    void TakeLoop(const TExtension& ext) {
        std::string_view id = std::string_view(ext.Fixed).substr(1, 11);
        if (id != "NETSCAPE2.0" && id != "ANIMEXTS1.0") return;
        if (ext.SubBlocks.empty() || ext.SubBlocks[0].size() < 3 || ext.SubBlocks[0][0] != 1) return;
        s_.Looping = true;
        s_.RepeatCount = std::min(Word(ext.SubBlocks[0], 1), kMaxRepeatCount);
    }

    // Counts bytes of pixels or bookkeeping toward the picture's cap.
    void Hold(std::int64_t bytes) {
        held_ += bytes;
        if (held_ > kMaxPicturePixels) throw EGIFStreamRead();
    }

    void ReadFrame(const std::vector<TExtension>& pending) {
        if (s_.Frames.size() >= static_cast<std::size_t>(kMaxFrames)) throw EGIFStreamRead();
        TGIFFrame f;
        std::string_view d = in_.Take(9);
        f.Left = Word(d, 0);
        f.Top = Word(d, 2);
        f.Width = Word(d, 4);
        f.Height = Word(d, 6);
        std::uint8_t packed = static_cast<std::uint8_t>(d[8]);
        f.Interlaced = (packed & 0x40) != 0;
        if (packed & 0x80) {
            f.HasLocalColorTable = true;
            f.BitsPerPixel = (packed & 7) + 1;
            f.ColorTable = ReadColorTable(in_, f.BitsPerPixel);
            Hold(static_cast<std::int64_t>(f.ColorTable->size() * sizeof(TRGB)));
        } else {
            if (!s_.GlobalColorTable) throw EGIFBadColorCount();
            f.BitsPerPixel = BitsForColorCount(s_.GlobalColorTable->size());
            f.ColorTable = s_.GlobalColorTable;
        }
        ReadImageData(f);
        if (f.Width == 0) f.Width = s_.Width;
        if (f.Height == 0) f.Height = s_.Height;
        CheckSize(f.Width, f.Height);
        Hold(std::int64_t{f.Width} * f.Height + kFrameOverhead);

        for (const TExtension& ext : pending) {
            if (ext.Kind == TExtensionKind::GraphicControl) ApplyGraphicControl(f, ext);
            f.Extensions.push_back(ext);
        }
        s_.Frames.push_back(std::move(f));
    }

    // The stored data is kept as it stands; a file that ends inside it leaves a corrupted frame, not an error.
    void ReadImageData(TGIFFrame& f) {
        if (in_.AtEnd()) {
            f.Corrupted = true;
            return;
        }
        f.ImageData.reserve(1 + in_.SubBlockChainLength());
        f.ImageData.push_back(static_cast<char>(in_.Byte()));
        for (;;) {
            if (in_.AtEnd()) {
                f.Corrupted = true;
                return;
            }
            std::uint8_t n = in_.Byte();
            if (n == 0) return;
            std::size_t avail = std::min<std::size_t>(n, in_.Remaining());
            f.ImageData.push_back(static_cast<char>(n));
            f.ImageData.append(in_.Take(avail));
            if (avail < n) {
                f.Corrupted = true;
                return;
            }
        }
    }

    static void ApplyGraphicControl(TGIFFrame& f, const TExtension& ext) {
        std::uint8_t packed = static_cast<std::uint8_t>(ext.Fixed[1]);
        int index = static_cast<std::uint8_t>(ext.Fixed[4]);
        if (!(packed & 1)) {
            f.TransparentColor.reset();
            f.TransparentIndex = -1;
        } else {
            // Transparency is by index: an index beyond the colour table still marks its pixels (the decoder
            // keeps it unmasked), rather than being ignored and those pixels drawn in another colour.
            const TColorTable& table = f.Colors();
            f.TransparentColor = static_cast<std::size_t>(index) < table.size() ? table[index] : kMidGrey;
            f.TransparentIndex = index;
        }
        f.Delay = std::max(Word(ext.Fixed, 2) * 10, f.Delay);
        f.Disposal = (packed >> 2) & 7;
    }

    // Comments left over where no image follows belong to the picture as a whole.
    void MovePendingComments(std::vector<TExtension>& pending) {
        auto isComment = [](const TExtension& e) { return e.Kind == TExtensionKind::Comment; };
        for (const TExtension& ext : pending) {
            if (!isComment(ext)) continue;
            if (!s_.Comment.empty()) s_.Comment.emplace_back();
            std::string text = ext.Data();
            std::size_t start = 0;
            for (;;) {
                std::size_t end = text.find_first_of("\r\n", start);
                Hold(sizeof(std::string) + static_cast<std::int64_t>(std::min(end, text.size()) - start));
                s_.Comment.push_back(text.substr(start, end - start));
                if (end == std::string::npos) break;
                if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
                start = end + 1;
            }
        }
        std::erase_if(pending, isComment);
    }

    TGIFImage::State& s_;
    ByteCursor in_;
    std::int64_t held_ = 0;
};

void TGIFImage::LoadFromBytes(std::string_view bytes) {
    State fresh;
    try {
        TGIFReader(fresh, bytes).Read();
        if (!fresh.Frames.empty()) {
            fresh.CurrentFrameIndex = 0;
            fresh.Frames[0].Decode();
        }
    } catch (...) {
        s_ = State{};
        Changed();
        throw;
    }
    s_ = std::move(fresh);
    Changed();
}

}  // namespace dorvanel::gif
