// What the interpreter needs of the running game beyond the data and the
// variables: which pages can be switched to, and the requests that the frame
// procedure or the main window carry out after the interpreter's work.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tova {

class TInterpreterHost {
public:
    virtual ~TInterpreterHost() = default;
    // Whether a page can be switched to (it resolves, or its data disc is given).
    virtual bool PageExists(std::string_view name) = 0;
    // A game save to be written after this frame's interpreter work.
    virtual void RequestSave(int32_t slot, std::string text, std::string afterPage, int32_t afterTarget) = 0;
    // A game load to be performed after this frame's interpreter work.
    virtual void RequestLoad(int32_t slot) = 0;
    // Closes the main window (the stop flag is already set).
    virtual void RequestClose() {}
    // Returns the message history formats to their defaults (a script reset).
    virtual void ResetHistoryFormats() {}
};

}  // namespace tova
