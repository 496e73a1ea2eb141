// The generator of the random choices, with seeds injected.
#include "app/random_pick.h"

#include <gtest/gtest.h>

#include <deque>

namespace dorvanel::app {
namespace {

TEST(RandomPick, LinearCongruentialSteps) {
    // Worked by hand: seed * 134775813 + 1 modulo 2^32, then the high half of (new seed * n).
    const struct {
        std::uint32_t seed;
        int n;
        int pick;
        std::uint32_t next;
    } cases[] = {
        {0, 3, 0, 1},
        {0x80000000u, 2, 1, 0x80000001u},
        {0xFFFFFFFFu, 3, 2, 4160191484u},
        {1, 1000, 31, 134775814u},
        {7, 0, 0, 943430692u},
    };
    for (const auto& c : cases) {
        std::uint32_t seed = c.seed;
        EXPECT_EQ(TRandomPick::Next(seed, c.n), c.pick) << c.seed;
        EXPECT_EQ(seed, c.next) << c.seed;
    }
}

TEST(RandomPick, ReseededBeforeEveryPick) {
    std::deque<std::uint32_t> seeds{0xFFFFFFFFu, 0, 0xFFFFFFFFu};
    TRandomPick random([&] {
        const std::uint32_t s = seeds.front();
        seeds.pop_front();
        return s;
    });
    EXPECT_EQ(random.Pick(3), 2);
    EXPECT_EQ(random.Pick(3), 0);
    EXPECT_EQ(random.Pick(3), 2);  // the same seed again gives the same pick
    EXPECT_TRUE(seeds.empty());
}

}  // namespace
}  // namespace dorvanel::app
