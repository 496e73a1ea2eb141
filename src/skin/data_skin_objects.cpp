#include "skin/data_skin_objects.h"

#include <algorithm>
#include <utility>

namespace dorvanel::skin {

void TDataSkinObject::Exchange(TSkinKeys& keys) {
    keys.Text("hint", hint);
    keys.PictureIndex("activepictureindex", activepictureindex);
    keys.Flag("skinrectinapicture", skinrectinapicture);
    keys.Rect("skinrect", skinrect);
    keys.Rect("activeskinrect", activeskinrect);
    keys.Rect("inactiveskinrect", inactiveskinrect);
    keys.Flag("morphing", morphing);
    keys.MorphKind("morphkind", morphkind);
}

void TDataSkinButton::Exchange(TSkinKeys& keys) {
    TDataSkinObject::Exchange(keys);
    keys.Rect("downrect", downrect);
    keys.Rect("disableskinrsect", disableskinrsect);
}

void TDataSkinStdButton::Exchange(TSkinKeys& keys) {
    TDataSkinButton::Exchange(keys);
    keys.Command("command", command);
    keys.Rect("restorerect", restorerect);
    keys.Rect("restoreactiverect", restoreactiverect);
    keys.Rect("restoredownrect", restoredownrect);
    keys.Rect("restoreinactiverect", restoreinactiverect);
}

void TDataSkinMenuItem::Exchange(TSkinKeys& keys) {
    TDataSkinObject::Exchange(keys);
    keys.Integer("itemleftoffset", itemleftoffset);
    keys.Integer("itemrightoffset", itemrightoffset);
    keys.Rect("dividerrect", dividerrect);
    keys.Integer("dividerleftoffset", dividerleftoffset);
    keys.Integer("dividerrightoffset", dividerrightoffset);
    keys.Rect("textrect", textrect);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor);
    keys.Color("unenabledfontcolor", unenabledfontcolor);
}

void TDataSkinMainMenuItem::Exchange(TSkinKeys& keys) {
    TDataSkinObject::Exchange(keys);
    keys.Integer("itemleftoffset", itemleftoffset);
    keys.Integer("itemrightoffset", itemrightoffset);
    keys.Rect("downrect", downrect);
    keys.Rect("textrect", textrect);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor);
    keys.Color("downfontcolor", downfontcolor);
    keys.Color("unenabledfontColor", unenabledfontcolor);
}

void TDataSkinCaption::Exchange(TSkinKeys& keys) {
    TDataSkinObject::Exchange(keys);
    keys.Rect("textrect", textrect);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor);
    keys.Alignment("alignment", alignment);
    keys.Flag("shadow", shadow);
    keys.Color("shadowcolor", shadowcolor);
    keys.Color("activeshadowcolor", activeshadowcolor);
    keys.Rect("framerect", framerect);
    keys.Rect("activeframerect", activeframerect);
    keys.Rect("frametextrect", frametextrect);
    keys.Integer("frameleftoffset", frameleftoffset);
    keys.Integer("framerightoffset", framerightoffset);
}

void TDataSkinAnimate::ReadDescription(const TSkinDescription& description) {
    TDataSkinObject::ReadDescription(description);
    morphing = false;
}

void TDataSkinAnimate::Exchange(TSkinKeys& keys) {
    TDataSkinObject::Exchange(keys);
    keys.Integer("countframes", countframes, 1);
    keys.Flag("cycle", cycle);
    keys.Flag("buttonstyle", buttonstyle);
    keys.Integer("timerinterval", timerinterval, 50);
    keys.Command("command", command);
}

void TDataUserObject::Exchange(TSkinKeys& keys) { keys.Rect("skinrect", skinrect); }

namespace {

template <class T>
std::unique_ptr<TDataSkinObject> Make(std::string idName) {
    return std::make_unique<T>(std::move(idName));
}

struct ObjectKind {
    std::string_view Kind;
    std::unique_ptr<TDataSkinObject> (*Create)(std::string);
};

constexpr ObjectKind kObjectKinds[] = {
    {"menuitem", Make<TDataSkinMenuItem>},   {"mainmenubaritem", Make<TDataSkinMainMenuBarItem>},
    {"stdbutton", Make<TDataSkinStdButton>}, {"mainmenubarbutton", Make<TDataSkinMainMenuBarButton>},
    {"button", Make<TDataSkinButton>},       {"caption", Make<TDataSkinCaption>},
    {"animate", Make<TDataSkinAnimate>},     {"userobject", Make<TDataUserObject>},
};

void ExchangeCorners(TSkinKeys& keys, TSkinWindowGeometry& g) {
    keys.Point("lefttoppoint", g.lefttoppoint);
    keys.Point("righttoppoint", g.righttoppoint);
    keys.Point("leftbottompoint", g.leftbottompoint);
    keys.Point("rightbottompoint", g.rightbottompoint);
}

void ExchangeStretch(TSkinKeys& keys, TSkinWindowGeometry& g) {
    keys.Flag("leftstretch", g.leftstretch);
    keys.Flag("rightstretch", g.rightstretch);
    keys.Flag("topstretch", g.topstretch);
    keys.Flag("bottomstretch", g.bottomstretch);
}

// A hit-test point with a zero coordinate takes the corner point of the same position.
void DefaultHitTestPoint(TPoint& hitTest, TPoint corner) {
    if (hitTest.X == 0 || hitTest.Y == 0) hitTest = corner;
}

}  // namespace

std::unique_ptr<TDataSkinObject> CreateSkinObject(std::string_view kind, std::string idName) {
    for (const ObjectKind& k : kObjectKinds)
        if (k.Kind == kind) return k.Create(std::move(idName));
    return nullptr;
}

void TSkinFormInfo::Exchange(TSkinKeys& keys) {
    ExchangeCorners(keys, *this);
    keys.Rect("clientrect", clientrect);
    keys.PictureIndex("bgpictureindex", bgpictureindex);
    keys.PictureIndex("mdibgpictureindex", mdibgpictureindex);
    ExchangeStretch(keys, *this);
    keys.Rect("maskrectarea", maskrectarea);
    keys.Point("hittestlefttoppoint", hittestlefttoppoint);
    keys.Point("hittestrighttoppoint", hittestrighttoppoint);
    keys.Point("hittestleftbottompoint", hittestleftbottompoint);
    keys.Point("hittestrightbottompoint", hittestrightbottompoint);
    keys.Rect("buttonsrect", buttonsrect);
    keys.Rect("captionrect", captionrect);
    keys.Integer("buttonsoffset", buttonsoffset);
    keys.Flag("buttonsinleft", buttonsinleft);
    keys.Flag("mainmenupopupup", mainmenupopupup);
    keys.Integer("borderwidth", borderwidth);
    keys.Flag("autorenderinginactiveimage", autorenderinginactiveimage);
    keys.FrameEffect("inactiveeffect", inactiveeffect);
}

void TSkinFormInfo::ReadDescription(const TSkinDescription& description, bool hasMask) {
    TSkinDescribed::ReadDescription(description);
    if (hasMask) {
        if (maskrectarea.IsEmpty()) {
            maskrectarea = clientrect;
        } else {
            maskrectarea.Left = std::min(maskrectarea.Left, clientrect.Left);
            maskrectarea.Top = std::min(maskrectarea.Top, clientrect.Top);
            maskrectarea.Right = std::max(maskrectarea.Right, clientrect.Right);
            maskrectarea.Bottom = std::max(maskrectarea.Bottom, clientrect.Bottom);
        }
        DefaultHitTestPoint(hittestlefttoppoint, lefttoppoint);
        DefaultHitTestPoint(hittestrighttoppoint, righttoppoint);
        DefaultHitTestPoint(hittestleftbottompoint, leftbottompoint);
        DefaultHitTestPoint(hittestrightbottompoint, rightbottompoint);
    }
    // The corners are kept inside the client rectangle unless the points collapse on one line.
    if (rightbottompoint.X != lefttoppoint.X && rightbottompoint.Y != lefttoppoint.Y) {
        lefttoppoint.X = std::max(lefttoppoint.X, clientrect.Left);
        lefttoppoint.Y = std::max(lefttoppoint.Y, clientrect.Top);
        righttoppoint.X = std::min(righttoppoint.X, clientrect.Right);
        righttoppoint.Y = std::max(righttoppoint.Y, clientrect.Top);
        leftbottompoint.X = std::max(leftbottompoint.X, clientrect.Left);
        leftbottompoint.Y = std::min(leftbottompoint.Y, clientrect.Bottom);
        rightbottompoint.X = std::min(rightbottompoint.X, clientrect.Right);
        rightbottompoint.Y = std::min(rightbottompoint.Y, clientrect.Bottom);
    }
}

void TDataSkinPopupWindow::Exchange(TSkinKeys& keys) {
    keys.PictureIndex("windowpictureindex", windowpictureindex);
    keys.PictureIndex("maskpictureindex", maskpictureindex);
    ExchangeCorners(keys, *this);
    keys.Rect("itemsrect", itemsrect);
    keys.Color("scrollmarkercolor", scrollmarkercolor);
    keys.Color("scrollmarkeractivecolor", scrollmarkeractivecolor);
    ExchangeStretch(keys, *this);
}

void TDataSkinHintWindow::Exchange(TSkinKeys& keys) {
    keys.PictureIndex("windowpictureindex", windowpictureindex);
    keys.PictureIndex("maskpictureindex", maskpictureindex);
    ExchangeCorners(keys, *this);
    keys.Rect("clientrect", clientrect);
    ExchangeFont(keys);
    ExchangeStretch(keys, *this);
}

}  // namespace dorvanel::skin
