#include "app/branding.h"

#include "common/ini_file.h"
#include "platform/picture_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <exception>

namespace dorvanel::app {

namespace {

// The banner area is this much taller than its picture.
constexpr int kBannerMargin = 10;

class Settings {
public:
    explicit Settings(const QString& path) : FIni(QFile::encodeName(path).toStdString()) {}
    QString Read(const QString& key) const {
        return QString::fromLocal8Bit(FIni.ReadString("Settings", key.toLocal8Bit().toStdString(), std::string()));
    }

private:
    common::TIniFile FIni;
};

QString InFolder(const QString& folder, const QString& name) { return QDir(folder).filePath(name); }

bool IsFile(const QString& path) { return QFileInfo(path).isFile(); }

// Collects the set keys of a numbered series, each with its companion value (possibly empty), in key order.
void Collect(const Settings& settings, int count, const QString& keyPattern, const QString& companionPattern,
             QStringList& values, QStringList& companions) {
    for (int i = 1; i <= count; ++i) {
        const QString value = settings.Read(keyPattern.arg(i));
        if (value.isEmpty()) continue;
        values << value;
        companions << settings.Read(companionPattern.arg(i));
    }
}

// Shows the chosen banner and sizes the area to it. The stored file is read where it lies, in the format its
// configured name's extension gives; a file already in the folder under the configured name is shown instead,
// as when the stored file could not take that name.
void ShowBanner(const QString& folder, int number, const QString& bannerPath, TBrandingTarget& target) {
    const QString stored = StoredBannerPath(folder, number);
    if (!IsFile(stored)) {
        target.HideBannerArea();
        return;
    }
    const QString name = platform::FileNamePart(bannerPath);
    const QString namesake = InFolder(folder, name);
    const QString file = !name.isEmpty() && IsFile(namesake) ? namesake : stored;
    // Only the configured name decides whether the banner is animated, never the folder's path.
    const QString extension = platform::PictureExtension(name);
    const int height = extension == QLatin1String("gif")
                           ? target.ShowGifBanner(file)
                           : target.ShowStillBanner(platform::LoadPictureFile(file, extension));
    target.SetBannerAreaHeight(height + kBannerMargin);
}

}  // namespace

QString StoredBannerPath(const QString& programFolder, int number) {
    return InFolder(programFolder, QStringLiteral("dbimg%1.dat").arg(number));
}

void LoadBranding(const QString& programFolder, TBrandingTarget& target, TBrandingFields& fields, TRandomPick& random) {
    const QString configPath = InFolder(programFolder, QString::fromLatin1(kConfigFileName));
    if (!IsFile(configPath)) return;
    const Settings settings(configPath);

    const QString appName = settings.Read(QStringLiteral("AppName"));
    if (!appName.isEmpty()) target.SetCaption(appName);
    const QString affiliate = settings.Read(QStringLiteral("AfiliateID"));
    if (!affiliate.isEmpty()) fields.FAffiliateID = affiliate;

    QStringList bannerPaths, bannerURLs;
    Collect(settings, 3, QStringLiteral("BannerPath%1"), QStringLiteral("BannerURL%1"), bannerPaths, bannerURLs);
    int banner = -1;
    if (!bannerPaths.isEmpty()) {
        banner = random.Pick(static_cast<int>(bannerPaths.size()));
        fields.FBannerURL = bannerURLs[banner];
        fields.FBannerPath = bannerPaths[banner];
    }
    target.SetBannerCursor(!fields.FBannerURL.isEmpty());
    if (banner >= 0) {
        ShowBanner(programFolder, banner + 1, fields.FBannerPath, target);
    } else {
        target.HideBannerArea();
    }

    QStringList linkURLs, linkNames;
    Collect(settings, 4, QStringLiteral("Link%1URL"), QStringLiteral("Link%1Name"), linkURLs, linkNames);
    if (!linkURLs.isEmpty()) {
        const int first = random.Pick(static_cast<int>(linkURLs.size()));
        fields.FLink1URL = linkURLs.takeAt(first);
        fields.FLink1Name = linkNames.takeAt(first);
        if (!linkURLs.isEmpty()) {
            const int second = random.Pick(static_cast<int>(linkURLs.size()));
            fields.FLink2URL = linkURLs[second];
            fields.FLink2Name = linkNames[second];
        }
    }
    target.SetLinks(fields.FLink1URL, fields.FLink1Name, fields.FLink2URL, fields.FLink2Name);

    const QString skinPath = InFolder(programFolder, QString::fromLatin1(kSkinFileName));
    if (IsFile(skinPath)) target.LoadSkinArchive(skinPath);

    const QString icon = settings.Read(QStringLiteral("IconPath"));
    if (!icon.isEmpty()) {
        fields.FIconPath = icon;
        const QString iconFile = InFolder(programFolder, platform::FileNamePart(icon));
        if (!platform::FileNamePart(icon).isEmpty() && IsFile(iconFile)) {
            target.SetApplicationIcon(platform::LoadIconFile(iconFile));
        }
    }
}

bool ApplyBranding(const QString& programFolder, TBrandingTarget& target, TBrandingFields& fields, TRandomPick& random,
                   const std::function<void(const QString&)>& report) {
    try {
        LoadBranding(programFolder, target, fields, random);
        return true;
    } catch (const std::exception& e) {
        if (report) report(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

}  // namespace dorvanel::app
