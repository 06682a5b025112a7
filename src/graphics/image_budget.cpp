// The load budget of one image.
#include "graphics/image_budget.h"

#include <algorithm>
#include <string>

#include "core/error.h"

namespace tova {

void TImageBudget::Take(int64_t bytes) {
    if (bytes <= 0) return;
    if (bytes > Left())
        throw ETovaError("damaged image: it needs more than the " + std::to_string(limit_ >> 20) +
                         " MiB an image may take while it loads");
    used_ += bytes;
}

void TImageBudget::Give(int64_t bytes) {
    used_ -= std::clamp<int64_t>(bytes, 0, used_);
}

}  // namespace tova
