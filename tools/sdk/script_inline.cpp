#include "sdk/script_inline.h"

#include "core/sjis.h"
#include "sdk/script_expression.h"
#include "sdk/script_fields.h"

namespace tova::sdk {
namespace {

void AddField(TSourceCommand& command, std::string_view name, std::string_view value, const TLineCursor& at) {
    TSourceField field;
    field.Name = std::string(name);
    field.Line = at.Line();
    CompileValue(value, at, field.Value);
    command.Fields.push_back(std::move(field));
}

// The rest of the line as the field's value; nothing written gives no field.
void ReadRestField(TLineCursor& cursor, TSourceCommand& command, std::string_view name, bool required) {
    const std::string_view value = cursor.ReadRest();
    if (value.empty() && !required) return;
    AddField(command, name, value, cursor);
}

bool TryKeyword(TLineCursor& cursor, std::string_view word) {
    cursor.SkipBlanks();
    const std::string_view rest = cursor.Remaining();
    if (!rest.starts_with(word) || (rest.size() > word.size() && !IsBlank(rest[word.size()]))) return false;
    cursor.Advance(word.size());
    return true;
}

// "if COND" at the end of the line, or nothing.
void ReadCondition(TLineCursor& cursor, TSourceCommand& command) {
    if (cursor.AtEnd()) return;
    if (!TryKeyword(cursor, "if"))
        cursor.FailAt("\"if CONDITION\" or the end of the line expected", cursor.Remaining());
    AddField(command, kConditionField, cursor.ReadRest(), cursor);
}

TSourceTarget ReadTarget(TLineCursor& cursor) {
    TSourceTarget target;
    target.Line = cursor.Line();
    if (cursor.Peek() == '"') {
        target.Label = cursor.ReadString();
        return target;
    }
    const std::string_view word = cursor.ReadWord();
    if (word.empty()) cursor.FailAt("a label or command index expected", cursor.Remaining());
    if (!ParseInt32(word, target.Index)) target.Label = std::string(word);
    return target;
}

// A target may follow when the next token is none of the words that follow it.
bool TargetFollows(TLineCursor& cursor, std::initializer_list<std::string_view> followers) {
    if (cursor.AtEnd()) return false;
    if (cursor.Peek() == '"') return true;
    const std::string_view rest = cursor.Remaining();
    for (const std::string_view word : followers)
        if (rest.starts_with(word)) {
            const std::string_view after = rest.substr(word.size());
            if (word.ends_with('=') || word == "(" || word == "->" || after.empty() || IsBlank(after[0]))
                return false;
        }
    return true;
}

// A variable name: a string, or everything up to the next blank ("result[2]").
std::string ReadVariable(TLineCursor& cursor) {
    if (cursor.Peek() == '"') return cursor.ReadString();
    const std::string_view rest = cursor.Remaining();
    size_t length = 0;
    while (length < rest.size() && !IsBlank(rest[length]) && static_cast<unsigned char>(rest[length]) >= 0x20)
        length += SjisCharLength(rest, length);
    if (length == 0) cursor.Fail("a variable name expected");
    cursor.Advance(length);
    return std::string(rest.substr(0, length));
}

void ReadCall(TLineCursor& cursor, TSourceCommand& command) {
    command.PageName = cursor.ReadName("the page to call");
    if (TargetFollows(cursor, {"(", "->", "if"})) command.JumpTarget = ReadTarget(cursor);
    if (cursor.Peek() == '(') {
        const std::string_view list = cursor.ReadBracketed();
        const std::vector<std::string_view> items = SplitTopLevel(list, ',');
        if (!(items.size() == 1 && TrimBlanks(items[0]).empty()))
            for (const std::string_view item : items)
                AddField(command, "Arguments", TrimBlanks(item), cursor);
    }
    if (cursor.TryConsume("->")) {
        cursor.SkipBlanks();
        command.ResultVar = ReadVariable(cursor);
    }
    ReadCondition(cursor, command);
}

void ReadWait(TLineCursor& cursor, TSourceCommand& command) {
    const std::string_view rest = cursor.ReadRest();
    const size_t keyword = FindKeyword(rest, "while");
    const std::string_view time = TrimBlanks(rest.substr(0, keyword));
    if (!time.empty()) AddField(command, "Time", time, cursor);
    if (keyword != std::string_view::npos)
        AddField(command, kConditionField, TrimBlanks(rest.substr(keyword + 5)), cursor);
}

void ReadVarNew(TLineCursor& cursor, TSourceCommand& command) {
    command.Name = cursor.ReadName("a variable name");
    command.Type = ReadType(cursor);
    std::string_view rest = cursor.ReadRest();
    const size_t scope = FindKeyword(rest, "scope=");
    if (scope != std::string_view::npos) {
        TLineCursor scopeCursor(rest.substr(scope + 6), cursor.SourceName(), cursor.Line());
        const std::string_view word = scopeCursor.ReadWord();
        scopeCursor.ExpectEnd();
        int32_t value = -1;
        for (uint8_t kind = 0; kind < 4; ++kind)
            if (word == ScopeName(kind)) value = kind;
        if (value < 0 && (!ParseInt32(word, value) || value < 0 || value > 255))
            cursor.FailAt("unknown scope (global, return, local, status or 0..255)", word);
        command.Scope = static_cast<uint8_t>(value);
        rest = TrimBlanks(rest.substr(0, scope));
    }
    if (!rest.empty()) AddField(command, "InitialValue", rest, cursor);
}

void ReadReset(TLineCursor& cursor, TSourceCommand& command) {
    command.PageName = cursor.ReadName("the page to start");
    if (TargetFollows(cursor, {"full", "mode="})) command.JumpTarget = ReadTarget(cursor);
    if (cursor.AtEnd()) return;
    if (TryKeyword(cursor, "full")) {
        command.Mode = 1;
    } else if (cursor.TryConsume("mode=")) {
        const int32_t mode = cursor.ReadInt("mode");
        if (mode < 0 || mode > 255) cursor.Fail("mode must be 0..255");
        command.Mode = static_cast<uint8_t>(mode);
    }
    cursor.ExpectEnd();
}

void ReadComment(TLineCursor& cursor, TSourceCommand& command) {
    if (cursor.Peek() == '"') {
        command.Name = cursor.ReadString();
        cursor.ExpectEnd();
        return;
    }
    // The text as written, a '#' included.
    command.Name = std::string(TrimBlanks(cursor.Remaining()));
}

}  // namespace

void ReadInlineArguments(TLineCursor& cursor, TSourceCommand& command) {
    switch (command.Code) {
        case TCommandCode::If:
        case TCommandCode::Elseif:
        case TCommandCode::While:
            return ReadRestField(cursor, command, kConditionField, true);
        case TCommandCode::WhileInit:
        case TCommandCode::WhileLoop:
        case TCommandCode::Calc:
            return ReadRestField(cursor, command, "Expression", false);
        case TCommandCode::ObjDel:
            return ReadRestField(cursor, command, "Object", false);
        case TCommandCode::MenuClose:
        case TCommandCode::TextClr:
        case TCommandCode::MediaPlay:
            return ReadRestField(cursor, command, "Target", false);
        case TCommandCode::GameLoad:
            return ReadRestField(cursor, command, "Slot", false);
        case TCommandCode::Exit:
        case TCommandCode::Break:
        case TCommandCode::Continue:
            return ReadCondition(cursor, command);
        case TCommandCode::Label:
        case TCommandCode::VarDel:
            command.Name = cursor.ReadName("a name");
            return cursor.ExpectEnd();
        case TCommandCode::Comment:
            return ReadComment(cursor, command);
        case TCommandCode::GetProp:
            if (!cursor.AtEnd()) command.Name = cursor.ReadName("a variable name");
            return cursor.ExpectEnd();
        case TCommandCode::TextIns:
            if (!cursor.AtEnd()) command.Name = cursor.ReadString();
            return cursor.ExpectEnd();
        case TCommandCode::Jump:
            command.PageName = cursor.ReadName("the page to jump to");
            if (TargetFollows(cursor, {"if"})) command.JumpTarget = ReadTarget(cursor);
            return ReadCondition(cursor, command);
        case TCommandCode::Call:
            return ReadCall(cursor, command);
        case TCommandCode::Wait:
            return ReadWait(cursor, command);
        case TCommandCode::VarNew:
            return ReadVarNew(cursor, command);
        case TCommandCode::PCReset:
        case TCommandCode::Reset:
            return ReadReset(cursor, command);
        case TCommandCode::GameSave:
            if (cursor.AtEnd()) return;
            command.PageName = cursor.ReadName("the page to go to after loading");
            if (!cursor.AtEnd()) command.JumpTarget = ReadTarget(cursor);
            return cursor.ExpectEnd();
        default:
            return cursor.ExpectEnd();
    }
}

}  // namespace tova::sdk
