#pragma once
// Where the banner, Make Money and footer link clicks send the user.
#include <QString>

#include <string>

namespace dorvanel::app {

// The affiliate sign-up page: "http://" + the affiliate host + "/likes/QOLVA" + the affiliate identifier,
// without a separator.
QString MakeMoneyURL(const std::string& affiliateHost, const QString& affiliateID);

// A banner click: the banner's target in the browser for HTML pages; a banner without one does nothing.
void OpenBannerTarget(const QString& bannerURL);

// Makes every footer link label open its address with the desktop's default handler. Called once at start.
void RouteLinkLabelsToDefaultHandler();

}  // namespace dorvanel::app
