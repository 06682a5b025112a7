// Reading JSON text: the SDK's description files and the player's dumps. The
// whole document becomes a tree of values that the caller walks by member
// name; strings come out in UTF-8 with their escapes resolved. Writing JSON is
// json_text.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tova {

struct TJsonMember;

struct TJsonValue {
    enum class TKind { Null, Bool, Number, String, Array, Object };

    TKind Kind = TKind::Null;
    bool Bool = false;
    double Number = 0;
    std::string String;  // UTF-8, escapes resolved; a number's text as written
    std::vector<TJsonValue> Items;
    std::vector<TJsonMember> Members;  // in document order

    // The member of an object (the last one of that name, as a later member
    // overrides an earlier one), or null when there is none or this is no object.
    const TJsonValue* Member(std::string_view key) const;
};

struct TJsonMember {
    std::string Key;
    TJsonValue Value;
};

// Arrays and objects nested deeper than this are refused (the reader recurses).
constexpr int kJsonMaxDepth = 64;

// Reads one JSON document (blanks around it allowed). Malformed text throws
// ETovaError "SOURCE: offset N: what is wrong", N counting bytes from the start.
TJsonValue ParseJson(std::string_view text, std::string_view sourceName = "JSON");

}  // namespace tova
