// Finding a named resource of a module. The player's own module is the
// player itself: its resources are archives linked into the program (the
// start-up logo archive). Any other module is a Windows executable or
// library whose PE resource directory is read, so the archives that a
// Windows game keeps in its executable's resources are found.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace tova {

// Where a resource's bytes are: in memory (linked into the program), or as a
// region of a file.
struct TResourceLocation {
    const uint8_t* memory = nullptr;  // not owned; lives as long as the program
    std::string fileName;             // program path, when memory is null
    int64_t offset = 0;
    int64_t size = 0;
};

class TResourceLocator {
public:
    // The name by which callers refer to the player's own module (compared
    // without regard to case).
    void SetOwnModuleName(std::string name) { ownModule_ = std::move(name); }
    const std::string& OwnModuleName() const { return ownModule_; }
    bool IsOwnModule(std::string_view moduleName) const;

    // Registers a resource of the own module. The bytes must outlive the locator.
    void AddEmbedded(std::string_view name, std::string_view type, std::span<const uint8_t> bytes);

    // Resource names and types are compared without regard to case; "#n"
    // names a numeric id. Null when the module cannot be read or has no such
    // resource; a damaged resource directory throws ETovaError.
    std::optional<TResourceLocation> Find(std::string_view moduleName, std::string_view name,
                                          std::string_view type) const;

private:
    std::string ownModule_;
    std::map<std::pair<std::string, std::string>, std::span<const uint8_t>> embedded_;  // upper-cased keys
};

// Looks a resource up in a PE file (32- or 64-bit). Null when the file is not
// a PE image or has no such resource; a damaged resource directory throws
// ETovaError naming the file.
std::optional<TResourceLocation> FindPeResource(std::string_view programPath, std::string_view name,
                                                std::string_view type);

}  // namespace tova
