#include "engine/status_record.h"

#include <array>
#include <cstring>
#include <string>

#include "core/error.h"

namespace tova {
namespace {

constexpr char kMagic[] = "Status";
constexpr int64_t kMagicSize = 6;
constexpr int64_t kHeaderSize = 9;
static_assert(TStatusRecord::kVersion >= 100 && TStatusRecord::kVersion <= 999,
              "the header holds the version as three digits");

}  // namespace

void TStatusRecord::Save(TStream& stream) const {
    const std::string header = kMagic + std::to_string(kVersion);
    stream.WriteBuffer(header.data(), static_cast<int64_t>(header.size()));
    for (const TStatusPart* part : parts_)
        part->Save(stream, kVersion);
}

int TStatusRecord::Load(TStream& stream) {
    const int64_t start = stream.GetPosition();
    std::array<char, kHeaderSize> header{};
    int version = 0;
    if (stream.Read(header.data(), kHeaderSize) == kHeaderSize &&
        std::memcmp(header.data(), kMagic, kMagicSize) == 0) {
        for (int64_t i = kMagicSize; i < kHeaderSize; ++i) {
            const char c = header[static_cast<size_t>(i)];
            if (c < '0' || c > '9') {
                version = 0;
                break;
            }
            version = version * 10 + (c - '0');
        }
    } else {
        stream.SetPosition(start);
    }
    for (TStatusPart* part : parts_)
        part->Load(stream, version);
    return version;
}

}  // namespace tova
