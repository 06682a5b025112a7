// One loaded script page: its commands in file order, its format version, the
// type of the result a Call of it gives back and the property masks that say
// which property expressions its component commands carry. Reader and writer
// of the page file are here side by side.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/stream.h"
#include "core/warning_sink.h"
#include "engine/command.h"

namespace tova {

class TMessageBoxHost;
class TParamCollection;
class TVrFileManager;

using TComList = std::vector<std::unique_ptr<TCommand>>;

// What a page needs of the running player; every member may be left empty
// (the SDK reads and writes pages without a player).
struct TPageHost {
    // The page's own hidden variable (character 1 followed by the page Name)
    // is freed from here when the page is destroyed.
    TParamCollection* Vars = nullptr;
    // Shows the warning for a page too old to be read.
    TMessageBoxHost* MessageBox = nullptr;
    // Sets the stop flag and closes the main window (a page too old to read).
    std::function<void()> RequestStop;
    // Told of a page too new to read (it runs as an empty page), or none.
    TWarningSink* Warnings = nullptr;
};

class TPage {
public:
    static constexpr int32_t kOldestVersion = 103;
    static constexpr int32_t kNewestVersion = 114;
    static constexpr uint8_t kDefaultResultType = 1;

    explicit TPage(TPageHost host = {});
    ~TPage();
    TPage(const TPage&) = delete;
    TPage& operator=(const TPage&) = delete;

    // Clears the page, sets Name and parses the whole file read through the
    // file manager. A read or format failure raises and leaves the page empty.
    void LoadFromFile(TVrFileManager& files, std::string_view name);
    // Parses a page file from the stream's position; Name stays as it is.
    void LoadFromStream(TStream& stream);
    // Writes the page file exactly as LoadFromStream reads it.
    void SaveToStream(TStream& stream) const;
    void Clear();

    // Index of the first command that answers to the label, or -1.
    int32_t FindLabel(std::string_view label) const;
    // Position of a command in Commands, or -1.
    int32_t IndexOf(const TCommand* command) const;
    int32_t Count() const { return static_cast<int32_t>(Commands.size()); }
    const TPropertyMask& MaskFor(TCommandCode code) const { return PropertyMasks[static_cast<size_t>(code)]; }

    TComList Commands;
    std::string Name;  // the virtual path the page was loaded from
    int32_t Version = kNewestVersion;
    uint8_t ResultType = kDefaultResultType;
    std::array<TPropertyMask, kCommandCodeCount> PropertyMasks{};

private:
    void ReadBody(TStream& stream);
    void ReadMasks(TStream& stream);
    void ReadCommands(TStream& stream);
    void WarnTooOld();
    void FreeHiddenVariable();

    TPageHost host_;
};

}  // namespace tova
