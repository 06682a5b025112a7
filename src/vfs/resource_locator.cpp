#include "vfs/resource_locator.h"

#include "core/sjis.h"
#include "platform/file_system.h"

namespace tova {

bool TResourceLocator::IsOwnModule(std::string_view moduleName) const {
    return SjisSameText(moduleName, ownModule_);
}

void TResourceLocator::AddEmbedded(std::string_view name, std::string_view type,
                                   std::span<const uint8_t> bytes) {
    embedded_[{SjisUpperCase(name), SjisUpperCase(type)}] = bytes;
}

std::optional<TResourceLocation> TResourceLocator::Find(std::string_view moduleName, std::string_view name,
                                                        std::string_view type) const {
    if (IsOwnModule(moduleName)) {
        const auto found = embedded_.find({SjisUpperCase(name), SjisUpperCase(type)});
        if (found == embedded_.end()) return std::nullopt;
        // An empty resource still gets a valid pointer, so it reads as memory.
        static const uint8_t kEmpty = 0;
        TResourceLocation location;
        location.memory = found->second.empty() ? &kEmpty : found->second.data();
        location.size = static_cast<int64_t>(found->second.size());
        return location;
    }
    if (!FileExists(moduleName)) return std::nullopt;
    return FindPeResource(moduleName, name, type);
}

}  // namespace tova
