#include "harvest/pages/captcha_page.h"

#include <gtest/gtest.h>

#include "standin/pages.h"

namespace dorvanel::pages {
namespace {

TEST(CaptchaPage, TakesRandomSeedAndImageInOrder) {
    const auto v = CutCaptchaPage(
        "<script src=\"first.js\"></script><form>"
        "<input type=\"hidden\" name=\"random\" value=\"42\">"
        "<input type=\"hidden\" name=\"seed\" value=\"abc\">"
        "<img src=\"http://img.example/c.png?r=42&amp;s=abc&amp;amp;t\" width=\"100\">");
    EXPECT_EQ(v.random, "42");
    EXPECT_EQ(v.seed, "abc");
    EXPECT_EQ(v.imageSrc, "http://img.example/c.png?r=42&s=abc&amp;t");  // one pass, not until gone
}

TEST(CaptchaPage, MarkersIgnoreLetterCase) {
    const auto v = CutCaptchaPage(
        "<INPUT TYPE=\"HIDDEN\" NAME=\"RANDOM\" VALUE=\"7\"><Input Type=\"hidden\" name=\"Seed\" value=\"Golf+Clubs\">"
        "<IMG SRC=\"/c.png\">");
    EXPECT_EQ(v.random, "7");
    EXPECT_EQ(v.seed, "Golf+Clubs");
    EXPECT_EQ(v.imageSrc, "/c.png");
}

TEST(CaptchaPage, SeedBeforeRandomIsNotFound) {
    const auto v = CutCaptchaPage(
        "<input type=\"hidden\" name=\"seed\" value=\"abc\">"
        "<input type=\"hidden\" name=\"random\" value=\"42\"><img src=\"i.png\">");
    EXPECT_EQ(v.random, "42");
    EXPECT_EQ(v.seed, "");
    EXPECT_EQ(v.imageSrc, "i.png");
}

TEST(CaptchaPage, MissingMarkersGiveEmptyValues) {
    const auto none = CutCaptchaPage("<html>nothing here</html>");
    EXPECT_EQ(none.random, "");
    EXPECT_EQ(none.seed, "");
    EXPECT_EQ(none.imageSrc, "");
    // An unterminated value is empty, and the next cut starts just after its marker.
    const auto open = CutCaptchaPage("<input type=\"hidden\" name=\"random\" value=\"42");
    EXPECT_EQ(open.random, "");
    const auto noImage = CutCaptchaPage(
        "<img src=\"early.png\"><input type=\"hidden\" name=\"random\" value=\"1\">"
        "<input type=\"hidden\" name=\"seed\" value=\"2\">");
    EXPECT_EQ(noImage.imageSrc, "");
}

TEST(CaptchaPage, AmpersandPass) {
    EXPECT_EQ(ReplaceAmpOnce(""), "");
    EXPECT_EQ(ReplaceAmpOnce("a&amp;b&amp;&amp;c"), "a&b&&c");
    EXPECT_EQ(ReplaceAmpOnce("&amp;amp;"), "&amp;");
    EXPECT_EQ(ReplaceAmpOnce("&am&amp"), "&am&amp");
}

TEST(CaptchaPage, EveryCutOfAPageIsSafe) {
    const std::string page = standin::CaptchaPage("123", "golf+clubs", "http://h:1/captcha.png?random=123&size=5");
    const auto full = CutCaptchaPage(page);
    EXPECT_EQ(full.random, "123");
    EXPECT_EQ(full.seed, "golf+clubs");
    EXPECT_EQ(full.imageSrc, "http://h:1/captcha.png?random=123&size=5");
    for (size_t n = 0; n < page.size(); ++n) {
        const auto v = CutCaptchaPage(page.substr(0, n));
        EXPECT_TRUE(v.random.empty() || v.random == full.random) << n;
        EXPECT_TRUE(v.seed.empty() || v.seed == full.seed) << n;
        EXPECT_TRUE(v.imageSrc.empty() || v.imageSrc == full.imageSrc) << n;
    }
}

}  // namespace
}  // namespace dorvanel::pages
