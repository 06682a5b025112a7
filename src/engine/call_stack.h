// The interpreter's call stack: one frame per Call and per dispatched event,
// holding the context to return to. The depth is the scope level of local
// variables, so every change of it is published to the variable collection.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "expr/custom_param.h"
#include "objects/component_handle.h"

namespace tova {

class TParamCollection;

using TStringList = std::vector<std::string>;

struct TStack {
    std::string PageName;  // page to return to
    int32_t PC = 0;        // command index to return to
    uint8_t Started = 0;
    uint8_t Chained = 0;
    std::string ResultVar;         // receives Result when the frame is popped (Call only)
    TStringList Args;              // arguments of the page returned to
    TComponentHandle EventSource;  // the sender of the event whose handler this frame returns to
    // The running state of the command that an event interrupted.
    std::optional<TTpMemoryStream> StateStream;
    // What the called page gives back, typed by its result type.
    std::unique_ptr<TCustomParam> Result;
};

// How the saved form names event sources: by the component's name.
struct TEventSourceNames {
    std::function<std::string(TComponentHandle)> NameOf;
    std::function<TComponentHandle(std::string_view)> Find;
};

class TStackList {
public:
    explicit TStackList(TParamCollection& vars) : vars_(vars) {}

    TStack& Push();
    // Moves the top frame into Popped and returns it; an empty stack raises
    // "スタックエラー".
    TStack& Pop();
    void Clear();

    bool Empty() const { return frames_.empty(); }
    int32_t Count() const { return static_cast<int32_t>(frames_.size()); }
    TStack& operator[](int32_t i) { return *frames_[static_cast<size_t>(i)]; }
    const TStack& operator[](int32_t i) const { return *frames_[static_cast<size_t>(i)]; }
    TStack& Top() { return *frames_.back(); }

    // The popped frame (its values stay until the next pop).
    TStack Popped;

    // The saved form: the popped frame, the frame count and the frames bottom first.
    void SaveToStream(TStream& stream, const TEventSourceNames& names) const;
    // Clears the stack and reads it back; damaged data raises ETovaError and
    // leaves the stack empty.
    void LoadFromStream(TStream& stream, const TEventSourceNames& names);

private:
    void Publish();

    TParamCollection& vars_;
    std::vector<std::unique_ptr<TStack>> frames_;
};

// One frame in the saved form. ResultVar is not kept: four bytes stand in its
// place and a loaded frame has none.
void SaveFrame(TStream& stream, const TStack& frame, const TEventSourceNames& names);
void LoadFrame(TStream& stream, TStack& frame, const TEventSourceNames& names);
void SaveStringList(TStream& stream, const TStringList& list);
TStringList LoadStringList(TStream& stream);

}  // namespace tova
