#include "skin/effect_bmp.h"

namespace dorvanel::skin {

TEffectBmp::TEffectBmp(int width, int height) : FImage(width, height, QImage::Format_BGR888) { FImage.fill(0); }
TEffectBmp::TEffectBmp(const QImage& picture) : FImage(picture.convertToFormat(QImage::Format_BGR888)) {}
void TEffectBmp::DrawTo(QPainter& painter, int x, int y) const { painter.drawImage(x, y, FImage); }
TBGR TEffectBmp::Pixel(int x, int y) const {
    const std::uint8_t* p = RowStart(y) + 3 * x;
    return {p[0], p[1], p[2]};
}
void TEffectBmp::SetPixel(int x, int y, TBGR v) {
    std::uint8_t* p = RowStart(y) + 3 * x;
    p[0] = v.Blue, p[1] = v.Green, p[2] = v.Red;
}
std::vector<std::uint8_t> TEffectBmp::Row(int y) const { return {RowStart(y), RowStart(y) + 3 * Width()}; }
void TEffectBmp::SetRow(int y, const std::vector<std::uint8_t>& row) {
    std::copy(row.begin(), row.begin() + std::min<std::ptrdiff_t>(row.size(), 3 * Width()), RowStart(y));
}
void TEffectBmp::CopyFlipped(TEffectBmp&) const {}
void TEffectBmp::MixUniform(const TEffectBmp&, double) {}
void TEffectBmp::MixGradientCentre(const TEffectBmp&, double) {}
void TEffectBmp::MixGradientLeft(const TEffectBmp&, double) {}
void TEffectBmp::MixGradientRight(const TEffectBmp&, double) {}
void TEffectBmp::MixSlideLeft(const TEffectBmp&, double) {}
void TEffectBmp::MixSlideRight(const TEffectBmp&, double) {}
void TEffectBmp::MixPush(const TEffectBmp&, double) {}
void TEffectBmp::Mix(TMorphKind, const TEffectBmp&, double) {}
void TEffectBmp::ApplyLighten(double) {}
void TEffectBmp::ApplyDarken(double) {}
void TEffectBmp::ApplyGray() {}
void TEffectBmp::ApplyNegative() {}
void TEffectBmp::ApplyNoise(int) {}
void TEffectBmp::ApplySplitBlur(int) {}
void TEffectBmp::Apply(TFrameEffect) {}

TFBitmap::TFBitmap(const QImage& picture) : FImage(picture.convertToFormat(QImage::Format_BGR888)) {
    for (int y = 0; y < FImage.height(); ++y) FRows.push_back(FImage.constScanLine(y));
}
TBGR TFBitmap::Pixel(int x, int y) const {
    const std::uint8_t* p = RowStart(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

QImage BlendStates(const QImage& normal, const QImage&, TMorphKind, double) { return normal; }

}  // namespace dorvanel::skin
