#pragma once
// Rebranding without rebuilding: the optional dbconfig.dat beside the program (INI, section "Settings") sets
// the caption, the affiliate identifier, a banner chosen at random among up to three with its click target,
// two footer links chosen at random among up to four, and the application icon; dbskin.dat beside it replaces
// the skin. Applied once while the main window is created.
#include "app/branding_target.h"
#include "app/random_pick.h"

#include <QString>

#include <functional>

namespace dorvanel::app {

// The main window's branding fields, as LoadBranding leaves them.
struct TBrandingFields {
    QString FAffiliateID;
    QString FBannerURL;
    QString FBannerPath;
    QString FLink1URL, FLink1Name;
    QString FLink2URL, FLink2Name;
    QString FIconPath;
};

// The files beside the program.
inline constexpr const char* kConfigFileName = "dbconfig.dat";
inline constexpr const char* kSkinFileName = "dbskin.dat";
// The stored banner files are "dbimg" + number + ".dat".
QString StoredBannerPath(const QString& programFolder, int number);

// Applies dbconfig.dat of `programFolder` to the window. Without that file nothing changes. A picture, GIF,
// skin or icon that cannot be loaded throws, and the steps after it are skipped; no file is ever renamed or
// written, so every stored banner keeps its name.
void LoadBranding(const QString& programFolder, TBrandingTarget& target, TBrandingFields& fields, TRandomPick& random);

// LoadBranding, with a failure handed to `report` (the message of the unhandled-error report) instead of
// raised. True when everything was applied.
bool ApplyBranding(const QString& programFolder, TBrandingTarget& target, TBrandingFields& fields, TRandomPick& random,
                   const std::function<void(const QString&)>& report);

}  // namespace dorvanel::app
