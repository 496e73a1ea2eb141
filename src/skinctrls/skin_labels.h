#pragma once
// Text labels without a look of their own: they show what lies behind them and take only their font (and
// colour) from the skin. The link label is underlined, takes its active colour under the mouse and opens
// its URL when clicked.
#include "skinctrls/skin_control.h"

#include <QWidget>

#include <functional>

namespace dorvanel::skinctrls {

class TSkinStdLabel : public QWidget, public TSkinClient, public platform::TControlBounds {
    Q_OBJECT
public:
    explicit TSkinStdLabel(QWidget* parent = nullptr);

    void SetSkinData(skin::TSkinData* data) override;
    void SetSkinDataName(const QString& name);
    // Looks the description up again (the label does this at every paint).
    virtual void RefreshSkinDescription();

    void SetBounds(int left, int top, int width, int height) override;
    void SetAlign(platform::TAlign align) { platform::SetAlign(this, align); }
    void SetAnchors(platform::TAnchors anchors) { platform::SetAnchors(this, anchors); }

    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    skin::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(skin::TAlignment alignment);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool on);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool on);
    const QFont& DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(const QFont& font);
    const QColor& DefaultFontColor() const { return FDefaultFontColor; }
    void SetDefaultFontColor(const QColor& color);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool on);
    // The label's own font and colour, used when UseSkinFont is off.
    const QFont& LabelFont() const { return FLabelFont; }
    void SetLabelFont(const QFont& font);

    // The font and colour the text is drawn in now.
    virtual QFont TextFont() const;
    virtual QColor TextColor() const;

    std::function<void()> OnClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    // The click a release of the left button over the label makes (also what assistive technology asks for).
    virtual void Click();

protected:
    int TextFlags() const;
    void AdjustBounds();
    bool MouseInside() const { return FMouseInside; }

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

    QFont FDefaultFont;
    QColor FDefaultFontColor;

private:
    QString FCaption;
    skin::TAlignment FAlignment = skin::TAlignment::taLeftJustify;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FUseSkinFont = true;
    QFont FLabelFont;
    bool FMouseInside = false;
    bool FPressed = false;
};

class TSkinLinkLabel : public TSkinStdLabel {
    Q_OBJECT
public:
    explicit TSkinLinkLabel(QWidget* parent = nullptr);

    const QString& URL() const { return FURL; }
    void SetURL(const QString& url) { FURL = url; }
    const QColor& DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(const QColor& color);

    QFont TextFont() const override;
    QColor TextColor() const override;

    // How a link label has its URL opened (the desktop's browser); set once by the program. Without it a
    // click only raises OnClick.
    static std::function<void(const QString& url)> OpenURL;

    void Click() override;

private:
    QString FURL;
    QColor FDefaultActiveFontColor{0, 0, 255};
};

}  // namespace dorvanel::skinctrls
