#include "engine/command.h"

#include <cstring>

#include "core/binary_io.h"
#include "core/error.h"
#include "engine/command_archive.h"
#include "engine/page.h"

namespace tova {
namespace {

constexpr char kStateHeader[] = "tova100";
constexpr int64_t kStateHeaderSize = 7;

}  // namespace

bool TCommand::MatchesLabel(std::string_view) const {
    return false;
}

void TCommand::Serialize(TCommandArchive& archive) {
    archive.Int32(Indent);
    archive.Byte(Disabled);
    archive.Byte(Chained);
    archive.Int32(LineId);
}

void TCommand::LoadFromStream(TStream& stream) {
    TCommandArchive archive(TArchiveMode::Read, stream, Page->Version, TErrorKind::DamagedPage);
    Serialize(archive);
}

void TCommand::SaveToStream(TStream& stream) const {
    WriteU8(stream, static_cast<uint8_t>(GetCode()));
    TCommandArchive archive(TArchiveMode::Write, stream, Page->Version, TErrorKind::DamagedPage);
    // Writing only reads the fields; one function serves both directions.
    const_cast<TCommand&>(*this).Serialize(archive);
}

void TCommand::Prepare(TCallMan&) {}

void TCommand::Execute(TCallMan&, TPage*&, int32_t& pc) {
    ++pc;
}

void TCommand::SaveState(TStream&) const {}

void TCommand::LoadState(TStream&) {}

void TCommand::Stop(TCallMan&) {}

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
