#include "engine/page.h"

#include <algorithm>
#include <exception>

#include "core/binary_io.h"
#include "core/error.h"
#include "expr/param_collection.h"
#include "platform/message_box.h"
#include "vfs/file_manager.h"

namespace tova {
namespace {

// A command record holds at least its type byte and the common fields.
constexpr int64_t kMinCommandSize = 1 + 4 + 1 + 1 + 4;
constexpr int32_t kMaskEntriesWritten = kCommandCodeCount;

}  // namespace

TPage::TPage(TPageHost host) : host_(std::move(host)) {}

TPage::~TPage() {
    FreeHiddenVariable();
}

void TPage::FreeHiddenVariable() {
    if (!host_.Vars || Name.empty()) return;
    if (TParamCollectionItem* item = host_.Vars->FindItem(std::string(1, '\x01') + Name))
        host_.Vars->DeleteVariable(*item);
}

void TPage::Clear() {
    Commands.clear();
    Version = kNewestVersion;
    ResultType = kDefaultResultType;
    PropertyMasks = {};
}

void TPage::LoadFromFile(TVrFileManager& files, std::string_view name) {
    Clear();
    Name = std::string(name);
    TTpMemoryStream stream;
    files.LoadToStream(stream, name);
    LoadFromStream(stream);
}

void TPage::LoadFromStream(TStream& stream) {
    Clear();
    try {
        ReadBody(stream);
    } catch (...) {
        // A page that fails to load is never left half-filled.
        Clear();
        throw;
    }
}

void TPage::ReadBody(TStream& stream) {
    Version = ReadI32(stream);
    if (Version > kNewestVersion) {
        // A page a newer authoring tool wrote is kept empty by the format's rule.
        if (host_.Warnings)
            host_.Warnings->Warn(Name + ": the page is of version " + std::to_string(Version) +
                                 ", newer than this player reads (" + std::to_string(kNewestVersion) +
                                 "); it runs as an empty page");
        return;
    }
    if (Version < kOldestVersion) {
        WarnTooOld();
        return;
    }
    ResultType = ReadU8(stream);
    ReadMasks(stream);
    ReadCommands(stream);
}

void TPage::WarnTooOld() {
    if (host_.MessageBox)
        host_.MessageBox->Show(SysText("警告"), Name + "\r\n" + SysText("リビルドしてください"),
                               TMessageButtons::Ok);
    if (host_.RequestStop) host_.RequestStop();
}

void TPage::ReadMasks(TStream& stream) {
    const int32_t count = ReadI32(stream);
    const int32_t size = ReadI32(stream);
    if (count < 0 || size < 0 || (size > 0 && count > stream.Remaining() / size))
        throw ETovaError::Format(TErrorKind::DamagedPage,
                                 "damaged page %s: the property masks do not fit in the file", {Name});
    const int64_t kept = std::min<int64_t>(size, kPropertyMaskBytes);
    const int32_t used = std::min(count, kCommandCodeCount);
    for (int32_t k = 0; k < used && kept > 0; ++k) {
        stream.ReadBuffer(PropertyMasks[static_cast<size_t>(k)].data(), kept);
        stream.Seek(size - kept, TSeekOrigin::Current);
    }
    // Entries for codes no command has are skipped whole.
    stream.Seek(static_cast<int64_t>(count - used) * size, TSeekOrigin::Current);
}

void TPage::ReadCommands(TStream& stream) {
    const int32_t count = ReadI32(stream);
    if (count < 0 || count > stream.Remaining() / kMinCommandSize)
        throw ETovaError::Format(TErrorKind::DamagedPage,
                                 "damaged page %s: more commands than the file holds", {Name});
    Commands.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        try {
            std::unique_ptr<TCommand> command = CreateCommand(*this, ReadU8(stream));
            command->LoadFromStream(stream);
            Commands.push_back(std::move(command));
        } catch (const ETovaError& e) {
            // Say which page and which command, not only what was wrong.
            const std::string page = Name.empty() ? std::string("damaged page") : "damaged page " + Name;
            throw ETovaError(TErrorKind::DamagedPage, page + ", command " + std::to_string(i + 1) + " of " +
                                                          std::to_string(count) + ": " + e.Message());
        }
    }
}

void TPage::SaveToStream(TStream& stream) const {
    WriteI32(stream, Version);
    if (Version > kNewestVersion || Version < kOldestVersion) return;
    WriteU8(stream, ResultType);
    WriteI32(stream, kMaskEntriesWritten);
    WriteI32(stream, kPropertyMaskBytes);
    for (const TPropertyMask& mask : PropertyMasks)
        stream.WriteBuffer(mask.data(), kPropertyMaskBytes);
    WriteI32(stream, Count());
    for (const auto& command : Commands)
        command->SaveToStream(stream);
}

int32_t TPage::FindLabel(std::string_view label) const {
    for (size_t i = 0; i < Commands.size(); ++i)
        if (Commands[i]->MatchesLabel(label)) return static_cast<int32_t>(i);
    return -1;
}

int32_t TPage::IndexOf(const TCommand* command) const {
    for (size_t i = 0; i < Commands.size(); ++i)
        if (Commands[i].get() == command) return static_cast<int32_t>(i);
    return -1;
}

}  // namespace tova
