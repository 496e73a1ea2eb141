#pragma once
// The small pictures of the file dialog's tool buttons, drawn in code: "DLG_BACK", "DLG_UP",
// "DLG_NEWFOLDER" and "DLG_LVSTYLE". The bottom-left pixel holds the transparent colour.
#include <QImage>
#include <QString>

namespace dorvanel::skindialogs {

// A 16 by 16 glyph by resource name; a null image for an unknown name.
QImage DialogGlyph(const QString& name);

}  // namespace dorvanel::skindialogs
