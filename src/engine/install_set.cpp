#include "engine/install_set.h"

#include <array>

#include "core/binary_io.h"
#include "core/error.h"

namespace tova {
namespace {

constexpr char HeaderMagic[2] = {'i', 's'};
constexpr int64_t HeaderSize = 5;
static_assert(TTovaInstallSet::CurrentVersion >= 100 && TTovaInstallSet::CurrentVersion <= 999,
              "the header holds the version as three digits");

void SkipBytes(TStream& s, int64_t count) {
    const int64_t left = s.Remaining();
    if (count < 0 || count > left)
        throw ETovaError("a field of " + std::to_string(count) + " bytes, but only " + std::to_string(left) +
                         " left");
    s.Seek(count, TSeekOrigin::Current);
}

void SkipString(TStream& s) {
    SkipBytes(s, ReadI32(s));
}

// A count of items that take at least itemSize bytes each must fit in what is
// left, so that a damaged count fails at once instead of looping for long.
void CheckCount(TStream& s, int32_t count, int64_t itemSize) {
    if (count < 0 || count > s.Remaining() / itemSize)
        throw ETovaError("a count of " + std::to_string(count) + " items does not fit in the " +
                         std::to_string(s.Remaining()) + " bytes left");
}

void SkipStrings(TStream& s) {
    const int32_t count = ReadI32(s);
    CheckCount(s, count, 4);
    for (int32_t i = 0; i < count; ++i)
        SkipString(s);
}

// "is" and three ASCII digits; anything else means a file without a header,
// which is read from its first byte as version 0.
int32_t ReadVersion(TStream& s) {
    const int64_t start = s.GetPosition();
    std::array<uint8_t, HeaderSize> header{};
    const int64_t got = s.Read(header.data(), HeaderSize);
    if (got == HeaderSize && header[0] == HeaderMagic[0] && header[1] == HeaderMagic[1]) {
        int32_t version = 0;
        bool digits = true;
        for (int i = 2; i < HeaderSize; ++i) {
            digits = digits && header[i] >= '0' && header[i] <= '9';
            version = version * 10 + (header[i] - '0');
        }
        if (digits) return version;
    }
    s.SetPosition(start);
    return 0;
}

}  // namespace

void TTovaInstallSet::LoadFromStream(TStream& stream) {
    try {
        const int32_t version = ReadVersion(stream);
        const int64_t numberSize = version > 99 ? 8 : 4;

        ReadI32(stream);
        std::string title = ReadString(stream);
        for (int i = 0; i < 3; ++i)
            SkipString(stream);
        ReadU8(stream);
        SkipString(stream);
        ReadU8(stream);

        const int32_t rows = ReadI32(stream);
        SkipString(stream);
        ReadI32(stream);
        ReadU8(stream);
        ReadU8(stream);
        SkipString(stream);
        SkipString(stream);
        CheckCount(stream, rows, 4 * numberSize);
        SkipBytes(stream, rows * 4 * numberSize);

        SkipBytes(stream, 4 * numberSize);
        ReadU8(stream);
        if (version > 100) ReadU8(stream);
        if (version > 101) SkipStrings(stream);

        bool dataInstalled = false;
        if (version > 102) dataInstalled = ReadBool(stream);
        if (version > 103) ReadU8(stream);
        if (version > 104) ReadU8(stream);
        if (version > 105) SkipStrings(stream);
        if (version > 106) SkipString(stream);
        if (version > 107) {
            SkipString(stream);
            SkipString(stream);
        }

        Version = version;
        Title = std::move(title);
        DataInstalled = dataInstalled;
    } catch (const ETovaError& e) {
        throw ETovaError(TErrorKind::DamagedSettings, "damaged install set: " + e.Message());
    }
}

void TTovaInstallSet::SaveToStream(TStream& stream) const {
    const std::string header = std::string(HeaderMagic, 2) + std::to_string(CurrentVersion);
    stream.WriteBuffer(header.data(), static_cast<int64_t>(header.size()));

    WriteI32(stream, 0);
    WriteString(stream, Title);
    for (int i = 0; i < 3; ++i)
        WriteString(stream, "");
    WriteU8(stream, 0);
    WriteString(stream, "");
    WriteU8(stream, 0);

    WriteI32(stream, 0);  // no table rows
    WriteString(stream, "");
    WriteI32(stream, 0);
    WriteU8(stream, 0);
    WriteU8(stream, 0);
    WriteString(stream, "");
    WriteString(stream, "");

    for (int i = 0; i < 4; ++i)
        WriteU64(stream, 0);
    WriteU8(stream, 0);
    WriteU8(stream, 0);
    WriteI32(stream, 0);  // no strings

    WriteBool(stream, DataInstalled);
    WriteU8(stream, 0);
    WriteU8(stream, 0);
    WriteI32(stream, 0);  // no strings
    WriteString(stream, "");
    WriteString(stream, "");
    WriteString(stream, "");
}

}  // namespace tova
