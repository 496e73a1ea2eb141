#pragma once
// The GIF variant of LZW: variable-width codes from the minimum code size up to 12 bits, packed low bit first
// into data sub-blocks.
#include <cstdint>
#include <string_view>
#include <vector>

#include "images/gif/index_pixels.h"

namespace dorvanel::gif {

struct TLZWResult {
    TIndexPixels Pixels;  // width * height indices, rows top to bottom
    bool Corrupted = false;
};

// Decodes `stored` (the minimum code size byte followed by the data sub-blocks) into one index per pixel,
// each masked to `bitsPerPixel` bits, except `keptIndex` (the transparent index, -1 for none), which stays as
// it is so that it still marks its pixels when it lies beyond the colour table. Damaged data never fails:
// decoding stops, the result is marked corrupted, and pixels not reached stay at index 0. Interlaced rows
// are put back in picture order.
TLZWResult DecodeLZW(std::string_view stored, int width, int height, int bitsPerPixel, bool interlaced,
                     int keptIndex = -1);

}  // namespace dorvanel::gif
