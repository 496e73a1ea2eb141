#pragma once
// The objects a window frame draws on its caption and border: the caption and the caption buttons. They are
// built from the skin's frame objects at every skin change (the plain frame has its own), laid out for the
// window's size and border icons, and each knows which skin rectangle shows its state.
#include "skin/data_skin_objects.h"
#include "skin/skin_data.h"
#include "skinctrls/frame_geometry.h"
#include "skinctrls/skin_blend.h"

#include <QImage>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

namespace dorvanel::skinctrls {

// Which caption commands a window offers (a set of these bits).
enum TBorderIcon : int { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biRollUp = 8, biMinimizeToTray = 16 };
using TBorderIcons = int;

class TSkinFrameObject {
public:
    // data: the skin's object, or null for an object of the plain frame.
    TSkinFrameObject(const skin::TDataSkinObject* data, std::function<void()> repaint);
    virtual ~TSkinFrameObject() = default;

    const skin::TDataSkinObject* Data() const { return FData; }
    // The picture the object's images come from: its own (skinrectinapicture) or the frame picture.
    const QImage* Picture(const skin::TSkinData* skin) const;
    bool InOwnPicture() const { return FData && FData->skinrectinapicture; }

    QRect ObjectRect;  // on the window
    bool Enabled = true;
    bool Visible = true;
    bool Hot = false;
    bool Pressed = false;
    TStateBlend Blend;

private:
    const skin::TDataSkinObject* FData;
};

class TSkinCaptionObject : public TSkinFrameObject {
public:
    using TSkinFrameObject::TSkinFrameObject;
    const skin::TDataSkinCaption* Caption() const { return static_cast<const skin::TDataSkinCaption*>(Data()); }
};

class TSkinStdButtonObject : public TSkinFrameObject {
public:
    TSkinStdButtonObject(const skin::TDataSkinStdButton* data, skin::TStdCommand command, std::function<void()> repaint)
        : TSkinFrameObject(data, std::move(repaint)), Command(command) {}
    const skin::TDataSkinStdButton* Button() const { return static_cast<const skin::TDataSkinStdButton*>(Data()); }

    skin::TStdCommand Command;
};

using TFrameObjects = std::vector<std::unique_ptr<TSkinFrameObject>>;

// The caption object and caption buttons of a skin, in the skin's order (other frame objects are not drawn
// by the frame).
TFrameObjects BuildSkinObjects(const skin::TSkinData& skin, const std::function<void()>& repaint);
// The plain frame's caption, close, maximise and minimise buttons.
TFrameObjects BuildPlainObjects(const std::function<void()>& repaint);

// Whether a window with these border icons offers a command (close always does; a custom button never, the
// program's windows allow none).
bool CommandAvailable(skin::TStdCommand command, TBorderIcons icons);

struct TFrameLayoutInput {
    TBorderIcons BorderIcons = biSystemMenu;
    bool HideCaptionButtons = false;
    bool ShowIcon = false;
    // Set for the skin's layout (null lays the plain frame out).
    const skin::TSkinFormInfo* Info = nullptr;
    QSize PictureSize;
    TFrameFit Fit;
};

// Places every object and sets its enabled and visible flags.
void LayoutFrameObjects(TFrameObjects& objects, const TFrameLayoutInput& input);

// The plain frame's caption strip for a window of this size.
QRect PlainCaptionRect(QSize windowSize);
// The plain frame's caption button size.
inline constexpr QSize kPlainButtonSize{16, 14};

// The rectangle of its picture a skin caption button shows now (empty: nothing to draw over the frame).
// toggled: the window is in the state the button reverses (maximised, minimised, rolled up).
skin::TRect ButtonStateRect(const TSkinStdButtonObject& button, bool active, bool toggled, bool hotImage);

}  // namespace dorvanel::skinctrls
