#include "images/gif/gif_image.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "images/gif/gif_errors.h"
#include "images/gif/lzw_decoder.h"

namespace dorvanel::gif {

namespace {

std::string Format(const char* pattern, const std::string& a, const std::string& b) {
    std::string out = pattern;
    out.replace(out.find("%s"), 2, a);
    out.replace(out.find("%s"), 2, b);
    return out;
}

}  // namespace

EGIFUnknownExtension::EGIFUnknownExtension(unsigned char label)
    : EInvalidGraphicOperation([label] {
          char hex[3];
          std::snprintf(hex, sizeof hex, "%.2x", label);
          std::string text = kMsgUnknownExtension;
          return text.replace(text.find("%.2x"), 4, hex);
      }()) {}

EGIFFileOpen::EGIFFileOpen(const std::string& path, const std::string& reason)
    : Exception(Format(kMsgCannotOpen, path, reason)) {}

int BitsForColorCount(std::size_t count) {
    for (int bits = 1; bits <= 8; ++bits) {
        if (count == (std::size_t{1} << bits)) return bits;
    }
    throw EGIFBadColorCount();
}

std::string TExtension::Data() const {
    std::string out;
    for (const std::string& block : SubBlocks) out += block;
    return out;
}

namespace {

const TColorTable& EmptyTable() {
    static const TColorTable empty;
    return empty;
}

}  // namespace

const TColorTable& TGIFFrame::Colors() const { return ColorTable ? *ColorTable : EmptyTable(); }

const TColorTable& TGIFImage::GlobalColorTable() const {
    return s_.GlobalColorTable ? *s_.GlobalColorTable : EmptyTable();
}

void TGIFFrame::Decode() {
    if (bitmap_) return;
    TFrameBitmap bmp;
    bmp.Width = Width;
    bmp.Height = Height;
    bmp.Depth = BitsPerPixel == 1 ? 1 : BitsPerPixel <= 4 ? 4 : 8;
    const TColorTable& table = Colors();
    const std::size_t entries = std::size_t{1} << bmp.Depth;
    if (table.size() == entries && ColorTable) {
        bmp.Palette = ColorTable;
    } else {
        auto padded = std::make_shared<TColorTable>(entries, kMidGrey);
        std::copy_n(table.begin(), std::min(table.size(), entries), padded->begin());
        bmp.Palette = std::move(padded);
    }
    TLZWResult decoded = DecodeLZW(ImageData, Width, Height, BitsPerPixel, Interlaced, TransparentIndex);
    bmp.Pixels = std::move(decoded.Pixels);
    if (decoded.Corrupted) Corrupted = true;
    bitmap_ = std::move(bmp);
}

const TFrameBitmap& TGIFFrame::Bitmap() {
    Decode();
    return *bitmap_;
}

TGIFImage& TGIFImage::operator=(const TGIFImage& other) {
    s_ = other.s_;
    transparent_ = other.transparent_;
    return *this;
}

TGIFImage& TGIFImage::operator=(TGIFImage&& other) noexcept {
    s_ = std::move(other.s_);
    transparent_ = other.transparent_;
    return *this;
}

void TGIFImage::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EGIFFileOpen(path, std::strerror(errno));
    LoadFromStream(in);
}

void TGIFImage::LoadFromStream(std::istream& in) {
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EGIFStreamRead();
    LoadFromBytes(bytes);
}

void TGIFImage::Assign(const TGIFImage& other) {
    if (&other != this) s_ = other.s_;
    Changed();
}

void TGIFImage::Clear() {
    s_ = State{};
    Changed();
}

bool TGIFImage::IsTransparent() const {
    return transparent_ &&
           std::any_of(s_.Frames.begin(), s_.Frames.end(), [](const TGIFFrame& f) { return f.TransparentIndex >= 0; });
}

void TGIFImage::Changed() {
    if (OnChange) OnChange();
}

int FrameDelay(const TGIFImage& image, int index) {
    if (image.FrameCount() < 2 || index < 0 || index >= image.FrameCount()) return 0;
    return std::clamp(image.Frames()[index].Delay, kMinFrameDelay, kMaxFrameDelay);
}

}  // namespace dorvanel::gif
