#pragma once
// What the branding configuration changes on the main window, as a small interface, and its implementation
// over the window's controls.
#include <QIcon>
#include <QImage>
#include <QString>

class QLabel;
class QWidget;

namespace dorvanel::images {
class TGIFAnimator;
}  // namespace dorvanel::images
namespace dorvanel::skin {
class TSkinData;
}  // namespace dorvanel::skin
namespace dorvanel::skinctrls {
class TSkinLinkLabel;
}  // namespace dorvanel::skinctrls

namespace dorvanel::app {

class TBrandingTarget {
public:
    virtual ~TBrandingTarget() = default;

    // The main window's caption.
    virtual void SetCaption(const QString& caption) = 0;
    // The hand cursor on both banner controls for a clickable banner, the normal cursor otherwise.
    virtual void SetBannerCursor(bool hand) = 0;
    // Shows the still banner (the animated one hidden), sized to its picture; returns its height.
    virtual int ShowStillBanner(const QImage& picture) = 0;
    // Shows the animated banner (the still one hidden) and loads the GIF file into it, which sizes it to the
    // picture; returns its height. A file that cannot be read throws.
    virtual int ShowGifBanner(const QString& path) = 0;
    virtual void SetBannerAreaHeight(int height) = 0;
    // A hidden banner area gives its height to the table below it.
    virtual void HideBannerArea() = 0;
    // Captions and addresses of the left and right footer links.
    virtual void SetLinks(const QString& url1, const QString& name1, const QString& url2, const QString& name2) = 0;
    // Loads a skin archive into the skin every window draws from; a failure throws.
    virtual void LoadSkinArchive(const QString& path) = 0;
    // The icon of the window frame and the task bar.
    virtual void SetApplicationIcon(const QIcon& icon) = 0;
};

// The main window's controls, as the branding changes them.
class TBrandingControls : public TBrandingTarget {
public:
    struct Controls {
        QWidget* Form = nullptr;
        QWidget* panBanner = nullptr;
        QLabel* imgBanner = nullptr;
        images::TGIFAnimator* gifBanner = nullptr;
        skinctrls::TSkinLinkLabel* lblLink1URL = nullptr;
        skinctrls::TSkinLinkLabel* lblLink2URL = nullptr;
        skin::TSkinData* SkinData1 = nullptr;
    };
    explicit TBrandingControls(const Controls& controls) : FControls(controls) {}

    void SetCaption(const QString& caption) override;
    void SetBannerCursor(bool hand) override;
    int ShowStillBanner(const QImage& picture) override;
    int ShowGifBanner(const QString& path) override;
    void SetBannerAreaHeight(int height) override;
    void HideBannerArea() override;
    void SetLinks(const QString& url1, const QString& name1, const QString& url2, const QString& name2) override;
    void LoadSkinArchive(const QString& path) override;
    void SetApplicationIcon(const QIcon& icon) override;

private:
    Controls FControls;
};

}  // namespace dorvanel::app
