// The small seeded generator used by archives, transitions and layered
// images: X = X * 5 + S (mod 2^32), plus a pool to draw from without
// replacement.
#pragma once

#include <cstdint>
#include <vector>

namespace tova {

class TTpRandom {
public:
    // The seed that scrambles archive names and offsets.
    static constexpr uint32_t kArchiveSeed = 1340628813u;

    explicit TTpRandom(uint32_t seed) : seed_(seed) {}

    int32_t Next() {
        x_ = x_ * 5u + seed_;
        return static_cast<int32_t>(x_);
    }

    // Fills the pool with 0 .. n-1 in ascending order.
    void SetPool(int n);
    int PoolSize() const { return static_cast<int>(pool_.size()); }
    // Advances like Next and removes and returns the pool element at X mod
    // the pool size. The pool must not be empty.
    int Draw();

private:
    uint32_t seed_;
    uint32_t x_ = 0;
    std::vector<int> pool_;
};

}  // namespace tova
