#include "core/error.h"

#include "core/encoding.h"

namespace tova {

ETovaError::ETovaError(std::string cp932Message) : ETovaError(TErrorKind::General, std::move(cp932Message)) {}

ETovaError::ETovaError(TErrorKind kind, std::string cp932Message)
    : std::runtime_error(Cp932ToUtf8(cp932Message)), message_(std::move(cp932Message)), kind_(kind) {}

std::string SysText(std::string_view utf8) {
    return Utf8ToCp932Lossy(utf8);
}

ETovaError ETovaError::Format(std::string_view utf8Format,
                              std::initializer_list<std::string_view> cp932Args) {
    return Format(TErrorKind::General, utf8Format, cp932Args);
}

ETovaError ETovaError::Format(TErrorKind kind, std::string_view utf8Format,
                              std::initializer_list<std::string_view> cp932Args) {
    // '%' (0x25) is below the trail-byte range, so scanning the converted
    // bytes for "%s" can never split a double-byte character.
    const std::string format = SysText(utf8Format);
    std::string out;
    auto arg = cp932Args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' && arg != cp932Args.end()) {
            out.append(*arg++);
            ++i;
        } else {
            out.push_back(format[i]);
        }
    }
    return ETovaError(kind, std::move(out));
}

}  // namespace tova
