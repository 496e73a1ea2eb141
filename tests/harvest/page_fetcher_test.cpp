// Where the scratch file goes: beside the program when that folder can be written, else in the user's cache.
#include "harvest/page_fetcher.h"

#include "support/plain/temp_dir.h"

#include <gtest/gtest.h>

#include <QDir>

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
