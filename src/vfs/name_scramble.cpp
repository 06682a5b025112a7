#include "vfs/name_scramble.h"

#include "core/random.h"

namespace tova {

void TNameScrambler::Apply(std::string& name) {
    for (char& c : name)
        c = static_cast<char>(static_cast<uint8_t>(c) ^ static_cast<uint8_t>(random_.Next()));
}

void ScrambleNames(std::vector<std::string>& names) {
    TNameScrambler scrambler;
    for (std::string& name : names)
        scrambler.Apply(name);
}

void ScrambleOffsets32(std::vector<int64_t>& offsets) {
    TTpRandom random(TTpRandom::kArchiveSeed);
    for (int64_t& offset : offsets)
        offset = static_cast<int32_t>(offset) ^ random.Next();
}

void ScrambleOffsets64(std::vector<int64_t>& offsets) {
    TTpRandom random(TTpRandom::kArchiveSeed);
    for (int64_t& offset : offsets)
        offset ^= static_cast<int64_t>(random.Next());
}

}  // namespace tova
