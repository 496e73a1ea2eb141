#include "http/uri.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "http/exceptions.h"

namespace dorvanel::http {
namespace {

TEST(UriParse, SplitsEveryPartOfAnAbsoluteUri) {
    const TNetURI uri("http://u:p@h:8080/a/b/c.html?x=1#top");
    EXPECT_EQ(uri.Protocol, "http");
    EXPECT_EQ(uri.LoginName, "u");
    EXPECT_EQ(uri.LoginPassword, "p");
    EXPECT_EQ(uri.Host, "h");
    EXPECT_EQ(uri.PortText, "8080");
    EXPECT_EQ(uri.DirPath, "/a/b/");
    EXPECT_EQ(uri.DocName, "c.html");
    EXPECT_EQ(uri.QueryText, "?x=1");
    EXPECT_EQ(uri.Fragment, "top");
    EXPECT_EQ(uri.FullText, "http://u:p@h:8080/a/b/c.html?x=1#top");
}

TEST(UriParse, HostAloneHasTheRootDirectory) {
    const TNetURI uri("http://h");
    EXPECT_EQ(uri.Host, "h");
    EXPECT_EQ(uri.DirPath, "/");
    EXPECT_EQ(uri.DocName, "");
    EXPECT_EQ(uri.QueryText, "");
    EXPECT_EQ(uri.PortText, "");
}

TEST(UriParse, QueryIsSentByteForByte) {
    const TNetURI uri("http://h/search?q=a+b");
    EXPECT_EQ(uri.DirPath, "/");
    EXPECT_EQ(uri.DocName, "search");
    EXPECT_EQ(uri.QueryText, "?q=a+b");
    EXPECT_EQ(uri.RequestTarget(), "/search?q=a+b");
    EXPECT_EQ(TNetURI("http://h/s?q=%22golf+clubs%22&x=a/b").RequestTarget(), "/s?q=%22golf+clubs%22&x=a/b");
}

TEST(UriParse, FragmentAfterQueryOrDocument) {
    TNetURI uri("http://h/a/b/c.html?x=1#frag");
    EXPECT_EQ(uri.QueryText, "?x=1");
    EXPECT_EQ(uri.Fragment, "frag");
    uri.ParseUri("http://h/a/b/c.html#frag");
    EXPECT_EQ(uri.DocName, "c.html");
    EXPECT_EQ(uri.Fragment, "frag");
    EXPECT_EQ(uri.QueryText, "");
}

TEST(UriParse, EqualsWithoutQuestionMarkStartsTheQuery) {
    const TNetURI uri("http://h/a=b/c");
    EXPECT_EQ(uri.DirPath, "/");
    EXPECT_EQ(uri.DocName, "a");
    EXPECT_EQ(uri.QueryText, "=b/c");
    EXPECT_EQ(uri.RequestTarget(), "/a=b/c");
}

TEST(UriParse, BackslashesBecomeSlashes) {
    const TNetURI uri("http:\\\\h\\dir\\x.html");
    EXPECT_EQ(uri.Host, "h");
    EXPECT_EQ(uri.DirPath, "/dir/");
    EXPECT_EQ(uri.DocName, "x.html");
    EXPECT_EQ(uri.FullText, "http://h/dir/x.html");
}

TEST(UriParse, LoginWithoutNameDropsThePassword) {
    TNetURI uri("http://u@h/");
    EXPECT_EQ(uri.LoginName, "u");
    EXPECT_EQ(uri.LoginPassword, "");
    uri.ParseUri("http://:p@h/");
    EXPECT_EQ(uri.LoginName, "");
    EXPECT_EQ(uri.LoginPassword, "");
    EXPECT_EQ(uri.Host, "h");
}

TEST(UriParse, RelativeReferenceKeepsHashInDocumentName) {
    TNetURI uri("page.html#top");
    EXPECT_EQ(uri.Protocol, "");
    EXPECT_EQ(uri.DirPath, "");
    EXPECT_EQ(uri.DocName, "page.html#top");
    EXPECT_EQ(uri.Fragment, "");
    uri.ParseUri("../a/b.html?x=1#f");
    EXPECT_EQ(uri.DirPath, "../a/");
    EXPECT_EQ(uri.DocName, "b.html");
    EXPECT_EQ(uri.QueryText, "?x=1");
    EXPECT_EQ(uri.Fragment, "f");
}

TEST(UriParse, ParsingAgainClearsEveryField) {
    TNetURI uri("http://u:p@h:81/a/b?c#d");
    uri.ParseUri("/x");
    EXPECT_EQ(uri.Protocol, "");
    EXPECT_EQ(uri.Host, "");
    EXPECT_EQ(uri.PortText, "");
    EXPECT_EQ(uri.LoginName, "");
    EXPECT_EQ(uri.DirPath, "/");
    EXPECT_EQ(uri.DocName, "x");
    EXPECT_EQ(uri.Fragment, "");
}

TEST(UriCompose, WithAndWithoutLoginAndFragment) {
    TNetURI uri("http://u:p@h:8080/a/c.html?x=1#top");
    EXPECT_EQ(uri.ComposeFullUri({}), "http://h:8080/a/c.html?x=1");
    EXPECT_EQ(uri.ComposeFullUri({true, false}), "http://u:p@h:8080/a/c.html?x=1");
    EXPECT_EQ(uri.ComposeFullUri({false, true}), "http://h:8080/a/c.html?x=1#top");
    uri.FullText.clear();
    EXPECT_EQ(uri.ComposeUri(), "http://h:8080/a/c.html?x=1");
    EXPECT_EQ(uri.FullText, "http://u:p@h:8080/a/c.html?x=1#top");
    uri.LoginPassword.clear();
    EXPECT_EQ(uri.ComposeFullUri({true, false}), "http://u@h:8080/a/c.html?x=1");
}

TEST(UriCompose, EmptyProtocolOrHostFails) {
    TNetURI uri;
    uri.Host = "h";
    try {
        uri.ComposeUri();
        FAIL();
    } catch (const ENetURIException& e) {
        EXPECT_STREQ(e.what(), "Protocol field is empty");
    }
    uri.Protocol = "http";
    uri.Host.clear();
    try {
        uri.ComposeFullUri({});
        FAIL();
    } catch (const ENetURIException& e) {
        EXPECT_STREQ(e.what(), "Host field is empty");
    }
}

TEST(TakeTokenTest, CutsUpToTheDelimiter) {
    std::string input = "a:b:c";
    EXPECT_EQ(TakeToken(input, ":"), "a");
    EXPECT_EQ(input, "b:c");
    EXPECT_EQ(TakeToken(input, ":", false), "b");
    EXPECT_EQ(input, "b:c");
    EXPECT_EQ(TakeToken(input, ";"), "b:c");
    EXPECT_EQ(input, "");
    input = "xxABCyy";
    EXPECT_EQ(TakeToken(input, "abc"), "xxABCyy");
    input = "xxABCyy";
    EXPECT_EQ(TakeToken(input, "abc", true, false), "xx");
    EXPECT_EQ(input, "yy");
    input = "abc";
    EXPECT_EQ(TakeToken(input, ""), "abc");
    EXPECT_EQ(input, "");
}

TEST(ReversePosTest, LastOccurrenceAtOrBeforeStartIgnoringCase) {
    EXPECT_EQ(ReversePos("/", "/a/b/c"), 5u);
    EXPECT_EQ(ReversePos("/", "/a/b/c", 4), 3u);
    EXPECT_EQ(ReversePos("/", "/a/b/c", 3), 3u);
    EXPECT_EQ(ReversePos("B", "abcabc"), 5u);
    EXPECT_EQ(ReversePos("bc", "abcabc", 100), 5u);
    EXPECT_EQ(ReversePos("x", "abc"), 0u);
    EXPECT_EQ(ReversePos("", "abc"), 0u);
    EXPECT_EQ(ReversePos("/", "/a", 0), 0u);
}

TEST(MergePathTest, ResolvesRelativePaths) {
    EXPECT_EQ(MergePath("/a/b/", ""), "/a/b/");
    EXPECT_EQ(MergePath("/a/b/", "../"), "/a/");
    EXPECT_EQ(MergePath("/a/b", "c/"), "/a/b/c/");
    EXPECT_EQ(MergePath("/a//b/", "c"), "/a/b/c");
    EXPECT_EQ(MergePath("/a/b/", "./"), "/a/b/./");
    EXPECT_EQ(MergePath("/a/b/", "../c.html"), "/a/c.html");
    EXPECT_EQ(MergePath("/a/b/", "/x/../y"), "/x/../y");
    EXPECT_EQ(MergePath("", "a/b"), "a/b");
}

TEST(MergePathTest, NeverClimbsAboveTheRoot) {
    EXPECT_EQ(MergePath("/", "../x/"), "/x/");
    EXPECT_EQ(MergePath("/a/", "../../../x"), "/x");
    EXPECT_EQ(MergePath("/", ".."), "/");
    // Found by fuzzing: "...." climbed past the root and left a target without its leading slash.
    EXPECT_EQ(MergePath("/", "..../x/"), "/..../x/");
}

TEST(MergePathTest, DotsInsideANameAreNotASegment) {
    EXPECT_EQ(MergePath("/a/", "..x"), "/a/..x");
    EXPECT_EQ(MergePath("/a/b/", "c..d/"), "/a/b/c..d/");
}

TEST(EncodeTargetBytesTest, BlanksAndBytesAboveTildeOnly) {
    EXPECT_EQ(EncodeTargetBytes("/a b/caf\xc3\xa9?q=a+b&r=%22~"), "/a%20b/caf%C3%A9?q=a+b&r=%22~");
    EXPECT_EQ(EncodeTargetBytes("/\x7f\xff"), "/%7F%FF");
}

TEST(ReferenceSchemeTest, OnlyALeadingSchemeBeforeAnyDelimiter) {
    EXPECT_EQ(ReferenceScheme("http://h/"), "http");
    EXPECT_EQ(ReferenceScheme("JavaScript:alert(1)"), "JavaScript");
    EXPECT_EQ(ReferenceScheme("svn+ssh:x"), "svn+ssh");
    EXPECT_EQ(ReferenceScheme("page?u=http://x"), "");
    EXPECT_EQ(ReferenceScheme("/a:b"), "");
    EXPECT_EQ(ReferenceScheme("1http:x"), "");
    EXPECT_EQ(ReferenceScheme("//h/x"), "");
    EXPECT_EQ(ReferenceScheme("noscheme"), "");
}

TEST(ResolveReferenceTest, Rfc3986Examples) {
    // RFC 3986 section 5.4, normal and abnormal examples (fragments are dropped here).
    const std::string base = "http://a/b/c/d;p?q";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"g:h", "g:h"},
        {"g", "http://a/b/c/g"},
        {"./g", "http://a/b/c/g"},
        {"g/", "http://a/b/c/g/"},
        {"/g", "http://a/g"},
        {"//g", "http://g/"},
        {"?y", "http://a/b/c/d;p?y"},
        {"g?y", "http://a/b/c/g?y"},
        {"#s", "http://a/b/c/d;p?q"},
        {"g#s", "http://a/b/c/g"},
        {";x", "http://a/b/c/;x"},
        {"", "http://a/b/c/d;p?q"},
        {".", "http://a/b/c/"},
        {"./", "http://a/b/c/"},
        {"..", "http://a/b/"},
        {"../g", "http://a/b/g"},
        {"../..", "http://a/"},
        {"../../g", "http://a/g"},
        {"../../../g", "http://a/g"},
        {"/./g", "http://a/g"},
        {"/../g", "http://a/g"},
        {"g.", "http://a/b/c/g."},
        {"..g", "http://a/b/c/..g"},
        {"./../g", "http://a/b/g"},
        {"g/./h", "http://a/b/c/g/h"},
        {"g/../h", "http://a/b/c/h"},
        {"g?y/./x", "http://a/b/c/g?y/./x"},
        {"http://other:8080", "http://other:8080/"},
        {"http://other?x=1#f", "http://other/?x=1"},
        {"next?u=http://elsewhere/x", "http://a/b/c/next?u=http://elsewhere/x"},
    };
    for (const auto& [reference, resolved] : cases) EXPECT_EQ(ResolveReference(base, reference), resolved) << reference;
    EXPECT_EQ(ResolveReference("http://h:81", "x"), "http://h:81/x");
}

}  // namespace
}  // namespace dorvanel::http
