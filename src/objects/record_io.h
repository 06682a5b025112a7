// One pass over a save record's fields, reading them from or writing them to
// a stream, so that each record is described once by a single visiting
// function and its reader and writer cannot drift apart. Reading checks every
// length against what is left and throws ETovaError on damaged data.
#pragma once

#include <cstdint>
#include <string>

#include "core/stream.h"
#include "graphics/surface.h"

namespace tova {

class TRecordIO {
public:
    enum class TMode { Read, Write };
    TRecordIO(TStream& stream, TMode mode) : stream_(stream), mode_(mode) {}
    bool Reading() const { return mode_ == TMode::Read; }
    TStream& Stream() { return stream_; }

    void I32(int32_t& v);
    void U8(uint8_t& v);
    // One byte: 0 false, anything else true.
    void Bool(bool& v);
    // An int32 length, then the bytes.
    void String(std::string& v);
    // Four int32: left, top, right, bottom.
    void Rect(TRect& v);
    // An int32 count that a reader checks against [0, limit] and against the
    // bytes left (each item takes at least minItemBytes).
    void Count(int32_t& v, int32_t limit, int32_t minItemBytes);

private:
    TStream& stream_;
    TMode mode_;
};

}  // namespace tova
