#include <algorithm>
#include <cstdio>

#include "core/error.h"
#include "core/sjis.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "vfs/big_stream.h"

namespace tova {

namespace {

constexpr int64_t kCopyBufferSize = int64_t{1} << 20;

unsigned AccessOf(unsigned mode) {
    return mode & 0x3;
}
bool WritesWithoutReading(unsigned mode) {
    return IsCreateMode(mode) || AccessOf(mode) == fmOpenWrite;
}
// Every part is made new, never through a link: one planted where a part
// goes fails the write instead of sending it to the file it points to.
constexpr unsigned kNewPart = fmCreateNew | fmShareExclusive;
bool Writes(unsigned mode) {
    return IsCreateMode(mode) || AccessOf(mode) != fmOpenRead;
}

}  // namespace

// The parts' sizes are read once when they are opened and then kept up to
// date by Write: no other handle writes a file while this one holds it, and
// asking the system on every seek would cost an fstat per part.
struct TTpBigFileStream::Impl {
    unsigned mode = 0;
    std::vector<std::unique_ptr<TFileStream>> parts;
    std::vector<int64_t> sizes;
    int64_t size = 0;

    void AddPart(std::unique_ptr<TFileStream> part) {
        sizes.push_back(part->GetSize());
        size += sizes.back();
        parts.push_back(std::move(part));
    }
};

// The extension is what follows the last '.' of the last path component. The
// scan goes by characters, so a trail byte 0x5C ('\') of a double-byte
// character is not taken for a delimiter.
std::string TTpBigFileStream::PartName(std::string_view programPath, int part) {
    if (part == 0) return std::string(programPath);
    size_t dot = std::string_view::npos;
    ForEachSjisChar(programPath, [&](uint16_t code, size_t pos, size_t) {
        if (code == '\\' || code == '/') dot = std::string_view::npos;
        if (code == '.') dot = pos;
    });
    const std::string stem(programPath.substr(0, dot));
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%.3d", part);
    return stem + suffix;
}

TTpBigFileStream::TTpBigFileStream(std::string_view programPath, unsigned mode, int64_t partSize)
    : impl_(std::make_unique<Impl>()), fileName_(programPath), partSize_(partSize) {
    if (partSize_ <= 0) throw ETovaError::Format("%s: invalid part size", {fileName_});
    impl_->mode = mode;
    if (WritesWithoutReading(mode)) {
        // Stale parts of an earlier, longer file must not extend the new
        // one; fmCreateNew asks for a path where nothing stands yet.
        if (!IsCreateNewMode(mode)) {
            DeleteFileAt(fileName_);
            for (int part = 1; FileExists(PartName(fileName_, part)); ++part)
                DeleteFileAt(PartName(fileName_, part));
        }
        impl_->AddPart(std::make_unique<TFileStream>(fileName_, kNewPart));
        return;
    }
    impl_->AddPart(std::make_unique<TFileStream>(fileName_, mode));
    for (int part = 1; FileExists(PartName(fileName_, part)); ++part)
        impl_->AddPart(std::make_unique<TFileStream>(PartName(fileName_, part), mode));
}

TTpBigFileStream::~TTpBigFileStream() {
    if (!Writes(impl_->mode)) return;
    for (auto& part : impl_->parts) {
        try {
            part->Flush();
        } catch (...) {
            // Closing still releases the handle; a destructor cannot report.
        }
    }
}

int TTpBigFileStream::PartCount() const {
    return static_cast<int>(impl_->parts.size());
}

int64_t TTpBigFileStream::GetSize() {
    return impl_->size;
}

void TTpBigFileStream::SetPositionBig(int64_t position) {
    position_ = std::clamp<int64_t>(position, 0, GetSize());
}

int64_t TTpBigFileStream::Read(void* buffer, int64_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const auto part = static_cast<size_t>(position_ / partSize_);
        if (part >= impl_->parts.size()) break;
        const int64_t inPart = position_ % partSize_;
        const int64_t step = std::min(count - done, partSize_ - inPart);
        const int64_t got = std::max<int64_t>(0, impl_->parts[part]->ReadAt(inPart, out + done, step));
        position_ += got;
        done += got;
        // A part that ends early ends the data: the next part would not
        // continue at the right position.
        if (got < step) break;
    }
    return done;
}

int64_t TTpBigFileStream::Write(const void* buffer, int64_t count) {
    if (!Writes(impl_->mode)) return 0;
    const auto* in = static_cast<const uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const auto part = static_cast<size_t>(position_ / partSize_);
        if (part > impl_->parts.size()) break;
        if (part == impl_->parts.size()) {
            impl_->AddPart(
                std::make_unique<TFileStream>(PartName(fileName_, static_cast<int>(part)), kNewPart));
        }
        const int64_t inPart = position_ % partSize_;
        const int64_t step = std::min(count - done, partSize_ - inPart);
        const int64_t put = std::max<int64_t>(0, impl_->parts[part]->WriteAt(inPart, in + done, step));
        if (inPart + put > impl_->sizes[part]) {
            impl_->size += inPart + put - impl_->sizes[part];
            impl_->sizes[part] = inPart + put;
        }
        position_ += put;
        done += put;
        if (put < step) break;
    }
    return done;
}

std::span<const uint8_t> TTpBigFileStream::ViewAt(int64_t position, int64_t count) {
    if (Writes(impl_->mode) || position < 0 || count < 0) return {};
    const auto part = static_cast<size_t>(position / partSize_);
    const int64_t inPart = position % partSize_;
    if (part >= impl_->parts.size() || count > impl_->sizes[part] - inPart) return {};
    const std::span<const uint8_t> view = impl_->parts[part]->MappedView();
    if (view.size() < static_cast<size_t>(inPart + count)) return {};
    return view.subspan(static_cast<size_t>(inPart), static_cast<size_t>(count));
}

// Between two split files each step stays inside one part of either side, so
// every step is one read of one source part and one write of one target part.
int64_t TTpBigFileStream::CopyFromBig(TTpBigStream& source, int64_t count) {
    auto* sourceFile = dynamic_cast<TTpBigFileStream*>(&source);
    if (sourceFile == nullptr) return TTpBigStream::CopyFromBig(source, count);
    if (count == 0) {
        source.SetPositionBig(0);
        count = source.GetSize();
    }
    if (count <= 0) return 0;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kCopyBufferSize)));
    for (int64_t left = count; left > 0;) {
        const int64_t sourceRoom = sourceFile->partSize_ - sourceFile->position_ % sourceFile->partSize_;
        const int64_t targetRoom = partSize_ - position_ % partSize_;
        const int64_t chunk = std::min({left, static_cast<int64_t>(buffer.size()), sourceRoom, targetRoom});
        source.ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        left -= chunk;
    }
    return count;
}

}  // namespace tova
