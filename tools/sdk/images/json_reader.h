// A small JSON reader for the SDK's description files: objects, arrays,
// strings (UTF-8, with escapes), numbers, true, false and null.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tova::sdk {

struct TJsonValue {
    enum class TKind { Null, Bool, Number, String, Array, Object };
    TKind Kind = TKind::Null;
    bool Bool = false;
    double Number = 0;
    std::string String;
    std::vector<TJsonValue> Array;
    std::map<std::string, TJsonValue> Object;

    // Member access for objects: null when absent.
    const TJsonValue* Find(const std::string& key) const;
};

// Throws ETovaError "FILE: offset N: message" on malformed text.
TJsonValue ParseJson(std::string_view text, std::string_view fileName);

}  // namespace tova::sdk
