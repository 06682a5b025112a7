#include "core/sjis.h"

namespace tova {

size_t SjisCharLength(std::string_view s, size_t pos) {
    return IsSjisLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() ? 2 : 1;
}

uint16_t SjisCharCode(std::string_view s, size_t pos) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (SjisCharLength(s, pos) == 1) return lead;
    return static_cast<uint16_t>(lead << 8 | static_cast<unsigned char>(s[pos + 1]));
}

size_t SjisCharCount(std::string_view s) {
    size_t count = 0;
    for (size_t pos = 0; pos < s.size(); pos += SjisCharLength(s, pos)) ++count;
    return count;
}

std::vector<size_t> SjisCharStarts(std::string_view s) {
    std::vector<size_t> starts;
    for (size_t pos = 0; pos < s.size(); pos += SjisCharLength(s, pos)) starts.push_back(pos);
    return starts;
}

namespace {

template <char From, char To>
std::string FoldCase(std::string_view s) {
    std::string out(s);
    for (size_t pos = 0; pos < out.size();) {
        const size_t len = SjisCharLength(out, pos);
        if (len == 1 && out[pos] >= From && out[pos] <= From + 25) out[pos] = static_cast<char>(out[pos] - From + To);
        pos += len;
    }
    return out;
}

}  // namespace

std::string SjisLowerCase(std::string_view s) { return FoldCase<'A', 'a'>(s); }
std::string SjisUpperCase(std::string_view s) { return FoldCase<'a', 'A'>(s); }

int SjisCompareText(std::string_view a, std::string_view b) {
    // Both strings are walked in step: a byte is folded only when it stands at
    // a character start of its own string and is a single-byte character.
    size_t i = 0;
    bool aTrail = false, bTrail = false;
    for (; i < a.size() && i < b.size(); ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        const bool aLead = !aTrail && IsSjisLeadByte(ca);
        const bool bLead = !bTrail && IsSjisLeadByte(cb);
        if (!aTrail && !aLead && ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
        if (!bTrail && !bLead && cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb) return ca < cb ? -1 : 1;
        aTrail = aLead;
        bTrail = bLead;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SjisSameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && SjisCompareText(a, b) == 0;
}

size_t SjisFind(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return 0;
    for (size_t pos = 0; pos + needle.size() <= haystack.size(); pos += SjisCharLength(haystack, pos))
        if (haystack.compare(pos, needle.size(), needle) == 0) return pos;
    return std::string_view::npos;
}

}  // namespace tova
