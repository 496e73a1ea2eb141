#pragma once
// The largest picture the program holds, whoever decodes it (the still-picture loader, the GIF decoder): a
// side longer than kMaxPictureSide or more than kMaxPicturePixels pixels is refused before any of it is
// decoded, so that a file cannot make the program reserve memory it will never fill.
#include <cstdint>

namespace dorvanel::common {

inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = 64'000'000;

}  // namespace dorvanel::common
