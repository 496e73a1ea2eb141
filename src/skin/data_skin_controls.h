#pragma once
// Control descriptions: one object per entry of the [SKINCONTROLS] list, read from the section its entry
// names. Members are named after the keys they come from; values never change after the skin is applied.
// A control tests the object it finds for the class it expects (dynamic_cast).
#include "skin/skin_description.h"
#include "skin/skin_types.h"

#include <memory>
#include <string>
#include <string_view>

namespace dorvanel::skin {

// ReadDescription reads the keys from the section named IDName; WriteDescription writes them back in the
// forms they are read in.
class TDataSkinControl : public TSkinDescribed {
public:
    using TSkinDescribed::TSkinDescribed;

    int pictureindex = -1;
    int maskpictureindex = -1;
    TRect skinrect;

protected:
    // Lists every key of the class, its base class's first.
    void Exchange(TSkinKeys& keys) override;
};

// A control whose skin image is sliced by four points and has an inner (client) area.
class TDataSkinCustomControl : public TDataSkinControl {
public:
    using TDataSkinControl::TDataSkinControl;
    TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
    TRect clientrect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

// The four font keys most descriptions carry.
struct TSkinFontKeys {
    std::string fontname = "Arial";
    int fontheight = 14;
    TFontStyles fontstyle;
    int fontcolor = 0;

    QFont Font() const { return SkinFont(fontname, fontheight, fontstyle); }
    void ExchangeFont(TSkinKeys& keys);
};

class TDataSkinButtonControl : public TDataSkinCustomControl, public TSkinFontKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    int activefontcolor = 0, downfontcolor = 0, disabledfontcolor = 0;
    TRect activeskinrect, downskinrect, disabledskinrect;
    bool morphing = false;
    TMorphKind morphkind = TMorphKind::mkDefault;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinMenuButtonControl : public TDataSkinButtonControl {
public:
    using TDataSkinButtonControl::TDataSkinButtonControl;
    TRect trackbuttonrect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinPanelControl : public TDataSkinCustomControl, public TSkinFontKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    int bgpictureindex = -1;
    TRect captionrect;
    TAlignment alignment = TAlignment::taCenter;
    TRect checkimagerect, uncheckimagerect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinExPanelControl : public TDataSkinCustomControl, public TSkinFontKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect rollhskinrect, rollvskinrect;
    int rollleftoffset = 0, rollrightoffset = 0, rolltopoffset = 0, rollbottomoffset = 0;
    TRect rollvcaptionrect, rollhcaptionrect;
    TRect closebuttonrect, closebuttonactiverect, closebuttondownrect;
    TRect hrollbuttonrect, hrollbuttonactiverect, hrollbuttondownrect;
    TRect hrestorebuttonrect, hrestorebuttonactiverect, hrestorebuttondownrect;
    TRect vrollbuttonrect, vrollbuttonactiverect, vrollbuttondownrect;
    TRect vrestorebuttonrect, vrestorebuttonactiverect, vrestorebuttondownrect;
    TRect captionrect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinCheckRadioControl : public TDataSkinCustomControl, public TSkinFontKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    int activefontcolor = 0, unenabledfontcolor = 0, framefontcolor = 0;
    TRect activeskinrect, checkimagearea, textarea;
    TRect checkimagerect, uncheckimagerect, activecheckimagerect, activeuncheckimagerect;
    TRect unenabledcheckimagerect, unenableduncheckimagerect;
    bool morphing = false;
    TMorphKind morphkind = TMorphKind::mkDefault;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinGaugeControl : public TDataSkinCustomControl, public TSkinFontKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect progressarea, progressrect;
    int beginoffset = 0, endoffset = 0;
    bool vertical = false;
    bool progresstransparent = false;
    int progresstransparentcolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinSplitterControl : public TDataSkinCustomControl {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
};

class TDataSkinTrackBarControl : public TDataSkinCustomControl {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect trackarea, buttonrect, activebuttonrect;
    bool vertical = false;
    bool buttontransparent = false;
    int buttontransparentcolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinLabelControl : public TDataSkinCustomControl, public TSkinFontKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinStdLabelControl : public TDataSkinControl, public TSkinFontKeys {
public:
    using TDataSkinControl::TDataSkinControl;
    int activefontcolor = 16711680;

protected:
    void Exchange(TSkinKeys& keys) override;
};

// The six arrow-button rectangles shared by up-down, spin-edit, list-box and scroll-bar descriptions.
struct TSkinArrowButtonKeys {
    TRect upbuttonrect, activeupbuttonrect, downupbuttonrect;
    TRect downbuttonrect, activedownbuttonrect, downdownbuttonrect;

    void ExchangeArrowButtons(TSkinKeys& keys);
};

class TDataSkinUpDownControl : public TDataSkinCustomControl, public TSkinArrowButtonKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    // The points and client rectangle are always cleared after reading.
    void ReadDescription(const TSkinDescription& description) override;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinGridControl : public TDataSkinControl, public TSkinFontKeys {
public:
    using TDataSkinControl::TDataSkinControl;
    TRect fixedcellrect, selectcellrect, focuscellrect;
    int fixedcellleftoffset = 0, fixedcellrightoffset = 0;
    TRect fixedcelltextrect;
    int cellleftoffset = 0, cellrightoffset = 0;
    TRect celltextrect;
    int linescolor = 0, bgcolor = 0;
    int selectfontcolor = 0, focusfontcolor = 0;
    std::string fixedfontname = "Arial";
    int fixedfontheight = 14;
    TFontStyles fixedfontstyle;
    int fixedfontcolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinTabControl : public TDataSkinControl, public TSkinFontKeys {
public:
    using TDataSkinControl::TDataSkinControl;
    TRect tabrect, activetabrect, focustabrect, mouseintabrect;
    TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
    TRect clientrect;
    int bgpictureindex = -1;
    int tableftoffset = 0, tabrightoffset = 0;
    TRect tabsbgrect;
    int activefontcolor = 0, focusfontcolor = 0, mouseinfontcolor = 0;
    std::string updown;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinMainMenuBar : public TDataSkinControl {
public:
    using TDataSkinControl::TDataSkinControl;
    TRect itemsrect;
    std::string menubaritem, closebutton, minbutton, maxbutton, sysmenubutton;
    int trackmarkcolor = 0, trackmarkactivecolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinControlBar : public TDataSkinCustomControl {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect itemrect;
    int bgpictureindex = -1;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinEditControl : public TDataSkinCustomControl, public TSkinFontKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect activeskinrect;
    int disabledfontcolor = 0, activefontcolor = 0;
    TRect buttonrect, activebuttonrect, downbuttonrect, unenabledbuttonrect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinMemoControl : public TDataSkinEditControl {
public:
    using TDataSkinEditControl::TDataSkinEditControl;
    int bgcolor = 0, activebgcolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinListBox : public TDataSkinCustomControl, public TSkinFontKeys, public TSkinArrowButtonKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect itemrect, activeitemrect, focusitemrect;
    int itemleftoffset = 0, itemrightoffset = 0;
    TRect itemtextrect;
    int activefontcolor = 0, focusfontcolor = 0;
    TRect captionrect;
    std::string captionfontname = "Arial";
    int captionfontheight = 14;
    TFontStyles captionfontstyle;
    int captionfontcolor = 0;
    TRect checkbuttonrect, activecheckbuttonrect, downcheckbuttonrect;
    std::string vscrollbarname, hscrollbarname, bothhscrollbarname;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinCheckListBox : public TDataSkinListBox {
public:
    using TDataSkinListBox::TDataSkinListBox;
    TRect itemcheckrect, uncheckimagerect, checkimagerect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinComboBox : public TDataSkinCustomControl, public TSkinFontKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect itemrect, focusitemrect;
    int itemleftoffset = 0, itemrightoffset = 0;
    TRect itemtextrect;
    int focusfontcolor = 0;
    TRect buttonrect, activebuttonrect, downbuttonrect, unenabledbuttonrect;
    std::string listboxname;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinScrollBarControl : public TDataSkinCustomControl, public TSkinArrowButtonKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect trackarea;
    TRect thumbrect, activethumbrect, downthumbrect;
    int thumboffset1 = 0, thumboffset2 = 0;
    bool thumbtransparent = false;
    int thumbtransparentcolor = 0;
    TRect glyphrect, activeglyphrect, downglyphrect;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinSpinEditControl : public TDataSkinCustomControl, public TSkinFontKeys, public TSkinArrowButtonKeys {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    TRect activeskinrect;
    int activefontcolor = 0, disabledfontcolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinScrollBoxControl : public TDataSkinCustomControl {
public:
    using TDataSkinCustomControl::TDataSkinCustomControl;
    int bgpictureindex = -1;

protected:
    void Exchange(TSkinKeys& keys) override;
};

// List view, tree view and rich edit: a font and a background colour. The three are siblings: a list view
// named after a tree-view entry finds no list-view description.
struct TSkinListKeys : TSkinFontKeys {
    int bgcolor = 0;
    void ExchangeList(TSkinKeys& keys);
};

class TDataSkinListView : public TDataSkinControl, public TSkinListKeys {
public:
    using TDataSkinControl::TDataSkinControl;

protected:
    void Exchange(TSkinKeys& keys) override;
};

// Derives from the control description, not the list view's (the tree view's own kind).
class TDataSkinTreeView : public TDataSkinControl, public TSkinListKeys {
public:
    using TDataSkinControl::TDataSkinControl;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinRichEdit : public TDataSkinControl, public TSkinListKeys {
public:
    using TDataSkinControl::TDataSkinControl;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinBevel : public TDataSkinControl {
public:
    using TDataSkinControl::TDataSkinControl;
    int lightcolor = 0, darkcolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

class TDataSkinSlider : public TDataSkinControl {
public:
    using TDataSkinControl::TDataSkinControl;
    int bgcolor = 0;
    TRect hrulerrect, hthumbrect, vrulerrect, vthumbrect;
    int edgesize = 0;
    int pointscolor = 0;

protected:
    void Exchange(TSkinKeys& keys) override;
};

// The description object for a [SKINCONTROLS] kind ("button", "panel", ...; exact, case-sensitive), or null
// for an unknown kind.
std::unique_ptr<TDataSkinControl> CreateSkinControl(std::string_view kind, std::string idName);

}  // namespace dorvanel::skin
