#pragma once
// Frame skin objects (entries of [SKINOBJECTS], drawn by the window frame) and the frame's own values:
// [FORMINFO], [POPUPWINDOW] and [HINTWINDOW].
#include "skin/data_skin_controls.h"
#include "skin/skin_description.h"
#include "skin/skin_types.h"

#include <memory>
#include <string>
#include <string_view>

namespace dorvanel::skin {

class TDataSkinObject : public TSkinDescribed {
public:
    using TSkinDescribed::TSkinDescribed;

    std::string hint;
    int activepictureindex = -1;
    bool skinrectinapicture = false;
    TRect skinrect, activeskinrect, inactiveskinrect;
    bool morphing = false;
    TMorphKind morphkind = TMorphKind::mkDefault;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TRect downrect;
    TRect disableskinrsect;  // the key is spelled so

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinStdButton : public TDataSkinButton {
public:
    using TDataSkinButton::TDataSkinButton;
    TStdCommand command = TStdCommand::cmDefault;
    TRect restorerect, restoreactiverect, restoredownrect, restoreinactiverect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinMainMenuBarButton : public TDataSkinStdButton {
public:
    using TDataSkinStdButton::TDataSkinStdButton;
};

class TDataSkinMenuItem : public TDataSkinObject, public TSkinFontKeys {
public:
    using TDataSkinObject::TDataSkinObject;
    int itemleftoffset = 0, itemrightoffset = 0;
    TRect dividerrect;
    int dividerleftoffset = 0, dividerrightoffset = 0;
    TRect textrect;
    int activefontcolor = 0, unenabledfontcolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinMainMenuItem : public TDataSkinObject, public TSkinFontKeys {
public:
    using TDataSkinObject::TDataSkinObject;
    int itemleftoffset = 0, itemrightoffset = 0;
    TRect downrect, textrect;
    int activefontcolor = 0, downfontcolor = 0, unenabledfontcolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinMainMenuBarItem : public TDataSkinMainMenuItem {
public:
    using TDataSkinMainMenuItem::TDataSkinMainMenuItem;
};

class TDataSkinCaption : public TDataSkinObject, public TSkinFontKeys {
public:
    using TDataSkinObject::TDataSkinObject;
    TRect textrect;
    int activefontcolor = 0;
    TAlignment alignment = TAlignment::taCenter;
    bool shadow = false;
    int shadowcolor = 0, activeshadowcolor = 0;
    TRect framerect, activeframerect, frametextrect;
    int frameleftoffset = 0, framerightoffset = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinAnimate : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    // Blending is never used for animations.
    void ReadDescription(const TSkinDescription& description) override;
    int countframes = 1;
    bool cycle = false;
    bool buttonstyle = false;
    int timerinterval = 50;
    TStdCommand command = TStdCommand::cmDefault;

protected:
    void Exchange(TSkinKeys& keys) override;
};

// Reads only "skinrect".
class TDataUserObject : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

protected:
    void Exchange(TSkinKeys& keys) override;
};

// The object for a [SKINOBJECTS] kind ("caption", "stdbutton", ...; exact), or null for an unknown kind.
std::unique_ptr<TDataSkinObject> CreateSkinObject(std::string_view kind, std::string idName);

// The four corner points, client rectangle and stretch flags of a sliced window picture.
struct TSkinWindowGeometry {
    TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
    bool leftstretch = false, rightstretch = false, topstretch = false, bottomstretch = false;
};

// [FORMINFO]: the window frame's values.
struct TSkinFormInfo : TSkinDescribed, TSkinWindowGeometry {
    TSkinFormInfo() : TSkinDescribed("FORMINFO") {}
    TRect clientrect;
    int bgpictureindex = -1;
    int mdibgpictureindex = -1;
    TRect maskrectarea;
    TPoint hittestlefttoppoint, hittestrighttoppoint, hittestleftbottompoint, hittestrightbottompoint;
    TRect buttonsrect, captionrect;
    int buttonsoffset = 0;
    bool buttonsinleft = false;
    bool mainmenupopupup = false;
    int borderwidth = 0;
    bool autorenderinginactiveimage = false;
    TFrameEffect inactiveeffect = TFrameEffect::ieBrightness;

    using TSkinDescribed::ReadDescription;
    // Reads the keys and applies the mask-area, hit-test and corner adjustments (hasMask: the [PICTURES]
    // "mask" name is not empty).
    void ReadDescription(const TSkinDescription& description, bool hasMask);

protected:
    void Exchange(TSkinKeys& keys) override;
};

// [POPUPWINDOW]: the look of popup menus.
class TDataSkinPopupWindow : public TSkinDescribed, public TSkinWindowGeometry {
public:
    TDataSkinPopupWindow() : TSkinDescribed("POPUPWINDOW") {}
    int windowpictureindex = -1;
    int maskpictureindex = -1;
    TRect itemsrect;
    int scrollmarkercolor = 0, scrollmarkeractivecolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

// [HINTWINDOW]: the look of hint windows.
class TDataSkinHintWindow : public TSkinDescribed, public TSkinWindowGeometry, public TSkinFontKeys {
public:
    TDataSkinHintWindow() : TSkinDescribed("HINTWINDOW") {}
    int windowpictureindex = -1;
    int maskpictureindex = -1;
    TRect clientrect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

}  // namespace dorvanel::skin
