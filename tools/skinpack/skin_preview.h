#pragma once
// A mock main window drawn from a skin with simple slicing, for judging a skin by eye on its contact sheet.
// It is no replacement for the skinned controls; it only shows the pieces side by side at working sizes.
#include "skin/skin_data.h"

#include <QImage>

namespace dorvanel::skinpack {

QImage RenderPreview(const skin::TSkinData& skin, bool active);

}  // namespace dorvanel::skinpack
