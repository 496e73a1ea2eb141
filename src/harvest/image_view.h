#pragma once
// The small web view of the security-image dialog: told once to show an image address, it fetches the
// picture on its own connection and draws it scaled into its rectangle (PNG, GIF, JPEG, BMP); an address
// that cannot be loaded leaves it empty.
#include <QImage>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

namespace dorvanel::harvest {

class TImageView : public QWidget {
    Q_OBJECT
public:
    explicit TImageView(QWidget* parent = nullptr);

    void Navigate(const QString& address);
    const QImage& Picture() const { return FPicture; }
    bool Loading() const { return FReply != nullptr; }

signals:
    void Loaded(bool ok);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QNetworkAccessManager* FNetwork;
    QNetworkReply* FReply = nullptr;
    QImage FPicture;
};

}  // namespace dorvanel::harvest
