#include "core/random.h"

#include <numeric>

#include "core/error.h"

namespace tova {

void TTpRandom::SetPool(int n) {
    pool_.resize(static_cast<size_t>(n > 0 ? n : 0));
    std::iota(pool_.begin(), pool_.end(), 0);
}

int TTpRandom::Draw() {
    if (pool_.empty()) throw ETovaError("TTpRandom: draw from an empty pool");
    const auto x = static_cast<uint32_t>(Next());
    const size_t i = x % pool_.size();
    const int value = pool_[i];
    pool_.erase(pool_.begin() + static_cast<std::ptrdiff_t>(i));
    return value;
}

}  // namespace tova
