// Where the scratch file goes: beside the program when that folder can be written, else in the user's cache.
#include "harvest/page_fetcher.h"

#include "support/plain/temp_dir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

using namespace dorvanel;

TEST(ScratchFile, BesideTheProgramOrInTheUsersCache) {
    test::TempDir dir;
    const QString program = QString::fromStdString(dir.file("program"));
    const QString cache = QString::fromStdString(dir.file("cache"));
    QDir().mkpath(program);
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    EXPECT_EQ(harvest::DefaultScratchFileName(program), program + "/test.html");
    // A folder that cannot take the file (here one that is not there; an installed program's is read-only):
    // the cache folder is made and used.
    EXPECT_EQ(harvest::DefaultScratchFileName(program + "/gone"), cache + "/dorvanel/test.html");
    EXPECT_TRUE(QDir(cache + "/dorvanel").exists());
    qunsetenv("XDG_CACHE_HOME");
}

TEST(ServicesFile, TheUsersOwnFirstThenTheOneBesideTheProgram) {
    test::TempDir dir;
    const QString program = QString::fromStdString(dir.file("program"));
    const QString config = QString::fromStdString(dir.file("config"));
    QDir().mkpath(config + "/dorvanel");
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    EXPECT_EQ(harvest::ServicesFileName(program), program + "/dbservices.dat");
    QFile own(config + "/dorvanel/dbservices.dat");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    EXPECT_EQ(harvest::ServicesFileName(program), config + "/dorvanel/dbservices.dat");
    qputenv("XDG_CONFIG_HOME", old);
}
