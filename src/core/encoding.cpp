#include "core/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

#include "core/error.h"

namespace tova {
namespace {

enum class OnBadInput { Replace, Throw };

// iconv descriptors keep shift state, so each conversion resets its own one;
// a descriptor is not safe across threads, hence the lock.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Returns false when the input could not be converted and the policy is
    // Throw; replaced bytes are written as `replacement`.
    bool Convert(std::string_view in, std::string& out, OnBadInput policy, std::string_view replacement) {
        std::lock_guard lock(mutex_);
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        out.reserve(in.size() * 3 / 2 + 4);
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            if (policy == OnBadInput::Throw) return false;
            // EILSEQ or EINVAL (truncated sequence): skip one byte.
            out.append(replacement);
            ++inPtr;
            --inLeft;
        }
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        return true;
    }

private:
    iconv_t cd_;
    std::mutex mutex_;
};

Converter& ToUtf8() {
    static Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& FromUtf8() {
    static Converter converter("CP932", "UTF-8");
    return converter;
}

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    std::string out;
    ToUtf8().Convert(cp932, out, OnBadInput::Replace, "\xEF\xBF\xBD");
    return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::string out;
    // iconv maps a few characters to a near one (an em dash to the horizontal
    // bar): only a conversion that reads back as the same text is exact.
    if (!FromUtf8().Convert(utf8, out, OnBadInput::Throw, "") || Cp932ToUtf8(out) != utf8)
        throw ETovaError(
            Utf8ToCp932Lossy("cannot convert a UTF-8 text to code page 932: " + std::string(utf8)));
    return out;
}

std::string Utf8ToCp932Lossy(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    std::string out;
    FromUtf8().Convert(utf8, out, OnBadInput::Replace, "?");
    return out;
}

}  // namespace tova
