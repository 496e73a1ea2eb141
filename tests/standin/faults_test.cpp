// The stand-in's fault settings: what the list accepts and refuses, and the draws they make.
#include <gtest/gtest.h>

#include <map>

#include "standin/faults.h"
#include "standin/options.h"

namespace dorvanel::standin {
namespace {

struct GoodList {
    const char* text;
    std::vector<FaultRate> rates;
};

TEST(Faults, ReadsEveryKindWithItsDefault) {
    const GoodList cases[] = {
        {"none", {}},
        {"reset=0.02", {{FaultKind::Reset, 0.02, 0}}},
        {"reset-mid=0.5", {{FaultKind::ResetMidway, 0.5, 0}}},
        {"stall=0.01:3", {{FaultKind::Stall, 0.01, 3}}},
        {"stall=0.01", {{FaultKind::Stall, 0.01, 1}}},
        {"500=1", {{FaultKind::Status500, 1, 0}}},
        {"503=0.1:0", {{FaultKind::Status503, 0.1, 0}}},
        {"503=0.1", {{FaultKind::Status503, 0.1, 1}}},
        {"cut=0", {{FaultKind::Cut, 0, 0}}},
        {"trickle=0.25:40", {{FaultKind::Trickle, 0.25, 40}}},
        {"trickle=0.25", {{FaultKind::Trickle, 0.25, 0}}},
        {"429=0.001:5", {{FaultKind::TooManyBurst, 0.001, 5}}},
        {"429=0.001", {{FaultKind::TooManyBurst, 0.001, 3}}},
        {"reset=0.2,stall=0.3:2,429=0.5:1",
         {{FaultKind::Reset, 0.2, 0}, {FaultKind::Stall, 0.3, 2}, {FaultKind::TooManyBurst, 0.5, 1}}},
    };
    for (const GoodList& c : cases) EXPECT_EQ(ParseFaults(c.text), c.rates) << c.text;
}

TEST(Faults, RefusesWhatItCannotReadNamingIt) {
    const struct {
        const char* text;
        const char* named;  // what the message must show
    } cases[] = {
        {"", "empty"},
        {"reset", "'reset' is not NAME=RATE"},
        {"reset=", "rate ''"},
        {"reset=abc", "rate 'abc'"},
        {"reset=-0.1", "rate '-0.1'"},
        {"reset=1.5", "rate '1.5'"},
        {"reset=nan", "rate 'nan'"},
        {"reset=inf", "rate 'inf'"},
        {"reset=0.1 ", "rate '0.1 '"},
        {"reset=+0.1", "rate '+0.1'"},
        {"bogus=0.1", "unknown fault 'bogus'"},
        {"RESET=0.1", "unknown fault 'RESET'"},
        {"reset=0.1,reset=0.2", "reset is given twice"},
        {"reset=0.1:2", "reset takes no ':' value"},
        {"500=0.1:2", "500 takes no ':' value"},
        {"stall=0.1:", "stall: '' is not a number"},
        {"stall=0.1:x", "stall: 'x'"},
        {"stall=0.1:601", "stall: '601' is not a number from 0 to 600"},
        {"stall=0.1:-1", "stall: '-1'"},
        {"429=0.1:0", "429: '0' is not a number from 1 to 1000"},
        {"503=0.1:99999999999", "503: '99999999999'"},
        {"reset=0.6,500=0.6", "add up to more than 1"},
        {"reset=0.1,", "'' is not NAME=RATE"},
        {",reset=0.1", "'' is not NAME=RATE"},
        {"=0.1", "unknown fault ''"},
    };
    for (const auto& c : cases) {
        try {
            ParseFaults(c.text);
            ADD_FAILURE() << "accepted '" << c.text << "'";
        } catch (const OptionError& e) {
            EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << c.text << ": " << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("faults: ", 0), 0u) << e.what();
        }
    }
}

TEST(Faults, TheCommandLineTakesTheListAndTheSeed) {
    std::vector<std::string> args = {"dorvanel-standin", "--faults", "reset=0.25,stall=0.5:3", "--seed=7"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    bool help = false;
    const Options options = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), help);
    EXPECT_EQ(options.faults, (std::vector<FaultRate>{{FaultKind::Reset, 0.25, 0}, {FaultKind::Stall, 0.5, 3}}));
    EXPECT_EQ(options.seed, 7u);
    for (const char* bad : {"", "-1", "x", "7x", "18446744073709551616"}) {
        Options o;
        EXPECT_THROW(ApplyOption(o, "seed", bad), OptionError) << bad;
    }
    EXPECT_NE(std::string(UsageText()).find("--faults"), std::string::npos);
}

std::vector<FaultKind> Draws(const std::vector<FaultRate>& rates, std::uint64_t seed, int n) {
    FaultDice dice(rates, seed);
    std::vector<FaultKind> kinds;
    for (int i = 0; i < n; ++i) kinds.push_back(dice.Next().kind);
    return kinds;
}

TEST(Faults, TheSameSeedDrawsTheSameFaults) {
    const auto rates = ParseFaults("reset=0.1,500=0.1,trickle=0.1:4");
    EXPECT_EQ(Draws(rates, 7, 500), Draws(rates, 7, 500));
    EXPECT_NE(Draws(rates, 7, 500), Draws(rates, 8, 500));
}

TEST(Faults, EachKindComesAtItsRate) {
    const auto rates = ParseFaults("reset=0.05,reset-mid=0.05,stall=0.1:2,500=0.1,503=0.1:4,cut=0.1,trickle=0.1:9");
    FaultDice dice(rates, 3);
    std::map<FaultKind, int> seen;
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) {
        const Fault f = dice.Next();
        ++seen[f.kind];
        for (const FaultRate& r : rates) {
            if (r.kind == f.kind) {
                EXPECT_EQ(f.argument, r.argument);
            }
        }
    }
    for (const FaultRate& r : rates) EXPECT_NEAR(seen[r.kind], r.rate * kDraws, 0.1 * r.rate * kDraws);
    EXPECT_NEAR(seen[FaultKind::None], 0.4 * kDraws, 0.04 * kDraws);
}

TEST(Faults, NoListAndRatesOfZeroMakeNoFaults) {
    EXPECT_EQ(Draws({}, 1, 100), std::vector<FaultKind>(100, FaultKind::None));
    EXPECT_EQ(Draws(ParseFaults("reset=0,429=0"), 1, 100), std::vector<FaultKind>(100, FaultKind::None));
    EXPECT_EQ(Draws(ParseFaults("500=1"), 1, 100), std::vector<FaultKind>(100, FaultKind::Status500));
}

TEST(Faults, ABurstAnswersTheRequestsAfterItWithoutADraw) {
    const std::vector<FaultKind> kinds = Draws(ParseFaults("429=0.3:4"), 5, 2000);
    // Every run of 429s is made of whole bursts of four.
    int run = 0, bursts = 0;
    for (size_t i = 0; i <= kinds.size(); ++i) {
        if (i < kinds.size() && kinds[i] == FaultKind::TooManyBurst) {
            ++run;
            continue;
        }
        if (i < kinds.size()) {  // the last may go on
            EXPECT_EQ(run % 4, 0) << "run ending at " << i;
        }
        bursts += run / 4;
        run = 0;
    }
    EXPECT_GT(bursts, 0);
}

}  // namespace
}  // namespace dorvanel::standin
