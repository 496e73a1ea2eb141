#pragma once
// Every skinned control of the program drawn by the control library itself from a skin, in every state it
// shows (normal, hot, pressed, disabled, checked, focused), one row per control, for judging a skin by eye
// at the top of its contact sheet. Needs a QApplication.
#include "skin/skin_data.h"

#include <QImage>

namespace dorvanel::skinpack {

QImage RenderControlSheet(skin::TSkinData& skin);

}  // namespace dorvanel::skinpack
