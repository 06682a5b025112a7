#include "objects/record_io.h"

#include "core/binary_io.h"
#include "core/error.h"

namespace tova {

void TRecordIO::I32(int32_t& v) {
    if (Reading())
        v = ReadI32(stream_);
    else
        WriteI32(stream_, v);
}

void TRecordIO::U8(uint8_t& v) {
    if (Reading())
        v = ReadU8(stream_);
    else
        WriteU8(stream_, v);
}

void TRecordIO::Bool(bool& v) {
    if (Reading())
        v = ReadU8(stream_) != 0;
    else
        WriteU8(stream_, v ? 1 : 0);
}

void TRecordIO::String(std::string& v) {
    if (Reading())
        v = ReadString(stream_);
    else
        WriteString(stream_, v);
}

void TRecordIO::Rect(TRect& v) {
    I32(v.Left);
    I32(v.Top);
    I32(v.Right);
    I32(v.Bottom);
}

void TRecordIO::Count(int32_t& v, int32_t limit, int32_t minItemBytes) {
    I32(v);
    if (!Reading()) return;
    const int64_t left = stream_.GetSize() - stream_.GetPosition();
    if (v < 0 || v > limit || static_cast<int64_t>(v) * minItemBytes > left)
        throw ETovaError(TErrorKind::DamagedSave, "a component record is damaged: the count " +
                                                      std::to_string(v) + " does not fit its data");
}

}  // namespace tova
