#include "engine/call_stack.h"

#include "core/binary_io.h"
#include "core/error.h"
#include "expr/param_collection.h"
#include "expr/param_factory.h"

namespace tova {

TStack& TStackList::Push() {
    frames_.push_back(std::make_unique<TStack>());
    Publish();
    return *frames_.back();
}

TStack& TStackList::Pop() {
    if (frames_.empty()) throw ETovaError(SysText("スタックエラー"));
    Popped = std::move(*frames_.back());
    frames_.pop_back();
    Publish();
    return Popped;
}

void TStackList::Clear() {
    frames_.clear();
    Publish();
}

void TStackList::Publish() {
    vars_.CurrentDepth = Count();
}

void SaveStringList(TStream& stream, const TStringList& list) {
    WriteI32(stream, static_cast<int32_t>(list.size()));
    for (const std::string& item : list)
        WriteString(stream, item);
}

namespace {

int32_t ReadCount(TStream& stream, int64_t minItemBytes, const char* what) {
    const int32_t count = ReadI32(stream);
    if (count < 0 || count * minItemBytes > stream.GetSize() - stream.GetPosition())
        throw ETovaError(TErrorKind::DamagedSave, std::string("the call stack record is damaged: ") + what +
                                                      " count " + std::to_string(count) +
                                                      " does not fit in what is left");
    return count;
}

constexpr int64_t kMinFrameBytes = 4 + 4 + 1 + 1 + 4 + 4 + 4 + 4 + 1;

}  // namespace

TStringList LoadStringList(TStream& stream) {
    const int32_t count = ReadCount(stream, 4, "argument");
    TStringList list;
    list.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        list.push_back(ReadString(stream));
    return list;
}

void SaveFrame(TStream& stream, const TStack& frame, const TEventSourceNames& names) {
    WriteString(stream, frame.PageName);
    WriteI32(stream, frame.PC);
    WriteU8(stream, frame.Started);
    WriteU8(stream, frame.Chained);
    WriteI32(stream, 0);  // where older players kept a pointer to ResultVar
    SaveStringList(stream, frame.Args);
    WriteString(stream, frame.EventSource ? names.NameOf(frame.EventSource) : std::string());
    if (frame.StateStream) {
        const std::vector<uint8_t>& bytes = frame.StateStream->Bytes();
        WriteI32(stream, static_cast<int32_t>(bytes.size()));
        stream.WriteBuffer(bytes);
    } else {
        WriteI32(stream, 0);
    }
    if (frame.Result) {
        WriteU8(stream, static_cast<uint8_t>(frame.Result->StoredType()));
        frame.Result->SaveToStream(stream);
    } else {
        WriteU8(stream, 0);
    }
}

void LoadFrame(TStream& stream, TStack& frame, const TEventSourceNames& names) {
    TStack loaded;
    loaded.PageName = ReadString(stream);
    loaded.PC = ReadI32(stream);
    loaded.Started = ReadU8(stream);
    loaded.Chained = ReadU8(stream);
    ReadI32(stream);  // ResultVar does not survive a save
    loaded.Args = LoadStringList(stream);
    const std::string source = ReadString(stream);
    loaded.EventSource = source.empty() || !names.Find ? TComponentHandle{} : names.Find(source);
    const int32_t stateSize = ReadCount(stream, 1, "running state byte");
    if (stateSize > 0) {
        loaded.StateStream.emplace(ReadBytes(stream, stateSize));
    }
    const uint8_t resultType = ReadU8(stream);
    if (resultType != 0) {
        loaded.Result = CreateParam(resultType);
        if (!loaded.Result || resultType > 4)
            throw ETovaError(TErrorKind::DamagedSave,
                             "the call stack record is damaged: result type " + std::to_string(resultType));
        loaded.Result->LoadFromStream(stream);
    }
    frame = std::move(loaded);
}

void TStackList::SaveToStream(TStream& stream, const TEventSourceNames& names) const {
    SaveFrame(stream, Popped, names);
    WriteI32(stream, Count());
    for (const auto& frame : frames_)
        SaveFrame(stream, *frame, names);
}

void TStackList::LoadFromStream(TStream& stream, const TEventSourceNames& names) {
    Clear();
    try {
        LoadFrame(stream, Popped, names);
        const int32_t count = ReadCount(stream, kMinFrameBytes, "frame");
        for (int32_t i = 0; i < count; ++i)
            LoadFrame(stream, Push(), names);
    } catch (...) {
        Clear();
        throw;
    }
}

}  // namespace tova
