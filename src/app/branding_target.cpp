#include "app/branding_target.h"

#include "images/gif_animator.h"
#include "platform/align.h"
#include "skin/skin_data.h"
#include "skinctrls/skin_labels.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>

namespace dorvanel::app {

void TBrandingControls::SetCaption(const QString& caption) { c_.Form->setWindowTitle(caption); }

void TBrandingControls::SetBannerCursor(bool hand) {
    const Qt::CursorShape shape = hand ? Qt::PointingHandCursor : Qt::ArrowCursor;
    c_.imgBanner->setCursor(shape);
    c_.gifBanner->setCursor(shape);
}

int TBrandingControls::ShowStillBanner(const QImage& picture) {
    c_.gifBanner->hide();
    c_.imgBanner->show();
    c_.imgBanner->setPixmap(QPixmap::fromImage(picture));
    c_.imgBanner->resize(picture.size());
    return c_.imgBanner->height();
}

int TBrandingControls::ShowGifBanner(const QString& path) {
    c_.gifBanner->show();
    c_.imgBanner->hide();
    c_.gifBanner->LoadFromFile(path.toLocal8Bit().toStdString());
    return c_.gifBanner->height();
}

void TBrandingControls::SetBannerAreaHeight(int height) {
    const QRect r = c_.panBanner->geometry();
    platform::SetBounds(c_.panBanner, r.left(), r.top(), r.width(), height);
}

void TBrandingControls::HideBannerArea() {
    c_.panBanner->hide();
    if (QWidget* parent = c_.panBanner->parentWidget()) platform::AlignControls(parent);
}

void TBrandingControls::SetLinks(const QString& url1, const QString& name1, const QString& url2, const QString& name2) {
    c_.lblLink1URL->SetCaption(name1);
    c_.lblLink1URL->SetURL(url1);
    c_.lblLink2URL->SetCaption(name2);
    c_.lblLink2URL->SetURL(url2);
}

void TBrandingControls::LoadSkinArchive(const QString& path) { c_.SkinData1->LoadSkinArchiveFile(path); }

void TBrandingControls::SetApplicationIcon(const QIcon& icon) {
    c_.Form->setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
}

}  // namespace dorvanel::app
