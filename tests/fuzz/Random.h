#pragma once
// The fuzzer's one source of choices: a run is fixed by its seed.

#include <cstdint>
#include <iterator>
#include <random>

namespace fuzz {

class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    // 0 <= result < n (n > 0).
    std::uint64_t below(std::uint64_t n) { return engine_() % n; }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(engine_) < p; }
    long between(long low, long high) { return low + static_cast<long>(below(static_cast<std::uint64_t>(high - low) + 1)); }
    std::uint64_t bits() { return engine_(); }
    template <class Container>
    auto& pick(Container& items) {
        return items[below(std::size(items))];
    }

private:
    std::mt19937_64 engine_;
};

}  // namespace fuzz
