#include "harvest/image_view.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>

namespace dorvanel::harvest {

namespace {

// A security image is small; a larger answer is not one.
constexpr qint64 kMaxImageBytes = 4 * 1024 * 1024;

}  // namespace

TImageView::TImageView(QWidget* parent) : QWidget(parent), FNetwork(new QNetworkAccessManager(this)) {}

void TImageView::Navigate(const QString& address) {
    if (FReply) {
        FReply->abort();
        FReply = nullptr;
    }
    FPicture = QImage();
    update();
    const QUrl url(address);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        emit Loaded(false);
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    FReply = FNetwork->get(request);
    QNetworkReply* reply = FReply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kMaxImageBytes) reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply != FReply) return;
        FReply = nullptr;
        bool ok = false;
        if (reply->error() == QNetworkReply::NoError) {
            const QByteArray bytes = reply->read(kMaxImageBytes);
            ok = FPicture.loadFromData(bytes);
        }
        update();
        emit Loaded(ok);
    });
}

void TImageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (FPicture.isNull()) return;
    // The picture keeps its proportions, centred, and is never enlarged past twice its size.
    QSize size = FPicture.size();
    size.scale(rect().size().boundedTo(FPicture.size() * 2), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    p.drawImage(target, FPicture);
}

}  // namespace dorvanel::harvest
