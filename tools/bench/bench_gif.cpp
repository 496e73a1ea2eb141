// Decoding and composing every frame of a GIF, beside giflib decoding the same bytes in the same run.
// The test pictures are made by Debian's ImageMagick: a 468 x 60 banner of 50 frames (optimised, so with
// partial frames, transparency and disposals) and a 2000 x 2000 single picture of 256 noisy colours.
#include <gif_lib.h>
#include <sys/resource.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "images/gif/frame_composer.h"
#include "images/gif/gif_bytes.h"
#include "images/gif/gif_image.h"
#include "support/plain/imagemagick.h"
#include "support/plain/temp_dir.h"

namespace {

using namespace dorvanel::gif;
using dorvanel::gif::testing::GifBuilder;
using dorvanel::gif::testing::LiteralImageData;
using dorvanel::test::RunConvert;

// CPU time of this thread in milliseconds: the machine is shared, and wall time would count the others.
double ThreadMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Best time of several rounds, each long enough to measure, in milliseconds per pass.
double BestMs(const std::function<void()>& pass) {
    pass();  // warm up
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        int passes = 0;
        const double start = ThreadMs();
        double elapsed = 0;
        do {
            pass();
            ++passes;
            elapsed = ThreadMs() - start;
        } while (elapsed < 300);
        best = std::min(best, elapsed / passes);
    }
    return best;
}

struct MemoryReader {
    const std::string* bytes;
    std::size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buf, int len) {
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(len), r->bytes->size() - r->pos);
    std::memcpy(buf, r->bytes->data() + r->pos, n);
    r->pos += n;
    return static_cast<int>(n);
}

std::size_t volatile sink = 0;

long MaxRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void GiflibDecode(const std::string& bytes) {
    MemoryReader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    if (!gif) std::abort();
    if (DGifSlurp(gif) != GIF_OK) std::abort();
    sink = sink + static_cast<std::size_t>(gif->ImageCount);
    DGifCloseFile(gif, &error);
}

void OursDecode(const std::string& bytes) {
    TGIFImage image;
    image.LoadFromBytes(bytes);
    for (TGIFFrame& f : image.Frames()) sink = sink + f.Bitmap().Pixels.size();
}

void OursDecodeAndCompose(const std::string& bytes) {
    TGIFImage image;
    image.LoadFromBytes(bytes);
    TFrameComposer composer;
    for (int n = 0; n < image.FrameCount(); ++n) sink = sink + composer.ComposeFrameBitmap(image, n).Pixels[0];
}

void Measure(const char* name, const std::string& bytes) {
    const double giflib = BestMs([&] { GiflibDecode(bytes); });
    const double decode = BestMs([&] { OursDecode(bytes); });
    const double compose = BestMs([&] { OursDecodeAndCompose(bytes); });
    std::printf("%-28s giflib decode %8.3f ms | ours decode %8.3f ms (%.2fx) | ours decode+compose %8.3f ms (%.2fx)\n",
                name, giflib, decode, decode / giflib, compose, compose / giflib);
}

// Memory of the most frames a file may have, each 1 x 1 with its own graphic control, decoded and played.
// Run first, while the peak is still the program's own.
void MeasureTinyFrames() {
    GifBuilder tiny;
    tiny.Header(16, 16, 8);
    for (int i = 0; i < kMaxFrames; ++i) {
        tiny.GraphicControl(1, 2).Image(i % 16, i / 16 % 16, 1, 1, LiteralImageData({7}, 8));
    }
    tiny.Trailer();
    const long before = MaxRssKb();
    {
        TGIFImage image;
        image.LoadFromBytes(tiny.bytes);
        TFrameComposer composer;
        for (int n = 0; n < image.FrameCount(); ++n) sink = sink + composer.ComposeFrameBitmap(image, n).Pixels[0];
        std::printf("%d tiny frames (%zu bytes of file): peak memory grew by %ld kB while loading and playing\n",
                    image.FrameCount(), tiny.bytes.size(), MaxRssKb() - before);
    }
}

}  // namespace

int main() {
    MeasureTinyFrames();
    dorvanel::test::TempDir dir;
    const std::string banner = dir.file("banner.gif");
    const std::string large = dir.file("large.gif");

    std::vector<std::string> args{"-size", "468x60", "-delay", "8"};
    for (int i = 0; i < 50; ++i) {
        args.insert(
            args.end(),
            {"(", "gradient:navy-skyblue", "-fill", "gold", "-draw",
             "circle " + std::to_string(9 * i + 10) + ",30 " + std::to_string(9 * i + 30) + ",30", "-fill", "white",
             "-draw", "rectangle " + std::to_string(400 - 7 * i) + ",10 " + std::to_string(440 - 7 * i) + ",50", ")"});
    }
    args.insert(args.end(), {"-layers", "optimize", "-loop", "0", banner});
    if (!RunConvert(args) || !RunConvert({"-seed", "42", "-size", "2000x2000", "plasma:", "-attenuate", "0.5", "+noise",
                                          "Gaussian", "+dither", "-colors", "256", large})) {
        std::printf("bench_gif: convert-im6.q16 (ImageMagick) is needed to make the test pictures; skipped\n");
        return 0;
    }

    const std::string bannerBytes = dorvanel::test::readFileBytes(banner);
    const std::string largeBytes = dorvanel::test::readFileBytes(large);
    TGIFImage check;
    check.LoadFromBytes(bannerBytes);
    std::printf("banner: %d x %d, %d frames, %zu bytes; large: %zu bytes\n", check.Width(), check.Height(),
                check.FrameCount(), bannerBytes.size(), largeBytes.size());
    Measure("banner 468x60, 50 frames", bannerBytes);
    Measure("single 2000x2000", largeBytes);

    // 5,000 small frames that each put back what they covered: playing them once takes time in proportion to
    // the frames, not to their square (ImageMagick would take minutes to write so many; built here instead).
    // Every other frame is kept, so composing afresh would redraw all the kept ones before it each time.
    GifBuilder restoring;
    restoring.Header(468, 60, 2).GraphicControl(1, 2, 0);
    restoring.Image(0, 0, 468, 60, LiteralImageData(std::vector<std::uint8_t>(468 * 60, 1), 2));
    for (int i = 0; i < 5000; ++i) {
        restoring.GraphicControl(i % 2 ? 3 : 1, 2)
            .Image(i % 460, i % 54, 6, 6, LiteralImageData(std::vector<std::uint8_t>(36, 2 + i % 2), 2));
    }
    restoring.Trailer();
    Measure("5,000 6x6 frames, half restoring", restoring.bytes);

    return 0;
}
