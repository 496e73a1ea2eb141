#pragma once
// The GIF picture as read from a file: the logical screen, its colour tables, the frames with their stored
// LZW data, and the extensions that came with them. Frames are decoded to indexed bitmaps on first use.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/picture_limits.h"
#include "images/gif/index_pixels.h"

namespace dorvanel::gif {

// How the picture loader knows this kind of picture.
inline constexpr const char* kGIFFileExtension = "gif";
inline constexpr const char* kGIFDescription = "CompuServe GIF Image";

// Caps on what a file may ask us to hold. A side longer than kMaxPictureSide, more than kMaxPicturePixels
// pixels in the logical screen or in all frames together (each frame's and each kept extension's own
// bookkeeping counted as that many bytes of pixels), or more than kMaxFrames frames is refused with
// "Stream read error".
using common::kMaxPictureSide;
using common::kMaxPicturePixels;
inline constexpr int kMaxFrames = 65536;

// Frame delays are played within these bounds (milliseconds).
inline constexpr int kMinFrameDelay = 50;
inline constexpr int kMaxFrameDelay = 10000;
// A loop extension asks for at most this many repetitions.
inline constexpr int kMaxRepeatCount = 30000;

struct TRGB {
    std::uint8_t R = 0, G = 0, B = 0;
    friend bool operator==(const TRGB&, const TRGB&) = default;
};
using TColorTable = std::vector<TRGB>;
// Colour tables are shared: every frame without a table of its own points at the global one.
using TSharedColorTable = std::shared_ptr<const TColorTable>;

// Bits per pixel of a colour table of `count` entries; throws EGIFBadColorCount unless count is a power of two
// from 2 to 256.
int BitsForColorCount(std::size_t count);

enum class TExtensionKind { GraphicControl, PlainText, Application, Comment };

inline constexpr std::uint8_t kLabelGraphicControl = 0xF9;
inline constexpr std::uint8_t kLabelPlainText = 0x01;
inline constexpr std::uint8_t kLabelApplication = 0xFF;
inline constexpr std::uint8_t kLabelComment = 0xFE;

struct TExtension {
    TExtensionKind Kind = TExtensionKind::Comment;
    std::string Fixed;                   // the fixed-size bytes after the label, as read
    std::vector<std::string> SubBlocks;  // the data sub-blocks, without their length bytes

    // The sub-blocks joined (a comment's text).
    std::string Data() const;
};

// The decoded picture of one frame: one colour index per pixel, rows top to bottom, and the palette of a
// device-independent bitmap of Depth bits (1, 4 or 8) whose entries beyond the colour table are mid-grey.
// The palette is the colour table itself when that fills it. A pixel may hold the frame's transparent index
// even where that lies beyond the palette.
struct TFrameBitmap {
    int Width = 0;
    int Height = 0;
    int Depth = 8;
    TSharedColorTable Palette;
    TIndexPixels Pixels;
};

inline constexpr TRGB kMidGrey{128, 128, 128};

class TGIFFrame {
public:
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Interlaced = false;
    bool HasLocalColorTable = false;
    TSharedColorTable ColorTable;  // its own, or the global one; never null once read
    int BitsPerPixel = 1;
    std::string ImageData;  // the LZW minimum code size byte, then the data sub-blocks as in the file

    // None, or the colour at the transparent index (mid-grey when the index lies beyond the colour table:
    // the index alone decides which pixels are transparent).
    std::optional<TRGB> TransparentColor;
    int TransparentIndex = -1;           // the index behind TransparentColor, -1 for none
    int Delay = 0;                       // milliseconds, as stored (unclamped)
    int Disposal = 0;                    // 0 to 7
    bool Corrupted = false;              // damaged data met while reading or decoding
    std::vector<TExtension> Extensions;  // comment and graphic control extensions that came before it

    const TColorTable& Colors() const;
    // The decoded picture, decoded on first use.
    const TFrameBitmap& Bitmap();
    bool IsDecoded() const { return bitmap_.has_value(); }
    void Decode();

private:
    std::optional<TFrameBitmap> bitmap_;
};

class TGIFImage {
public:
    TGIFImage() = default;
    // Copies and moves take the contents, never OnChange, which belongs to whoever watches this object.
    TGIFImage(const TGIFImage& other) : s_(other.s_), transparent_(other.transparent_) {}
    TGIFImage(TGIFImage&& other) noexcept : s_(std::move(other.s_)), transparent_(other.transparent_) {}
    TGIFImage& operator=(const TGIFImage& other);
    TGIFImage& operator=(TGIFImage&& other) noexcept;

    // Reading replaces the picture. On a failure the picture is left empty and the error passes on; either way
    // OnChange is called.
    void LoadFromFile(const std::string& path);
    void LoadFromStream(std::istream& in);
    void LoadFromBytes(std::string_view bytes);
    // Takes another picture's contents (not its OnChange) and reports a change.
    void Assign(const TGIFImage& other);
    void Clear();

    int Version() const { return s_.Version; }  // 1 for "87a", 2 for "89a", 0 when empty
    int Width() const { return s_.Width; }      // logical screen
    int Height() const { return s_.Height; }
    std::optional<TRGB> BackgroundColor() const { return s_.BackgroundColor; }
    int BackgroundIndex() const { return s_.BackgroundIndex; }
    const TColorTable& GlobalColorTable() const;
    int BitsPerPixel() const { return s_.BitsPerPixel; }
    int ColorResolution() const { return s_.ColorResolution; }
    int AspectRatio() const { return s_.AspectRatio; }
    const std::vector<std::string>& Comment() const { return s_.Comment; }
    bool Looping() const { return s_.Looping; }
    int RepeatCount() const { return s_.RepeatCount; }

    std::vector<TGIFFrame>& Frames() { return s_.Frames; }
    const std::vector<TGIFFrame>& Frames() const { return s_.Frames; }
    int FrameCount() const { return static_cast<int>(s_.Frames.size()); }
    bool Empty() const { return s_.Frames.empty(); }
    int CurrentFrameIndex() const { return s_.CurrentFrameIndex; }

    // Switched on when created: the picture then counts as transparent when any frame has a transparent colour.
    // It belongs to the picture object, not to its contents: loading and assigning keep it.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    bool IsTransparent() const;

    // Called after every load, assignment and clearing.
    std::function<void()> OnChange;

private:
    friend class TGIFReader;
    struct State {
        int Version = 0;
        int Width = 0, Height = 0;
        std::optional<TRGB> BackgroundColor;
        int BackgroundIndex = 0;
        TSharedColorTable GlobalColorTable;  // null when the file has none
        int BitsPerPixel = 0;
        int ColorResolution = 0;
        int AspectRatio = 0;
        std::vector<std::string> Comment;
        bool Looping = false;
        int RepeatCount = 0;
        std::vector<TGIFFrame> Frames;
        int CurrentFrameIndex = -1;
    };
    void Changed();
    State s_;
    bool transparent_ = true;
};

// How long frame `index` is shown: 0 when the picture has fewer than two frames or the index is out of range,
// otherwise its delay held within kMinFrameDelay..kMaxFrameDelay.
int FrameDelay(const TGIFImage& image, int index);

}  // namespace dorvanel::gif
