#pragma once
// The random choice of banner and footer links: a linear congruential generator (seed := seed * 134775813 + 1
// modulo 2^32; a pick among n takes the high 32 bits of the 64-bit product of the new seed and n), re-seeded
// from a clock immediately before each pick.
#include <cstdint>
#include <functional>

namespace dorvanel::app {

class TRandomPick {
public:
    using TSeedSource = std::function<std::uint32_t()>;

    // The seed comes from `seeds` before every pick; by default the low 32 bits of a nanosecond clock.
    explicit TRandomPick(TSeedSource seeds = ClockSeed);

    // An index from 0 to n - 1 (0 when n is below 1).
    int Pick(int n);

    // One step of the generator from `seed` (which it advances), giving an index below n.
    static int Next(std::uint32_t& seed, int n);
    static std::uint32_t ClockSeed();

private:
    TSeedSource FSeeds;
};

}  // namespace dorvanel::app
