#include "skin/data_skin_controls.h"

#include <functional>
#include <utility>

namespace dorvanel::skin {

void TDataSkinControl::Exchange(TSkinKeys& keys) {
    keys.PictureIndex("pictureindex", pictureindex);
    keys.PictureIndex("maskpictureindex", maskpictureindex);
    keys.Rect("skinrect", skinrect);
}

void TDataSkinCustomControl::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    keys.Point("lefttoppoint", lefttoppoint);
    keys.Point("righttoppoint", righttoppoint);
    keys.Point("leftbottompoint", leftbottompoint);
    keys.Point("rightbottompoint", rightbottompoint);
    keys.Rect("clientrect", clientrect);
}

void TSkinFontKeys::ExchangeFont(TSkinKeys& keys) { keys.Font("", fontname, fontheight, fontstyle, fontcolor); }

void TSkinArrowButtonKeys::ExchangeArrowButtons(TSkinKeys& keys) {
    keys.Rect("upbuttonrect", upbuttonrect);
    keys.Rect("activeupbuttonrect", activeupbuttonrect);
    keys.Rect("downupbuttonrect", downupbuttonrect);
    keys.Rect("downbuttonrect", downbuttonrect);
    keys.Rect("activedownbuttonrect", activedownbuttonrect);
    keys.Rect("downdownbuttonrect", downdownbuttonrect);
}

void TDataSkinButtonControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor);
    keys.Color("downfontcolor", downfontcolor);
    keys.Color("disabledfontcolor", disabledfontcolor);
    keys.Rect("activeskinrect", activeskinrect);
    keys.Rect("downskinrect", downskinrect);
    keys.Rect("disabledskinrect", disabledskinrect);
    keys.Flag("morphing", morphing);
    keys.MorphKind("morphkind", morphkind);
}

void TDataSkinMenuButtonControl::Exchange(TSkinKeys& keys) {
    TDataSkinButtonControl::Exchange(keys);
    keys.Rect("trackbuttonrect", trackbuttonrect);
}

void TDataSkinPanelControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.PictureIndex("bgpictureindex", bgpictureindex);
    keys.Rect("captionrect", captionrect);
    keys.Alignment("alignment", alignment);
    ExchangeFont(keys);
    keys.Rect("checkimagerect", checkimagerect);
    keys.Rect("uncheckimagerect", uncheckimagerect);
}

void TDataSkinExPanelControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("rollhskinrect", rollhskinrect);
    keys.Rect("rollvskinrect", rollvskinrect);
    keys.Integer("rollleftoffset", rollleftoffset);
    keys.Integer("rollrightoffset", rollrightoffset);
    keys.Integer("rolltopoffset", rolltopoffset);
    keys.Integer("rollbottomoffset", rollbottomoffset);
    keys.Rect("rollvcaptionrect", rollvcaptionrect);
    keys.Rect("rollhcaptionrect", rollhcaptionrect);
    keys.Rect("closebuttonrect", closebuttonrect);
    keys.Rect("closebuttonactiverect", closebuttonactiverect);
    keys.Rect("closebuttondownrect", closebuttondownrect);
    keys.Rect("hrollbuttonrect", hrollbuttonrect);
    keys.Rect("hrollbuttonactiverect", hrollbuttonactiverect);
    keys.Rect("hrollbuttondownrect", hrollbuttondownrect);
    keys.Rect("hrestorebuttonrect", hrestorebuttonrect);
    keys.Rect("hrestorebuttonactiverect", hrestorebuttonactiverect);
    keys.Rect("hrestorebuttondownrect", hrestorebuttondownrect);
    keys.Rect("vrollbuttonrect", vrollbuttonrect);
    keys.Rect("vrollbuttonactiverect", vrollbuttonactiverect);
    keys.Rect("vrollbuttondownrect", vrollbuttondownrect);
    keys.Rect("vrestorebuttonrect", vrestorebuttonrect);
    keys.Rect("vrestorebuttonactiverect", vrestorebuttonactiverect);
    keys.Rect("vrestorebuttondownrect", vrestorebuttondownrect);
    keys.Rect("captionrect", captionrect);
    ExchangeFont(keys);
}

void TDataSkinCheckRadioControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor);
    keys.Color("unenabledfontcolor", unenabledfontcolor);
    keys.Color("framefontcolor", framefontcolor);
    keys.Rect("activeskinrect", activeskinrect);
    keys.Rect("checkimagearea", checkimagearea);
    keys.Rect("textarea", textarea);
    keys.Rect("checkimagerect", checkimagerect);
    keys.Rect("uncheckimagerect", uncheckimagerect);
    keys.Rect("activecheckimagerect", activecheckimagerect);
    keys.Rect("activeuncheckimagerect", activeuncheckimagerect);
    keys.Rect("unenabledcheckimagerect", unenabledcheckimagerect);
    keys.Rect("unenableduncheckimagerect", unenableduncheckimagerect);
    keys.Flag("morphing", morphing);
    keys.MorphKind("morphkind", morphkind);
}

void TDataSkinGaugeControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("progressarea", progressarea);
    keys.Rect("progressrect", progressrect);
    keys.Integer("beginoffset", beginoffset);
    keys.Integer("endoffset", endoffset);
    keys.Flag("vertical", vertical);
    ExchangeFont(keys);
    keys.Flag("progresstransparent", progresstransparent);
    keys.Color("progresstransparentcolor", progresstransparentcolor);
}

void TDataSkinTrackBarControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("trackarea", trackarea);
    keys.Rect("buttonrect", buttonrect);
    keys.Rect("activebuttonrect", activebuttonrect);
    keys.Flag("vertical", vertical);
    keys.Flag("buttontransparent", buttontransparent);
    keys.Color("buttontransparentcolor", buttontransparentcolor);
}

void TDataSkinLabelControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    ExchangeFont(keys);
}

void TDataSkinStdLabelControl::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor, 16711680);
}

void TDataSkinUpDownControl::ReadDescription(const TSkinDescription& description) {
    TDataSkinCustomControl::ReadDescription(description);
    lefttoppoint = righttoppoint = leftbottompoint = rightbottompoint = TPoint{};
    clientrect = TRect{};
}

void TDataSkinUpDownControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    ExchangeArrowButtons(keys);
}

void TDataSkinGridControl::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    keys.Rect("fixedcellrect", fixedcellrect);
    keys.Rect("selectcellrect", selectcellrect);
    keys.Rect("focuscellrect", focuscellrect);
    keys.Integer("fixedcellleftoffset", fixedcellleftoffset);
    keys.Integer("fixedcellrightoffset", fixedcellrightoffset);
    keys.Rect("fixedcelltextrect", fixedcelltextrect);
    keys.Integer("cellleftoffset", cellleftoffset);
    keys.Integer("cellrightoffset", cellrightoffset);
    keys.Rect("celltextrect", celltextrect);
    keys.Color("linescolor", linescolor);
    keys.Color("bgcolor", bgcolor);
    ExchangeFont(keys);
    keys.Color("selectfontcolor", selectfontcolor);
    keys.Color("focusfontcolor", focusfontcolor);
    keys.Font("fixed", fixedfontname, fixedfontheight, fixedfontstyle, fixedfontcolor);
}

void TDataSkinTabControl::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    keys.Rect("tabrect", tabrect);
    keys.Rect("activetabrect", activetabrect);
    keys.Rect("focustabrect", focustabrect);
    keys.Rect("mouseintabrect", mouseintabrect);
    keys.Point("lefttoppoint", lefttoppoint);
    keys.Point("righttoppoint", righttoppoint);
    keys.Point("leftbottompoint", leftbottompoint);
    keys.Point("rightbottompoint", rightbottompoint);
    keys.Rect("clientrect", clientrect);
    keys.PictureIndex("bgpictureindex", bgpictureindex);
    keys.Integer("tableftoffset", tableftoffset);
    keys.Integer("tabrightoffset", tabrightoffset);
    keys.Rect("tabsbgrect", tabsbgrect);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor);
    keys.Color("focusfontcolor", focusfontcolor);
    keys.Color("mouseinfontcolor", mouseinfontcolor);
    keys.Text("updown", updown);
}

void TDataSkinMainMenuBar::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    keys.Rect("itemsrect", itemsrect);
    keys.Text("menubaritem", menubaritem);
    keys.Text("closebutton", closebutton);
    keys.Text("minbutton", minbutton);
    keys.Text("maxbutton", maxbutton);
    keys.Text("sysmenubutton", sysmenubutton);
    keys.Color("trackmarkcolor", trackmarkcolor);
    keys.Color("trackmarkactivecolor", trackmarkactivecolor);
}

void TDataSkinControlBar::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("itemrect", itemrect);
    keys.PictureIndex("bgpictureindex", bgpictureindex);
}

void TDataSkinEditControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("activeskinrect", activeskinrect);
    ExchangeFont(keys);
    keys.Color("disabledfontcolor", disabledfontcolor);
    keys.Color("activefontcolor", activefontcolor);
    keys.Rect("buttonrect", buttonrect);
    keys.Rect("activebuttonrect", activebuttonrect);
    keys.Rect("downbuttonrect", downbuttonrect);
    keys.Rect("unenabledbuttonrect", unenabledbuttonrect);
}

void TDataSkinMemoControl::Exchange(TSkinKeys& keys) {
    TDataSkinEditControl::Exchange(keys);
    keys.Color("bgcolor", bgcolor);
    keys.Color("activebgcolor", activebgcolor);
}

void TDataSkinListBox::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("itemrect", itemrect);
    keys.Rect("activeitemrect", activeitemrect);
    keys.Rect("focusitemrect", focusitemrect);
    keys.Integer("itemleftoffset", itemleftoffset);
    keys.Integer("itemrightoffset", itemrightoffset);
    keys.Rect("itemtextrect", itemtextrect);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor);
    keys.Color("focusfontcolor", focusfontcolor);
    keys.Rect("captionrect", captionrect);
    keys.Font("caption", captionfontname, captionfontheight, captionfontstyle, captionfontcolor);
    ExchangeArrowButtons(keys);
    keys.Rect("checkbuttonrect", checkbuttonrect);
    keys.Rect("activecheckbuttonrect", activecheckbuttonrect);
    keys.Rect("downcheckbuttonrect", downcheckbuttonrect);
    keys.Text("vscrollbarname", vscrollbarname);
    keys.Text("hscrollbarname", hscrollbarname);
    keys.Text("bothhscrollbarname", bothhscrollbarname);
}

void TDataSkinCheckListBox::Exchange(TSkinKeys& keys) {
    TDataSkinListBox::Exchange(keys);
    keys.Rect("itemcheckrect", itemcheckrect);
    keys.Rect("uncheckimagerect", uncheckimagerect);
    keys.Rect("checkimagerect", checkimagerect);
}

void TDataSkinComboBox::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("itemrect", itemrect);
    keys.Rect("focusitemrect", focusitemrect);
    keys.Integer("itemleftoffset", itemleftoffset);
    keys.Integer("itemrightoffset", itemrightoffset);
    keys.Rect("itemtextrect", itemtextrect);
    ExchangeFont(keys);
    keys.Color("focusfontcolor", focusfontcolor);
    keys.Rect("buttonrect", buttonrect);
    keys.Rect("activebuttonrect", activebuttonrect);
    keys.Rect("downbuttonrect", downbuttonrect);
    keys.Rect("unenabledbuttonrect", unenabledbuttonrect);
    keys.Text("listboxname", listboxname);
}

void TDataSkinScrollBarControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("trackarea", trackarea);
    ExchangeArrowButtons(keys);
    keys.Rect("thumbrect", thumbrect);
    keys.Rect("activethumbrect", activethumbrect);
    keys.Rect("downthumbrect", downthumbrect);
    keys.Integer("thumboffset1", thumboffset1);
    keys.Integer("thumboffset2", thumboffset2);
    keys.Flag("thumbtransparent", thumbtransparent);
    keys.Color("thumbtransparentcolor", thumbtransparentcolor);
    keys.Rect("glyphrect", glyphrect);
    keys.Rect("activeglyphrect", activeglyphrect);
    keys.Rect("downglyphrect", downglyphrect);
}

void TDataSkinSpinEditControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.Rect("activeskinrect", activeskinrect);
    ExchangeFont(keys);
    keys.Color("activefontcolor", activefontcolor);
    keys.Color("disabledfontcolor", disabledfontcolor);
    ExchangeArrowButtons(keys);
}

void TDataSkinScrollBoxControl::Exchange(TSkinKeys& keys) {
    TDataSkinCustomControl::Exchange(keys);
    keys.PictureIndex("bgpictureindex", bgpictureindex);
}

void TSkinListKeys::ExchangeList(TSkinKeys& keys) {
    ExchangeFont(keys);
    keys.Color("bgcolor", bgcolor);
}

void TDataSkinListView::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    ExchangeList(keys);
}

void TDataSkinTreeView::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    ExchangeList(keys);
}

void TDataSkinRichEdit::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    ExchangeList(keys);
}

void TDataSkinBevel::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    keys.Color("lightcolor", lightcolor);
    keys.Color("darkcolor", darkcolor);
}

void TDataSkinSlider::Exchange(TSkinKeys& keys) {
    TDataSkinControl::Exchange(keys);
    keys.Color("bgcolor", bgcolor);
    keys.Rect("hrulerrect", hrulerrect);
    keys.Rect("hthumbrect", hthumbrect);
    keys.Rect("vrulerrect", vrulerrect);
    keys.Rect("vthumbrect", vthumbrect);
    keys.Integer("edgesize", edgesize);
    keys.Color("pointscolor", pointscolor);
}

namespace {

template <class T>
std::unique_ptr<TDataSkinControl> Make(std::string idName) {
    return std::make_unique<T>(std::move(idName));
}

struct ControlKind {
    std::string_view Kind;
    std::unique_ptr<TDataSkinControl> (*Create)(std::string);
};

constexpr ControlKind kControlKinds[] = {
    {"panel", Make<TDataSkinPanelControl>},
    {"expanel", Make<TDataSkinExPanelControl>},
    {"menubutton", Make<TDataSkinMenuButtonControl>},
    {"button", Make<TDataSkinButtonControl>},
    {"checkradio", Make<TDataSkinCheckRadioControl>},
    {"gauge", Make<TDataSkinGaugeControl>},
    {"splitter", Make<TDataSkinSplitterControl>},
    {"trackbar", Make<TDataSkinTrackBarControl>},
    {"label", Make<TDataSkinLabelControl>},
    {"stdlabel", Make<TDataSkinStdLabelControl>},
    {"updown", Make<TDataSkinUpDownControl>},
    {"grid", Make<TDataSkinGridControl>},
    {"tab", Make<TDataSkinTabControl>},
    {"mainmenubar", Make<TDataSkinMainMenuBar>},
    {"controlbar", Make<TDataSkinControlBar>},
    {"memo", Make<TDataSkinMemoControl>},
    {"edit", Make<TDataSkinEditControl>},
    {"checklistbox", Make<TDataSkinCheckListBox>},
    {"listbox", Make<TDataSkinListBox>},
    {"combobox", Make<TDataSkinComboBox>},
    {"scrollbar", Make<TDataSkinScrollBarControl>},
    {"spinedit", Make<TDataSkinSpinEditControl>},
    {"scrollbox", Make<TDataSkinScrollBoxControl>},
    {"treeview", Make<TDataSkinTreeView>},
    {"bevel", Make<TDataSkinBevel>},
    {"slider", Make<TDataSkinSlider>},
    {"listview", Make<TDataSkinListView>},
    {"richedit", Make<TDataSkinRichEdit>},
};

}  // namespace

std::unique_ptr<TDataSkinControl> CreateSkinControl(std::string_view kind, std::string idName) {
    for (const ControlKind& k : kControlKinds)
        if (k.Kind == kind) return k.Create(std::move(idName));
    return nullptr;
}

}  // namespace dorvanel::skin
