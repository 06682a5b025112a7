// Image files for the image cache kept in memory by name, counting loads.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "graphics/brio_collection.h"

namespace tova::test {

class TMemorySource : public TImageFileSource {
public:
    std::map<std::string, std::vector<uint8_t>> Files;
    int Loads = 0;
    bool Exists(std::string_view name) override { return Files.count(std::string(name)) != 0; }
    void Load(TStream& stream, std::string_view name) override {
        ++Loads;
        auto& s = static_cast<TTpMemoryStream&>(stream);
        s.Assign(Files.at(std::string(name)));
    }
};

}  // namespace tova::test
