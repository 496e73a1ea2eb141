#pragma once
// The single-line edit box: a frameless QLineEdit inside a frame the control draws itself. Key presses
// reach OnKeyDown before the line edit sees them, so a dialog can act on Enter.
#include "skinctrls/skin_control.h"

#include <QWidget>

class QLineEdit;

namespace dorvanel::skinctrls {

class TSkinEdit : public QWidget, public TSkinClient, public platform::TControlBounds {
    Q_OBJECT
public:
    explicit TSkinEdit(QWidget* parent = nullptr);

    void SetSkinData(skin::TSkinData* data) override;
    void SetSkinDataName(const QString& name) { FSkinDataName = name; }
    virtual void RefreshSkinDescription();
    virtual void ApplySkin();

    void SetBounds(int left, int top, int width, int height) override;
    void SetAlign(platform::TAlign align) { platform::SetAlign(this, align); }
    void SetAnchors(platform::TAnchors anchors) { platform::SetAnchors(this, anchors); }

    QString Text() const;
    void SetText(const QString& text);
    skin::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(skin::TAlignment alignment);
    const QFont& DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(const QFont& font);
    const QColor& DefaultFontColor() const { return FDefaultFontColor; }
    void SetDefaultFontColor(const QColor& color);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool on) { FUseSkinFont = on; }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int width) { FDefaultWidth = width; }
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int height) { FDefaultHeight = height; }
    bool ButtonMode() const { return FButtonMode; }
    void SetButtonMode(bool on);

    // The line edit inside the frame (its text editing, caret and selection are Qt's).
    QLineEdit* LineEdit() const { return FEdit; }
    // Where the line edit sits: the frame's inner area.
    QRect EditArea() const;
    QRect ButtonRect() const;
    bool Hot() const { return FHot; }

    // A key pressed in the box, before the box handles it (Qt key codes; Enter is Qt::Key_Return or
    // Qt::Key_Enter). Setting key to 0 keeps the box and the dialog from seeing it.
    std::function<void(int& key, Qt::KeyboardModifiers shift)> OnKeyDown;
    std::function<void()> OnChange;
    std::function<void()> OnButtonClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    QImage RenderImage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The size the box takes for a proposed one: the skin's height while a description is in use.
    QSize FittedSize(QSize proposed) const;
    void PaintPlain(QImage& bitmap);
    void PaintFromSkin(QImage& bitmap, const skin::TDataSkinEditControl& edit);
    void UpdateTextLook();

    QLineEdit* FEdit;
    skin::TAlignment FAlignment = skin::TAlignment::taLeftJustify;
    QFont FDefaultFont;
    QColor FDefaultFontColor;
    bool FUseSkinFont = true;
    int FDefaultWidth = 0;
    int FDefaultHeight = 0;
    bool FButtonMode = false;
    bool FHot = false;
    bool FButtonPressed = false;
};

}  // namespace dorvanel::skinctrls
