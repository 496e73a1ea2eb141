#include "app/outbound_links.h"

#include "platform/browser.h"
#include "skinctrls/skin_labels.h"

namespace dorvanel::app {

QString MakeMoneyURL(const std::string& affiliateHost, const QString& affiliateID) {
    return QStringLiteral("http://") + QString::fromLocal8Bit(affiliateHost) + QStringLiteral("/likes/QOLVA") +
           affiliateID;
}

void OpenBannerTarget(const QString& bannerURL) {
    if (!bannerURL.isEmpty()) platform::OpenInBrowser(bannerURL);
}

void RouteLinkLabelsToDefaultHandler() {
    skinctrls::TSkinLinkLabel::OpenURL = [](const QString& url) { platform::OpenWithDefaultHandler(url); };
}

}  // namespace dorvanel::app
