// Archives built inside the tests: entries given as name/content pairs are
// written by the archive writer itself, to a file or to memory.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/binary_io.h"
#include "platform/file_system.h"
#include "vfs/big_stream.h"
#include "vfs/file_collection.h"

namespace tova::testing {

using TEntries = std::vector<std::pair<std::string, std::string>>;

inline std::vector<uint8_t> ArchiveBytes(const TEntries& entries, int version = 102, bool separateDirectory = false,
                                         int64_t* tablesEnd = nullptr) {
    TVrFileCollection collection;
    for (const auto& [name, content] : entries) {
        TVrFile* entry = collection.AddMemoryFile(name);
        entry->Data->WriteBuffer(content.data(), static_cast<int64_t>(content.size()));
    }
    TTpBigMemoryStream out;
    collection.SaveToStream(out, {version, separateDirectory});
    if (tablesEnd) *tablesEnd = out.GetPosition();
    return out.Memory().Bytes();
}

inline void WriteBytes(const std::string& hostPath, const std::vector<uint8_t>& bytes) {
    TTpBigMemoryStream stream(bytes);
    stream.SaveToFile(FromHostPath(hostPath));
}

inline std::string ReadAll(TVrFileCollection& collection, const std::string& name) {
    TTpMemoryStream out;
    collection.ReadEntry(out, name);
    return std::string(out.Bytes().begin(), out.Bytes().end());
}

inline std::string ReadAll(TStream& stream) {
    std::string text(static_cast<size_t>(stream.GetSize()), '\0');
    stream.SetPosition(0);
    stream.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    return text;
}

}  // namespace tova::testing
