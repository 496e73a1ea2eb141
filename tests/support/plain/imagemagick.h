#pragma once
// Debian's ImageMagick as a reference for picture tests: it makes the test files and decodes them for
// comparison. Called by its versioned name, since another `convert` may come first on PATH.
#include <cstdint>
#include <string>
#include <vector>

namespace dorvanel::test {

// True when convert-im6.q16 can be run.
bool HaveImageMagick();

// Runs convert-im6.q16 with these arguments (no shell between); true when it exits with 0.
bool RunConvert(const std::vector<std::string>& args);

// Every frame of a GIF as ImageMagick composes it with -coalesce: width * height * 4 bytes (R, G, B, A) each.
struct TCoalescedFrames {
    int Width = 0;
    int Height = 0;
    std::vector<std::vector<std::uint8_t>> Frames;
};
TCoalescedFrames CoalesceWithImageMagick(const std::string& gifPath, int width, int height,
                                         const std::string& scratchPath);

}  // namespace dorvanel::test

// Skips the running test when ImageMagick is missing (setup.sh installs it, so CI always runs these).
#define DORVANEL_REQUIRE_IMAGEMAGICK()                                                                \
    do {                                                                                              \
        if (!::dorvanel::test::HaveImageMagick()) GTEST_SKIP() << "convert-im6.q16 is not installed"; \
    } while (0)
