#include "skin_generator.h"

#include "skin/bitmap_io.h"
#include "skin/skin_errors.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace dorvanel::skinpack {

using namespace dorvanel::skin;

void DrawControlSections(const TSkinDescription& description, const TSectionLooks& looks) {
    const int count = description.ReadInteger("SKINCONTROLS", "count", 0);
    for (const auto& [index, entry] : description.ReadEntries("SKINCONTROLS", count)) {
        const std::string name = entry.substr(0, entry.find(':'));
        const auto look = looks.find(name);
        if (look == looks.end()) throw dorvanel::Exception("no look for the section \"" + name + "\"");
        look->second(name);
    }
}

namespace {

void WritePicture(const TDrawnPictures& pictures, int index, const QString& folder, const std::string& name) {
    const auto it = pictures.find(index);
    if (it == pictures.end()) throw dorvanel::Exception("nothing was drawn for " + name);
    TMemoryStream bytes;
    WriteBitmap(bytes, it->second);
    QFile out(folder + "/" + QString::fromStdString(name));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes.Data()) != bytes.Size())
        throw EFOpenError(out.fileName().toStdString(), out.errorString().toStdString());
}

}  // namespace

int RunGenerator(int argc, char** argv, const char* tool,
                 const std::function<TDrawnPictures(const TSkinDescription&)>& draw) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <description.skn> <output folder>\n", tool);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) throw EFOpenError(argv[1], file.errorString().toStdString());
        const QByteArray text = file.readAll();
        const TSkinDescription d(std::string_view(text.constData(), std::size_t(text.size())));
        const TDrawnPictures pictures = draw(d);
        const QString folder = QString::fromLocal8Bit(argv[2]);
        WritePicture(pictures, -1, folder, d.ReadString("PICTURES", "picture"));
        WritePicture(pictures, -2, folder, d.ReadString("PICTURES", "mask"));
        const std::vector<std::string> names = d.ReadNameList("PICTURES", "activepictures");
        for (std::size_t i = 0; i < names.size(); ++i) WritePicture(pictures, int(i), folder, names[i]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", tool, e.what());
        return 1;
    }
    return 0;
}

}  // namespace dorvanel::skinpack
