// Applies fuzzed skin archives. The first byte picks the carrier: even, the rest is an inner archive
// (version, picture slots, list pictures, description), wrapped in stored zlib blocks so the fuzzer
// sees its own bytes; odd, the rest is the compressed data itself, through inflation. Every failure must be one
// of the skin's own exceptions; a loaded skin is written back and read again, and then drawn: a window frame
// and one control of each kind at two sizes, where every pixel of the frame must be drawn. Run with
// -malloc_limit_mb=256 (scripts/fuzz.sh does), an oversized picture built while painting is a finding too.
#include "skin/skin_data.h"
#include "skin/skin_description.h"
#include "skin/skin_errors.h"
#include "skinctrls/skin_combobox.h"
#include "skinctrls/skin_controls.h"
#include "skinctrls/skin_frame.h"

#include <QApplication>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace dorvanel::skin;
using namespace dorvanel::skinctrls;

namespace {

// A zlib stream of stored (uncompressed) blocks, built by hand: cheaper per run than a deflate state.
QByteArray StoredBlocks(const char* bytes, std::size_t length) {
    QByteArray out("\x78\x01", 2);
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(length - at, 65535);
        const bool last = at + n == length;
        const char head[5] = {char(last ? 1 : 0), char(n & 0xFF), char(n >> 8), char(~n & 0xFF),
                              char((~n >> 8) & 0xFF)};
        out.append(head, 5);
        out.append(bytes + at, qsizetype(n));
        at += n;
    } while (at < length);
    const uLong sum = adler32(1, reinterpret_cast<const Bytef*>(bytes), uInt(length));
    const char tail[4] = {char(sum >> 24), char(sum >> 16), char(sum >> 8), char(sum)};
    out.append(tail, 4);
    return out;
}

void EnsureApplication() {
    if (QApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_skin";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

// Every pixel of the window outside its client area, rendered over transparency, must have been drawn.
void CheckFrameDrawn(TSkinFrame& frame) {
    const QImage image = frame.RenderImage();
    const QRect client = frame.ClientArea()->geometry();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!client.contains(x, y) && qAlpha(image.pixel(x, y)) != 255) std::abort();
}

void PaintWith(TSkinData& skin) {
    QWidget form;
    auto* frame = new TSkinFrame(&form, TFormBorderStyle::bsSizeable);
    frame->SetSkinData(&skin);
    QWidget* client = frame->ClientArea();
    std::vector<std::pair<QWidget*, dorvanel::platform::TControlBounds*>> controls;
    const auto add = [&](auto* control) { controls.emplace_back(control, control); };
    add(new TSkinButton(client));
    add(new TSkinPanel(client));
    add(new TSkinCheckRadioBox(client));
    add(new TSkinStatusBar(client));
    add(new TSkinStatusPanel(client));
    add(new TSkinGauge(client));
    auto* hbar = new TSkinScrollBar(client);
    hbar->SetPageSize(10);
    add(hbar);
    auto* vbar = new TSkinScrollBar(client);
    vbar->SetKind(TScrollBarKind::sbVertical);
    vbar->SetSkinDataName(QStringLiteral("vscrollbar"));
    add(vbar);
    add(new TSkinEdit(client));
    add(new TSkinComboBox(client));
    add(new TSkinStdLabel(client));
    add(new TSkinLinkLabel(client));
    auto* list = new TSkinListView(client);
    list->AddColumn(QStringLiteral("Keywords"), 80);
    list->Items().Add(QStringLiteral("1"), {QStringLiteral("keyword")}, true);
    add(list);
    for (auto& [widget, bounds] : controls)
        if (auto* skinned = dynamic_cast<TSkinClient*>(widget)) skinned->SetSkinData(&skin);
    for (const QSize size : {QSize(60, 20), QSize(700, 500)}) {
        frame->SetClientSize(size.width(), size.height());
        CheckFrameDrawn(*frame);
        for (auto& [widget, bounds] : controls) {
            bounds->SetBounds(0, 0, size.width() / 2, size.height() / 2);
            widget->grab();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > (1u << 20)) return 0;
    TCompressedStoredSkin stored;
    const auto* body = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<uLong>(size - 1);
    if (data[0] % 2 == 0) {
        stored.CompressedData = StoredBlocks(body, length);
    } else {
        stored.CompressedData = QByteArray(body, qsizetype(length));
    }
    EnsureApplication();
    TSkinData skin;
    try {
        skin.ApplyStoredSkin(stored);
    } catch (const dorvanel::Exception&) {
        return 0;
    }
    if (skin.SkinEmpty()) return 0;
    TSkinDescription written;
    for (int i = 0; i < skin.SkinControls().Count(); ++i) skin.Control(i)->WriteDescription(written);
    for (int i = 0; i < skin.SkinObjects().Count(); ++i) skin.Object(i)->WriteDescription(written);
    // What was written reads back without a conversion error.
    for (int i = 0; i < skin.SkinControls().Count(); ++i) {
        auto again = CreateSkinControl("button", skin.Control(i)->IDName);
        again->ReadDescription(written);
    }
    for (int i = 0; i < skin.PictureCount(); ++i)
        if (skin.Picture(i)->isNull()) std::abort();
    PaintWith(skin);
    return 0;
}
