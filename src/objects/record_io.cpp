#include "objects/record_io.h"

#include "core/error.h"

namespace tova {

void TRecordIO::Bool(bool& v) {
    uint8_t byte = v ? 1 : 0;
    Byte(byte);
    v = byte != 0;
}

void TRecordIO::Rect(TRect& v) {
    I32(v.Left);
    I32(v.Top);
    I32(v.Right);
    I32(v.Bottom);
}

void TRecordIO::Count(int32_t& v, int32_t limit, int32_t minItemBytes) {
    v = TRecordArchive::Count(v, minItemBytes, "a component record's");
    if (v > limit)
        throw ETovaError(TErrorKind::DamagedSave, "a component record is damaged: the count " +
                                                      std::to_string(v) + " is above " +
                                                      std::to_string(limit));
}

}  // namespace tova
