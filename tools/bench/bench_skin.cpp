// Skin speed: applying the default skin (inflate, pictures, description) and one blend step of each mix and
// one pass of each inactive-frame effect on a 640 x 480 buffer. Targets: under 20 ms to apply the skin,
// under 5 ms per blend step.
#include "skin/effect_bmp.h"
#include "skin/skin_data.h"
#include "defaultskin/default_skin.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

using namespace dorvanel::skin;

namespace {

struct Figures {
    double Best, Median;
};

// Runs `step` `runs` times, timing each run alone (prepare runs untimed before each).
Figures Measure(int runs, const std::function<void()>& prepare, const std::function<void()>& step) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        step();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

void Report(const char* what, Figures f) {
    std::printf("%-34s best %8.3f ms   median %8.3f ms\n", what, f.Best, f.Median);
}

QImage Noise(int w, int h, unsigned seed) {
    QImage image(w, h, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) line[x] = random() | 0xFF000000u;
    }
    return image;
}

}  // namespace

int main() {
    TCompressedStoredSkin stored;
    stored.CompressedData = dorvanel::defaultskin::DefaultSkinData();
    TMemoryStream inflated;
    stored.ExtractArchive(inflated);
    std::printf("default skin: %lld compressed bytes, %lld inflated\n",
                static_cast<long long>(stored.CompressedData.size()), static_cast<long long>(inflated.Size()));
    TSkinData skin;
    Report("apply default skin", Measure(
                                     50, [] {}, [&] { skin.ApplyStoredSkin(stored); }));
    std::printf("  %d pictures, %d controls, %d frame objects\n", skin.PictureCount(), skin.SkinControls().Count(),
                skin.SkinObjects().Count());

    const QImage normalPicture = Noise(640, 480, 1), activePicture = Noise(640, 480, 2);
    const TEffectBmp source(normalPicture), active(activePicture);
    TEffectBmp work(normalPicture);
    const char* mixes[] = {"mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
                           "mkleftslide", "mkrightslide", "mkpush"};
    for (int k = 0; k <= int(TMorphKind::mkPush); ++k) {
        char label[64];
        std::snprintf(label, sizeof label, "blend step %s (x 0.4)", mixes[k]);
        Report(label, Measure(
                          30, [&] { work = source; }, [&] { work.Mix(TMorphKind(k), active, 0.4); }));
    }
    const char* effects[] = {"iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};
    for (int e = 0; e <= int(TFrameEffect::ieInvert); ++e) {
        char label[64];
        std::snprintf(label, sizeof label, "inactive effect %s", effects[e]);
        Report(label, Measure(
                          30, [&] { work = source; }, [&] { work.Apply(TFrameEffect(e)); }));
    }
    return 0;
}
