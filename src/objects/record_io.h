// One pass over a component's save record, reading its fields from or
// writing them to a stream, so that each record is described once by a
// single visiting function and its reader and writer cannot drift apart. The
// record visitor of the whole save data with the few field shapes that
// component records add: flags, rectangles and counts with a limit. Reading
// checks every length against what is left and throws ETovaError
// (DamagedSave) on damaged data.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "core/record_archive.h"
#include "graphics/surface.h"

namespace tova {

class TRecordIO : public TRecordArchive {
public:
    enum class TMode { Read, Write };
    // Component records name their version thresholds where they read them,
    // so every field counts as present here.
    TRecordIO(TStream& stream, TMode mode)
        : TRecordArchive(mode == TMode::Read ? TArchiveMode::Read : TArchiveMode::Write, stream,
                         std::numeric_limits<int32_t>::max(), TErrorKind::DamagedSave) {}
    bool Reading() const { return IsReading(); }
    using TRecordArchive::Stream;

    void I32(int32_t& v) { Int32(v); }
    void U8(uint8_t& v) { Byte(v); }
    // One byte: 0 false, anything else true.
    void Bool(bool& v);
    // Four int32: left, top, right, bottom.
    void Rect(TRect& v);
    // An int32 count that a reader checks against [0, limit] and against the
    // bytes left (each item takes at least minItemBytes).
    void Count(int32_t& v, int32_t limit, int32_t minItemBytes);
};

}  // namespace tova
