// Sizing the skinned main window (200 rows) from its design size to 1280 x 1024 in 20 steps, and back: the
// median time from each resize to the end of its repaint (frame and client), with the skin's frame and with
// the plain frame around the same skinned controls; and the frame alone at 1280 x 1024 (strips and caption,
// and the window's outline from the mask). Targets: skinned at most 1.5 times plain, under 8 ms a step.
// Also a caption of 2,047 characters: the repaint after the pointer enters a caption button (under 2 ms),
// and applying the skin with that caption.
// Last, a full repaint of the main window (frame strips rebuilt, every control) at device pixel ratios 1, 1.5
// and 2, each in a process of its own started with QT_SCALE_FACTOR: the time per device pixel at 2 is at most
// 1.5 times that at 1.
#include "app/main_window.h"
#include "skinctrls/skin_draw.h"
#include "skinctrls/skin_frame.h"
#include "skinctrls/skin_listview.h"

#include <QApplication>
#include <QFontMetrics>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

using namespace dorvanel;

namespace {

double Ms(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Every step of five rounds out to 1280 x 1024 and back, each step resized and repainted at once.
double SizingStepMs(QWidget& window) {
    const QSize from = window.size(), to(1280, 1024);
    std::vector<QSize> steps;
    for (int i = 1; i <= 20; ++i) steps.push_back(from + (to - from) * i / 20);
    std::vector<double> ms;
    for (int round = 0; round < 5; ++round) {
        for (const QSize& size : steps)
            ms.push_back(Ms([&] {
                window.resize(size);
                window.repaint();
            }));
        window.resize(from);
        window.repaint();
    }
    return Median(ms);
}

void FillRows(app::TfrmMain& w) {
    auto* list = w.findChild<skinctrls::TSkinListView*>(QStringLiteral("lvwItems"));
    for (int i = 0; i < 200; ++i)
        list->Items().Add(QString::number(i + 1), {QStringLiteral("golf clubs keyword %1").arg(i),
                                                   QString::number(1000 + 7 * i), QString::number(1234567 + i),
                                                   QString::number(7654321 - i), QStringLiteral("%1 results").arg(i)});
}

constexpr const char* kRatioChild = "--full-repaint";

// In the child: the median full repaint of the main window at the ratio QT_SCALE_FACTOR gave, printed as
// "<ms> <device pixels>".
int FullRepaintChild() {
    app::TfrmMain w;
    FillRows(w);
    w.show();
    QApplication::processEvents();
    auto* frame = w.findChild<skinctrls::TSkinFrame*>(QStringLiteral("SkinFrame1"));
    std::vector<double> ms;
    // The whole window painted into an image of the screen's ratio, every control and the frame's strips
    // built again, whether or not the platform is showing the window yet.
    for (int i = 0; i < 60; ++i)
        ms.push_back(Ms([&] {
            frame->FrameChanged();
            w.grab();
        }));
    const QSize device = w.size() * w.devicePixelRatioF();
    std::printf("%f %lld\n", Median(ms), static_cast<long long>(device.width()) * device.height());
    return 0;
}

struct TRatioFigure {
    double Ms = 0;
    double Pixels = 0;
};

// The child's figure at one ratio, alternating rounds so that a busy machine weighs on all alike.
TRatioFigure RunRatioChild(const QString& self, const QString& ratio) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), ratio);
    child.setProcessEnvironment(env);
    child.start(self, {QString::fromLatin1(kRatioChild)});
    child.waitForFinished(-1);
    const QStringList parts = QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
    if (parts.size() < 2) return {};
    return {parts[0].toDouble(), parts[1].toDouble()};
}

void PrintRatioFigures(const QString& self) {
    const QStringList ratios = {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
    std::vector<std::vector<double>> perPixel(std::size_t(ratios.size()));
    std::vector<TRatioFigure> last(std::size_t(ratios.size()));
    for (int round = 0; round < 3; ++round)
        for (qsizetype i = 0; i < ratios.size(); ++i) {
            const TRatioFigure f = RunRatioChild(self, ratios[i]);
            if (f.Pixels <= 0) continue;
            perPixel[std::size_t(i)].push_back(f.Ms * 1e6 / f.Pixels);
            last[std::size_t(i)] = f;
        }
    for (const auto& v : perPixel)
        if (v.empty()) {
            std::printf("full repaint at ratios 1, 1.5, 2: a child process gave no figure\n");
            return;
        }
    for (qsizetype i = 0; i < ratios.size(); ++i)
        std::printf("full repaint of the main window at ratio %s: %.2f ms for %.0f device pixels, %.2f ns a pixel\n",
                    qPrintable(ratios[i]), last[std::size_t(i)].Ms, last[std::size_t(i)].Pixels,
                    Median(perPixel[std::size_t(i)]));
    std::printf("per device pixel, ratio 2 against ratio 1: %.2f (target <= 1.5); ratio 1.5 against 1: %.2f\n",
                Median(perPixel[2]) / Median(perPixel[0]), Median(perPixel[1]) / Median(perPixel[0]));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == kRatioChild) {
        QApplication app(argc, argv);
        return FullRepaintChild();
    }
    QApplication app(argc, argv);
    app::TfrmMain w;
    FillRows(w);
    w.show();
    QApplication::processEvents();
    auto* frame = w.findChild<skinctrls::TSkinFrame*>(QStringLiteral("SkinFrame1"));
    skin::TSkinData* skin = frame->SkinData();

    // Alternating rounds, so that a busy machine weighs on both alike.
    std::vector<double> skinned, plain, frameSkinned, framePlain, shape;
    for (int round = 0; round < 3; ++round) {
        frame->SetSkinData(skin);
        skinned.push_back(SizingStepMs(w));
        w.resize(1280, 1024);
        frameSkinned.push_back(Ms([&] { frame->RenderImage(); }));
        shape.push_back(Ms([&] {
            skinctrls::FrameShapeRegion(skin->Mask(), skin->FormInfo(), skin->MainPicture().size(), QSize(1280, 1024));
        }));
        frame->SetSkinData(nullptr);
        w.resize(660, 488);
        plain.push_back(SizingStepMs(w));
        w.resize(1280, 1024);
        framePlain.push_back(Ms([&] { frame->RenderImage(); }));
        w.resize(660, 488);
    }
    // The longest caption a branding file can give, and a hover over the close button with it.
    frame->SetSkinData(skin);
    w.resize(660, 488);
    w.setWindowTitle(QString(2047, QLatin1Char('W')));
    const double applyLong = Ms([&] {
        frame->SetSkinData(skin);
        w.repaint();
    });
    std::vector<double> hover;
    const auto* close = frame->Button(skin::TStdCommand::cmClose);
    const QRect closeRect = close ? close->ObjectRect : QRect(0, 0, 16, 16);
    for (int i = 0; i < 50; ++i)
        hover.push_back(Ms([&] {
            frame->FrameChanged(closeRect);
            w.repaint(closeRect);
        }));
    const QString longCaption = w.windowTitle();
    const double shorten = Ms([&] {
        skinctrls::FitTextWithEllipsis(QFontMetrics(skin::SkinFont("Arial", -15, {.Bold = true})), longCaption, 400);
    });
    w.setWindowTitle(QStringLiteral("Dorvanel"));

    const double s = Median(skinned), p = Median(plain);
    std::printf(
        "sizing step (resize + repaint, frame and client, 200 rows), median: skinned %.2f ms, plain frame "
        "%.2f ms, ratio %.2f (target <= 1.5, under 8 ms)\n",
        s, p, s / p);
    std::printf("the frame alone at 1280 x 1024: skinned %.3f ms, plain %.3f ms; outline from the mask %.3f ms\n",
                Median(frameSkinned), Median(framePlain), Median(shape));
    std::printf("a 2,047-character caption: hover repaint %.3f ms (target < 2 ms), applying the skin %.2f ms, "
                "shortening it once %.3f ms\n",
                Median(hover), applyLong, shorten);
    PrintRatioFigures(QCoreApplication::applicationFilePath());
    return 0;
}
