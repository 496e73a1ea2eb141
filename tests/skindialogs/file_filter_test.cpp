#include "skindialogs/file_filter.h"

#include "support/qt/qt_print.h"

#include <gtest/gtest.h>

using namespace dorvanel::skindialogs;

TEST(FileFilter, PairsOfDescriptionAndMask) {
    const auto one = ParseFilter(QStringLiteral("Text files (*.txt)|*.txt"));
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].Description, "Text files (*.txt)");
    EXPECT_EQ(one[0].Mask, "*.txt");

    const auto two = ParseFilter(QStringLiteral("CSV files (*.csv)|*.csv|All files|*.*"));
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[1].Description, "All files");
    EXPECT_EQ(two[1].Mask, "*.*");
}

TEST(FileFilter, DanglingDescriptionIsDroppedAndNoBarGivesNothing) {
    const auto dangling = ParseFilter(QStringLiteral("A|*.a|B"));
    ASSERT_EQ(dangling.size(), 1);
    EXPECT_EQ(dangling[0].Description, "A");
    EXPECT_EQ(dangling[0].Mask, "*.a");

    EXPECT_TRUE(ParseFilter(QStringLiteral("*.txt")).isEmpty());
    EXPECT_TRUE(ParseFilter(QString()).isEmpty());
    // A trailing bar leaves an entry with an empty mask.
    const auto empty = ParseFilter(QStringLiteral("A|"));
    ASSERT_EQ(empty.size(), 1);
    EXPECT_EQ(empty[0].Mask, "");
}

TEST(FileFilter, MaskOfAnEntryFallsBackToTheLastThenToAllFiles) {
    const auto entries = ParseFilter(QStringLiteral("A|*.a|B|*.b"));
    EXPECT_EQ(MaskOfEntry(entries, 0), "*.a");
    EXPECT_EQ(MaskOfEntry(entries, 1), "*.b");
    EXPECT_EQ(MaskOfEntry(entries, -1), "*.b");  // FilterIndex 0: nothing chosen
    EXPECT_EQ(MaskOfEntry(entries, 5), "*.b");   // beyond the entries
    EXPECT_EQ(MaskOfEntry({}, 0), "*.*");
}

TEST(FileFilter, MaskMatchingIgnoresCaseAndNeedsADot) {
    const QString txt = QStringLiteral("*.txt");
    EXPECT_TRUE(MatchesMask(QStringLiteral("a.TXT"), txt));
    EXPECT_TRUE(MatchesMask(QStringLiteral("b.txt"), txt));
    EXPECT_FALSE(MatchesMask(QStringLiteral("c.csv"), txt));
    EXPECT_FALSE(MatchesMask(QStringLiteral("b.txt.bak"), txt));

    const QString both = QStringLiteral("*.txt;*.csv");
    EXPECT_TRUE(MatchesMask(QStringLiteral("a.txt"), both));
    EXPECT_TRUE(MatchesMask(QStringLiteral("c.csv"), both));
    EXPECT_TRUE(MatchesMask(QStringLiteral("c.csv"), QStringLiteral("*.txt|*.csv")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("d.doc"), both));

    // Parts without a dot are never tried: "*" lists no files, nor does an empty mask.
    EXPECT_FALSE(MatchesMask(QStringLiteral("a.txt"), QStringLiteral("*")));
    EXPECT_FALSE(MatchesMask(QStringLiteral("a.txt"), QString()));
    EXPECT_TRUE(MatchesMask(QStringLiteral("a.txt"), QStringLiteral("*;*.txt")));

    EXPECT_TRUE(MatchesMask(QStringLiteral("README"), QStringLiteral("*.*")));
    EXPECT_TRUE(MatchesMask(QStringLiteral("data.2024.csv"), QStringLiteral("*.*")));
}

TEST(FileFilter, WildcardRules) {
    EXPECT_TRUE(MatchesWildcard(QStringLiteral("report1.csv"), QStringLiteral("report?.csv")));
    EXPECT_FALSE(MatchesWildcard(QStringLiteral("report12.csv"), QStringLiteral("report?.csv")));
    EXPECT_TRUE(MatchesWildcard(QStringLiteral("a.b.c"), QStringLiteral("*.c")));
    EXPECT_TRUE(MatchesWildcard(QStringLiteral("abc"), QStringLiteral("a*b*c")));
    EXPECT_FALSE(MatchesWildcard(QStringLiteral("abcd"), QStringLiteral("a*b*c")));
    EXPECT_TRUE(MatchesWildcard(QString(), QStringLiteral("*")));
    EXPECT_FALSE(MatchesWildcard(QString(), QStringLiteral("?")));
    EXPECT_TRUE(MatchesWildcard(QStringLiteral("ÄRGER.TXT"), QStringLiteral("ärger.txt")));
    // A long hostile name against many stars stays quick (no exponential backtracking).
    EXPECT_FALSE(MatchesWildcard(QString(5000, QLatin1Char('a')), QStringLiteral("*a*a*a*a*a*a*a*b")));
}

TEST(FileFilter, SaveExtensionRule) {
    const QString csv = QStringLiteral("*.csv");
    EXPECT_EQ(ApplyMaskExtension(QStringLiteral("/d/out"), csv), "/d/out.csv");
    EXPECT_EQ(ApplyMaskExtension(QStringLiteral("/d/out.csv"), csv), "/d/out.csv");
    EXPECT_EQ(ApplyMaskExtension(QStringLiteral("/d/out.CSV"), csv), "/d/out.CSV");
    EXPECT_EQ(ApplyMaskExtension(QStringLiteral("/d/out.txt"), csv), "/d/out.txt.csv");
    // A dot in a folder name is no extension of the file.
    EXPECT_EQ(ApplyMaskExtension(QStringLiteral("/d.x/out"), csv), "/d.x/out.csv");
    // Masks with ".*" add nothing; a mask without extension adds nothing.
    EXPECT_EQ(ApplyMaskExtension(QStringLiteral("/d/out"), QStringLiteral("*.*")), "/d/out");
    EXPECT_EQ(ApplyMaskExtension(QStringLiteral("/d/out.txt"), QStringLiteral("*")), "/d/out.txt");

    EXPECT_EQ(ExtractFileExt(QStringLiteral("/a.b/c")), "");
    EXPECT_EQ(ExtractFileExt(QStringLiteral("/a/c.tar.gz")), ".gz");
}
