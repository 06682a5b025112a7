// A small JSON reader for the player's dumps: the whole document becomes a
// tree of values that tests walk by member name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tova::testing {

struct TJsonMember;

struct TJsonValue {
    enum class TKind { Null, Bool, Number, String, Array, Object };

    TKind Kind = TKind::Null;
    bool Bool = false;
    double Number = 0;
    std::string String;  // UTF-8, escapes resolved; a number's text as written
    std::vector<TJsonValue> Items;
    std::vector<TJsonMember> Members;  // in document order

    // The member of an object, or null when there is none (or this is no object).
    const TJsonValue* Member(std::string_view key) const;
};

struct TJsonMember {
    std::string Key;
    TJsonValue Value;
};

// Reads one JSON document (surrounding blanks allowed); malformed text
// throws std::runtime_error naming the offset.
TJsonValue ParseJson(std::string_view text);

}  // namespace tova::testing
