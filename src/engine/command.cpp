#include "engine/command.h"

#include <cstring>

#include "core/binary_io.h"
#include "core/error.h"
#include "engine/page.h"

namespace tova {
namespace {

constexpr char kStateHeader[] = "tova100";
constexpr int64_t kStateHeaderSize = 7;

}  // namespace

bool TCommand::MatchesLabel(std::string_view) const {
    return false;
}

void TCommand::LoadFromStream(TStream& stream) {
    Indent = ReadI32(stream);
    Disabled = ReadU8(stream);
    Chained = ReadU8(stream);
    LineId = ReadI32(stream);
}

void TCommand::SaveToStream(TStream& stream) const {
    WriteU8(stream, static_cast<uint8_t>(GetCode()));
    WriteI32(stream, Indent);
    WriteU8(stream, Disabled);
    WriteU8(stream, Chained);
    WriteI32(stream, LineId);
}

void TCommand::Prepare(TCallMan&) {}

void TCommand::Execute(TCallMan&, TPage*&, int32_t& pc) {
    ++pc;
}

void TCommand::SaveState(TStream&) const {}

void TCommand::LoadState(TStream&) {}

void TCommand::Stop(TCallMan&) {}

int32_t TCommand::PageVersion() const {
    return Page->Version;
}

void WriteStateHeader(TStream& stream) {
    stream.WriteBuffer(kStateHeader, kStateHeaderSize);
}

int32_t ReadStateHeader(TStream& stream) {
    const int64_t start = stream.GetPosition();
    char header[kStateHeaderSize];
    if (stream.Read(header, kStateHeaderSize) != kStateHeaderSize || std::memcmp(header, "tova", 4) != 0) {
        stream.SetPosition(start);
        return 0;
    }
    int32_t version = 0;
    for (int i = 4; i < kStateHeaderSize; ++i) {
        if (header[i] < '0' || header[i] > '9') return 0;
        version = version * 10 + (header[i] - '0');
    }
    return version;
}

}  // namespace tova
