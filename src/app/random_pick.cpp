#include "app/random_pick.h"

#include <chrono>

namespace dorvanel::app {

TRandomPick::TRandomPick(TSeedSource seeds) : FSeeds(std::move(seeds)) {}

int TRandomPick::Pick(int n) {
    std::uint32_t seed = FSeeds ? FSeeds() : ClockSeed();
    return Next(seed, n);
}

int TRandomPick::Next(std::uint32_t& seed, int n) {
    seed = seed * 134775813u + 1u;
    if (n < 1) return 0;
    return static_cast<int>((std::uint64_t{seed} * static_cast<std::uint64_t>(n)) >> 32);
}

std::uint32_t TRandomPick::ClockSeed() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(ticks).count());
}

}  // namespace dorvanel::app
