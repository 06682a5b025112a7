#include "sdk/lint/near_name.h"

#include <algorithm>

namespace tova::sdk {
namespace {

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Levenshtein distance over case-folded bytes, with a transposition of two
// neighbours counted as one edit.
size_t Distance(std::string_view a, std::string_view b) {
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const bool same = Fold(a[i - 1]) == Fold(b[j - 1]);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && Fold(a[i - 1]) == Fold(b[j - 2]) && Fold(a[i - 2]) == Fold(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

}  // namespace

std::optional<std::string> NearName(std::string_view word, const std::vector<std::string>& candidates) {
    // One or two letters are too short to guess from, except for letter case.
    const size_t allowed = word.size() <= 2 ? 0 : std::max<size_t>(1, word.size() / 3);
    std::optional<std::string> best;
    size_t bestDistance = allowed + 1;
    if (word.empty()) return best;
    for (const std::string& candidate : candidates) {
        if (candidate == word) continue;
        const size_t distance = Distance(word, candidate);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

std::string DidYouMean(std::string_view word, const std::vector<std::string>& candidates) {
    const std::optional<std::string> near = NearName(word, candidates);
    return near ? "; did you mean " + *near + "?" : "";
}

}  // namespace tova::sdk
