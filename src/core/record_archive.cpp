#include "core/record_archive.h"

#include "core/binary_io.h"

namespace tova {

TRecordArchive::TRecordArchive(TArchiveMode mode, TStream& stream, int32_t version, TErrorKind damage)
    : mode_(mode), stream_(&stream), version_(version), damage_(damage) {}

TRecordArchive::TRecordArchive(int32_t version) : mode_(TArchiveMode::Describe), version_(version) {}

void TRecordArchive::Int32(int32_t& value, int32_t since) {
    if (!Holds(since)) return;
    if (IsReading())
        value = ReadI32(*stream_);
    else if (IsWriting())
        WriteI32(*stream_, value);
}

void TRecordArchive::Byte(uint8_t& value, int32_t since) {
    if (!Holds(since)) return;
    if (IsReading())
        value = ReadU8(*stream_);
    else if (IsWriting())
        WriteU8(*stream_, value);
}

void TRecordArchive::String(std::string& value, int32_t since) {
    if (!Holds(since)) return;
    if (IsWriting()) {
        WriteString(*stream_, value);
        return;
    }
    if (!IsReading()) return;
    const int32_t length = ReadI32(*stream_);
    value.clear();
    if (length <= 0) return;
    if (length > stream_->Remaining())
        throw ETovaError(damage_, "damaged record: a string of " + std::to_string(length) +
                                      " bytes, but only " + std::to_string(stream_->Remaining()) + " left");
    value.resize(static_cast<size_t>(length));
    stream_->ReadBuffer(value.data(), length);
}

int32_t TRecordArchive::Count(int32_t count, int64_t minItemSize, std::string_view what) {
    if (IsWriting()) {
        WriteI32(*stream_, count);
        return count;
    }
    if (!IsReading()) return count;
    const int32_t read = ReadI32(*stream_);
    if (read < 0 || read > stream_->Remaining() / minItemSize)
        throw ETovaError(damage_, "damaged record: " + std::string(what) + " count " + std::to_string(read) +
                                      " exceeds the data");
    return read;
}

}  // namespace tova
