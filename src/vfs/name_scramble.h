// Archive directories store their names and offsets combined with the
// output of a TTpRandom seeded with the archive seed. Combining is an
// exclusive-or, so the same call scrambles and unscrambles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/random.h"

namespace tova {

// One generator across all names in order; every byte takes the low 8 bits
// of the next value.
void ScrambleNames(std::vector<std::string>& names);

// The same, one name at a time as a directory is read, so that the names
// need not be held twice.
class TNameScrambler {
public:
    void Apply(std::string& name);

private:
    TTpRandom random_{TTpRandom::kArchiveSeed};
};

// Version 100: 32-bit offsets combined with the values.
void ScrambleOffsets32(std::vector<int64_t>& offsets);
// Versions 101 and later: the low half with the value, the high half with
// its sign extension.
void ScrambleOffsets64(std::vector<int64_t>& offsets);

}  // namespace tova
