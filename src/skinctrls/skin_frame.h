#pragma once
// The window frame every window of the program wears. The window is frameless to the window system; the
// frame draws its border and caption from the skin (or a plain frame without one, also when the skin's frame
// would leave a window the mouse cannot move or close), holds the client area in which the window's controls
// live, runs the caption commands and the system menu, cuts the window's outline from the skin's mask, and
// relays skin changes to the window's controls. It coordinates two parts of its own: the window states
// (frame_states.h) and the pointer (frame_pointer.h: hit testing, caption buttons, moving and sizing).
#include "skin/skin_data.h"
#include "skinctrls/frame_geometry.h"
#include "skinctrls/frame_objects.h"
#include "skinctrls/frame_paint.h"
#include "skinctrls/frame_pointer.h"
#include "skinctrls/frame_states.h"

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <functional>

namespace dorvanel::skinctrls {

class TSkinPopupMenu;

class TSkinFrame : public QObject {
    Q_OBJECT
public:
    // Attaches to form (a top-level widget) at once: the form loses the window system's decoration and gets a
    // client area. Only a sizeable form can be sized by its border.
    TSkinFrame(QWidget* form, TFormBorderStyle borderStyle);
    ~TSkinFrame() override;

    QWidget* Form() const { return FForm; }
    // The widget that holds the form's controls, at the frame's client rectangle; controls keep their
    // positions in it whatever the frame looks like.
    QWidget* ClientArea() const { return FClient; }
    // Sizes the window so that its client area is width x height.
    void SetClientSize(int width, int height);
    QSize ClientSize() const;

    // ---- properties ----
    skin::TSkinData* SkinData() const { return FSkinData; }
    // Applies the skin to the frame at once (null or empty: the plain frame).
    void SetSkinData(skin::TSkinData* data);
    skin::TSkinData* MenusSkinData() const { return FMenusSkinData; }
    void SetMenusSkinData(skin::TSkinData* data) { FMenusSkinData = data; }
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    bool HideCaptionButtons() const { return FHideCaptionButtons; }
    void SetHideCaptionButtons(bool hide);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }

    QFont DefCaptionFont, DefInActiveCaptionFont;
    QColor DefCaptionFontColor, DefInActiveCaptionFontColor;
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
    // The client size imposed after a skin change (0 keeps the window's).
    int ClientWidth = 0, ClientHeight = 0;
    bool UseDefaultSysMenu = true;
    bool ShowIcon = false;
    bool MaximizeOnFullScreen = false;
    // Read and kept; the window system snaps a window it moves, and the program draws no hints, tray icons
    // or fades.
    bool Magnetic = false;
    int MagneticSize = 5;
    bool AlphaBlend = false, AlphaBlendAnimation = false;
    int AlphaBlendValue = 200;
    bool ShowObjectHint = false, UseDefaultObjectHint = true;
    bool AlwaysMinimizeToTray = false, AlwaysShowInTray = false;
    bool UseFormCursorInNCArea = false;
    // Set on the program's main window: minimising it minimises the program.
    bool ApplicationWindow = false;
    // Raised after a skin has been applied to the frame.
    std::function<void()> OnChangeSkinData;
    // Raised when a skin is applied whose frame would leave the window unusable (the plain frame is used).
    std::function<void()> OnSkinRefused;

    // ---- state ----
    bool SkinInUse() const { return FSkinInUse; }
    bool Active() const { return FActive; }
    TFrameWindowState WindowState() const { return FStates.WindowState(); }
    bool RolledUp() const { return FStates.RolledUp(); }
    // The bounds a restore puts back (null when none are kept).
    QRect RestoreBounds() const { return FStates.RestoreBounds(); }
    TFrameStates& States() { return FStates; }
    // How far the client area lies inside the window on each side.
    QMargins FrameMargins() const;
    // The smallest window the frame allows in its present state.
    QSize MinimalSize() const;
    const TFrameFit& Fit() const { return FFit; }
    const TFrameObjects& Objects() const { return FObjects; }
    // The visible button with that command, or null.
    TSkinStdButtonObject* Button(skin::TStdCommand command) const;
    TSkinCaptionObject* CaptionObject() const;
    // The window's outline (empty: rectangular).
    const QRegion& WindowShape() const { return FShape; }
    // What a point of the window (window coordinates) is to the frame.
    THitCode HitTest(QPoint at) const { return FPointer.HitTest(at); }

    // ---- commands ----
    void RunCommand(skin::TStdCommand command);
    void Maximize();
    void Restore();
    void Minimize();
    void RollUp();
    void Close();
    // Rebuilds and shows the system menu with its top-left at a global position.
    void ShowSystemMenu(QPoint globalPos);
    // Opens the system menu just below an area of the window (the caption, the system-menu button).
    void ShowSystemMenuBelow(const QRect& area);
    // Something the frame shows changed (in area, or anywhere): its strips are drawn again at the next paint.
    void FrameChanged(const QRect& area = QRect());
    TSkinPopupMenu* SystemMenu() const { return FSystemMenu; }
    // What a caption button is called, as the system menu names the same command (the skin's resource
    // strings first), with the accelerator's "&" left in.
    QString CommandCaption(skin::TStdCommand command) const;

    // The frame as it paints now (the whole window with the client area left as the frame leaves it), at the
    // window's device pixel ratio or at the one given.
    QImage RenderImage(qreal ratio = 0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TClientArea;

    void ApplySkin();
    void DropObjects();
    // The skin's resource string for key (the menus' skin first), else the caption given.
    QString ResourceCaption(const char* key, const char* caption) const;
    void RefreshGeometry();
    void UpdateShape();
    TFramePaintState PaintState() const;
    // What the frame's objects call when their look changes (a blend step).
    std::function<void()> ObjectRepaint();
    void Paint(QPainter& p);
    void HandleSkinMessage(int message, skin::TSkinData* sender);

    QPointer<QWidget> FForm;
    QPointer<QWidget> FClient;
    QPointer<skin::TSkinData> FSkinData;
    QPointer<skin::TSkinData> FMenusSkinData;
    TFormBorderStyle FBorderStyle;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    bool FHideCaptionButtons = false;

    bool FSkinInUse = false;
    bool FActive = false;
    TFrameStates FStates;
    TFramePointer FPointer{*this};
    TFrameFit FFit;
    TFrameObjects FObjects;
    QRegion FShape;
    QSize FShapeSize;
    TFrameStrips FStrips;

    TSkinPopupMenu* FSystemMenu = nullptr;
};

}  // namespace dorvanel::skinctrls
