#include "app/branding_target.h"

#include "images/gif_animator.h"
#include "platform/align.h"
#include "skin/skin_data.h"
#include "skinctrls/skin_labels.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>

namespace dorvanel::app {

void TBrandingControls::SetCaption(const QString& caption) { FControls.Form->setWindowTitle(caption); }

void TBrandingControls::SetBannerCursor(bool hand) {
    const Qt::CursorShape shape = hand ? Qt::PointingHandCursor : Qt::ArrowCursor;
    FControls.imgBanner->setCursor(shape);
    FControls.gifBanner->setCursor(shape);
}

int TBrandingControls::ShowStillBanner(const QImage& picture) {
    FControls.gifBanner->hide();
    FControls.imgBanner->show();
    FControls.imgBanner->setPixmap(QPixmap::fromImage(picture));
    FControls.imgBanner->resize(picture.size());
    return FControls.imgBanner->height();
}

int TBrandingControls::ShowGifBanner(const QString& path) {
    FControls.gifBanner->show();
    FControls.imgBanner->hide();
    FControls.gifBanner->LoadFromFile(path.toLocal8Bit().toStdString());
    return FControls.gifBanner->height();
}

void TBrandingControls::SetBannerAreaHeight(int height) {
    const QRect r = FControls.panBanner->geometry();
    platform::SetBounds(FControls.panBanner, r.left(), r.top(), r.width(), height);
}

void TBrandingControls::HideBannerArea() {
    FControls.panBanner->hide();
    if (QWidget* parent = FControls.panBanner->parentWidget()) platform::AlignControls(parent);
}

void TBrandingControls::SetLinks(const QString& url1, const QString& name1, const QString& url2, const QString& name2) {
    FControls.lblLink1URL->SetCaption(name1);
    FControls.lblLink1URL->SetURL(url1);
    FControls.lblLink2URL->SetCaption(name2);
    FControls.lblLink2URL->SetURL(url2);
}

void TBrandingControls::LoadSkinArchive(const QString& path) { FControls.SkinData1->LoadSkinArchiveFile(path); }

void TBrandingControls::SetApplicationIcon(const QIcon& icon) {
    FControls.Form->setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
}

}  // namespace dorvanel::app
