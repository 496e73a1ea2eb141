// The live sources' configuration as a user writes it, with every entry that cannot be used named (and no
// API key in the naming), and what one run asks for.
#include "harvest/pages/live_sources.h"

#include <gtest/gtest.h>

#include "common/ini_file.h"

namespace dorvanel::pages {
namespace {

TLiveSources read(const std::string& text, std::vector<std::string>& problems) {
    return TLiveSources::Read(common::TIniFile::FromText(text), problems);
}

TEST(LiveSources, AWholeConfigurationReads) {
    std::vector<std::string> problems;
    const TLiveSources live = read(
        "[suggestions]\nsource1=https://suggest.example/complete?client=x&q={keyword}\n"
        "SOURCE3=http://127.0.0.1:8080/ac?q={keyword}\nExpand=questions  Alphabet\n"
        "[Engines]\nYahoo=https://api.example/v1?key=SECRET&q={query}\nYahooCount=/a/0/total\n"
        "[Pacing]\nDelayMs=250\nRetries=3\n[Services]\nUserAgent=Dorvanel research (me@example.com)\n",
        problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(live.SuggestionTemplates,
              (std::vector<std::string>{"https://suggest.example/complete?client=x&q={keyword}",
                                        "http://127.0.0.1:8080/ac?q={keyword}"}));
    EXPECT_TRUE(live.ExpandAlphabet);
    EXPECT_TRUE(live.ExpandQuestions);
    EXPECT_TRUE(live.Engines[0].Template.empty());
    EXPECT_EQ(live.Engines[1].Template, "https://api.example/v1?key=SECRET&q={query}");
    EXPECT_EQ(live.Engines[1].Pointer, "/a/0/total");
    EXPECT_EQ(live.DelayMs, 250);
    EXPECT_EQ(live.Retries, 3);
    EXPECT_EQ(live.UserAgent, "Dorvanel research (me@example.com)");
}

TEST(LiveSources, NothingSetChangesNothing) {
    std::vector<std::string> problems;
    const TLiveSources live = read("[Services]\nGoogleHost=127.0.0.1:1\n", problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_FALSE(live.HasSuggestionSources());
    for (const TJsonEngine& engine : live.Engines) EXPECT_TRUE(engine.Template.empty());
    EXPECT_EQ(live.DelayMs, 0);
    EXPECT_EQ(live.Retries, 0);
    EXPECT_EQ(live.UserAgent, "");
}

TEST(LiveSources, EveryBadEntryIsNamedWithoutItsQuery) {
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {"[Suggestions]\nSource1=ftp://x.example/?q={keyword}",
         "Source1 (ftp://x.example/) is not an http or https address"},
        {"[Suggestions]\nSource2=suggest.example/?q={keyword}",
         "Source2 (suggest.example/) is not an http or https address"},
        {"[Suggestions]\nSource1=https:///?key=SECRET&q={keyword}", "Source1 (https:///) has no host that can be read"},
        {"[Suggestions]\nSource1=https://a b/?q={keyword}", "Source1 (https://a b/) has no host that can be read"},
        {"[Suggestions]\nSource1=https://x.example:0/?q={keyword}",
         "Source1 (https://x.example:0/) has a port that is not 1 to 65535"},
        {"[Suggestions]\nSource1=https://x.example/?key=SECRET&q=golf", "Source1 (https://x.example/) lacks {keyword}"},
        {"[Suggestions]\nSource1=https://u:p@x.example/?q={keyword}",
         "Source1 (https://u:p@x.example/) holds a user name, which is not supported"},
        {"[Suggestions]\nExpand=alphabet vowels", "Expand names \"vowels\", which is neither alphabet nor questions"},
        {"[Engines]\nGoogle=https://api.example/?key=SECRET&q={keyword}\nGoogleCount=/n",
         "Google (https://api.example/) lacks {query}"},
        {"[Engines]\nMsn=https://api.example/?q={query}",
         "Msn (https://api.example/) has no MsnCount that is a JSON pointer (it starts with \"/\")"},
        {"[Engines]\nMsn=https://api.example/?q={query}\nMsnCount=total",
         "Msn (https://api.example/) has no MsnCount that is a JSON pointer (it starts with \"/\")"},
        {"[Pacing]\nDelayMs=60001", "DelayMs is \"60001\", not a whole number from 0 to 60000"},
        {"[Pacing]\nRetries=-1", "Retries is \"-1\", not a whole number from 0 to 10"},
        {"[Pacing]\nRetries=three", "Retries is \"three\", not a whole number from 0 to 10"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> problems;
        const TLiveSources live = read(c.text, problems);
        ASSERT_EQ(problems.size(), 1u) << c.text;
        EXPECT_EQ(problems[0], c.problem);
        EXPECT_EQ(problems[0].find("SECRET"), std::string::npos);
        EXPECT_FALSE(live.HasSuggestionSources()) << c.text;
    }
}

TEST(LiveSources, QueriesOfOneRunInOrder) {
    const auto all = SuggestionQueries("golf", true, true);
    ASSERT_EQ(all.size(), 47u);
    EXPECT_EQ(all[0], "golf");
    EXPECT_EQ(all[1], "golf a");
    EXPECT_EQ(all[26], "golf z");
    EXPECT_EQ(all[27], "golf 0");
    EXPECT_EQ(all[36], "golf 9");
    EXPECT_EQ(all[37], "how golf");
    EXPECT_EQ(all[46], "are golf");
    EXPECT_EQ(SuggestionQueries("golf", false, true)[1], "how golf");
    EXPECT_EQ(SuggestionQueries("golf", false, false), std::vector<std::string>{"golf"});
}

TEST(LiveSources, TemplatesAndShownAddresses) {
    EXPECT_EQ(FillTemplate("https://a/?q={keyword}&again={keyword}", "{keyword}", "golf+clubs"),
              "https://a/?q=golf+clubs&again=golf+clubs");
    EXPECT_EQ(AddressWithoutQuery("https://api.example/v1/search?key=SECRET&q=x#top"), "https://api.example/v1/search");
    EXPECT_EQ(AddressWithoutQuery("https://api.example/v1#frag"), "https://api.example/v1");
    EXPECT_EQ(EngineQuery("golf clubs", SearchType::Precise), "%22golf+clubs%22");
    EXPECT_EQ(EngineQuery("golf clubs", SearchType::Broad), "golf+clubs");
}

}  // namespace
}  // namespace dorvanel::pages
