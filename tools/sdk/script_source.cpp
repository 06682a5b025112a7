// The line structure of a source: indentation, comments, the header
// directives, attributes, command lines and their field lines.
#include "sdk/script_source.h"

#include "core/encoding.h"
#include "core/error.h"
#include "core/sjis.h"
#include "engine/command_names.h"
#include "expr/property_names.h"
#include "sdk/build_text_data.h"
#include "sdk/lint/near_name.h"
#include "sdk/script_expression.h"
#include "sdk/script_inline.h"
#include "sdk/script_text.h"

namespace tova::sdk {
namespace {

constexpr int kIndentWidth = 4;
constexpr int kTabWidth = 4;
constexpr int kMaskIdCount = kPropertyMaskBytes * 8;

bool IsIdentifierStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsIdentifierChar(char c) {
    return IsIdentifierStart(c) || (c >= '0' && c <= '9');
}

// "Name =" (but not "Name ==") at the start of text: the length of Name, or 0.
size_t FieldNameLength(std::string_view text) {
    if (text.empty() || !IsIdentifierStart(text[0])) return 0;
    size_t length = 1;
    while (length < text.size() && IsIdentifierChar(text[length]))
        ++length;
    size_t i = length;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i >= text.size() || text[i] != '=' || (i + 1 < text.size() && text[i + 1] == '=')) return 0;
    return length;
}

bool IsDirective(std::string_view text, std::string_view name) {
    return text.starts_with(name) && (text.size() == name.size() || IsBlank(text[name.size()]));
}

uint8_t ByteValue(TLineCursor& cursor, std::string_view what) {
    const int32_t value = cursor.ReadInt(what);
    if (value < 0 || value > 255) cursor.Fail(std::string(what) + " must be 0..255");
    return static_cast<uint8_t>(value);
}

std::vector<std::string> CommandNames() {
    std::vector<std::string> names;
    for (int code = 0; code < kCommandCodeCount; ++code)
        names.emplace_back(CommandScriptName(static_cast<TCommandCode>(code)));
    return names;
}

class TSourceReader {
public:
    TSourceReader(std::string_view sourceName, std::vector<TLineError>* errors,
                  TVariableTest projectVariables)
        : sourceName_(sourceName), errors_(errors), projectVariables_(std::move(projectVariables)) {}

    TScriptSource Read(std::string_view utf8) {
        if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
        const std::set<std::string> declared = DeclaredVariables(utf8);
        variables_ = [this, declared](std::string_view name) {
            return declared.contains(SjisLowerCase(name)) || (projectVariables_ && projectVariables_(name));
        };
        int line = 0;
        for (size_t start = 0; start <= utf8.size(); ++line) {
            size_t end = utf8.find('\n', start);
            if (end == std::string_view::npos) end = utf8.size();
            std::string_view text = utf8.substr(start, end - start);
            if (text.ends_with('\r')) text.remove_suffix(1);
            ReadLineKeepingErrors(text, line + 1);
            start = end + 1;
        }
        return std::move(source_);
    }

private:
    // Without a list of errors the first error ends the reading; with one,
    // every line is read and each failing line adds its error. The field
    // lines of a command line that failed are skipped with it.
    void ReadLineKeepingErrors(std::string_view utf8, int line) {
        if (!errors_) return ReadLine(utf8, line);
        const size_t commands = source_.Commands.size();
        commandLine_ = false;
        try {
            ReadLine(utf8, line);
        } catch (const ETovaError& error) {
            errors_->push_back({line, error.Message()});
            if (commandLine_ && source_.Commands.size() == commands) skipDeeperThan_ = lastColumn_;
        }
    }

    void ReadLine(std::string_view utf8, int line) {
        std::string text;
        try {
            text = Utf8ToCp932(utf8);
        } catch (const ETovaError& error) {
            // Name the characters and their columns where the line is UTF-8.
            TextDataForPlayer(std::string(utf8), std::string(sourceName_), static_cast<size_t>(line));
            throw SourceError(sourceName_, line, error.Message());
        }
        int column = 0;
        size_t pos = 0;
        for (; pos < text.size() && IsBlank(text[pos]); ++pos)
            column = text[pos] == '\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
        TLineCursor cursor(std::string_view(text).substr(pos), sourceName_, line, &variables_);
        if (cursor.AtEnd() && !IsDirective(cursor.Remaining(), "#page") &&
            !IsDirective(cursor.Remaining(), "#mask"))
            return;
        if (cursor.Peek() == '#') return ReadDirective(cursor);
        TSourceCommand* current = source_.Commands.empty() ? nullptr : &source_.Commands.back();
        const size_t nameLength = FieldNameLength(cursor.Remaining());
        if (nameLength > 0 && skipDeeperThan_ >= 0 && column > skipDeeperThan_) return;
        if (nameLength > 0 && current && column > current->Column)
            return ReadField(cursor, nameLength, *current);
        lastColumn_ = column;
        skipDeeperThan_ = -1;
        commandLine_ = true;
        ReadCommand(cursor, column);
    }

    void ReadDirective(TLineCursor& cursor) {
        if (!source_.Commands.empty()) cursor.Fail("#page and #mask must come before the first command");
        if (cursor.TryConsume("#page")) return ReadPage(cursor);
        cursor.TryConsume("#mask");
        ReadMask(cursor);
    }

    void ReadPage(TLineCursor& cursor) {
        while (!cursor.AtEnd()) {
            const std::string key(cursor.ReadWord());
            if (!cursor.TryConsume("=")) cursor.FailAt("#page takes key=value pairs", key);
            if (key == "version")
                source_.Version = cursor.ReadInt("version");
            else if (key == "result")
                source_.ResultType = ReadType(cursor);
            else
                cursor.FailAt("unknown #page setting (version, result)", key);
        }
    }

    void ReadMask(TLineCursor& cursor) {
        const std::string_view codeText = cursor.ReadWord();
        std::optional<TCommandCode> code = CommandCodeOfScriptName(codeText);
        int32_t number = 0;
        if (!code && ParseInt32(codeText, number) && number >= 0 && number < kCommandCodeCount)
            code = static_cast<TCommandCode>(number);
        if (!code) cursor.FailAt("#mask needs a command name or code", codeText);
        const auto index = static_cast<size_t>(*code);
        if (source_.Masks[index]) cursor.Fail("a second #mask for the same command");
        TPropertyMask mask{};
        while (!cursor.AtEnd()) {
            const std::string_view idText = cursor.ReadWord();
            std::optional<int> id = PropertyIdOfName(idText);
            if (!id && ParseInt32(idText, number) && number >= 0 && number < kMaskIdCount) id = number;
            if (!id) cursor.FailAt("not a property (a PR_ name or 0..167)", idText);
            MaskSet(mask, *id);
        }
        source_.Masks[index] = mask;
        source_.MaskLines[index] = cursor.Line();
    }

    void ReadField(TLineCursor& cursor, size_t nameLength, TSourceCommand& command) {
        TSourceField field;
        field.Name = std::string(cursor.Remaining().substr(0, nameLength));
        field.Line = cursor.Line();
        cursor.Advance(nameLength);
        cursor.TryConsume("=");
        const std::string_view value = cursor.ReadRest();
        const std::optional<int> id = PropertyIdOfName(value);
        if (field.Name == "PropertyId" && id)
            CompileExpression(std::to_string(*id), field.Value);
        else
            CompileValue(value, cursor, field.Value);
        command.Fields.push_back(std::move(field));
    }

    void ReadCommand(TLineCursor& cursor, int column) {
        if (column % kIndentWidth != 0) cursor.Fail("indentation must be a multiple of 4 spaces");
        TSourceCommand command;
        command.Line = cursor.Line();
        command.Column = column;
        command.Indent = column / kIndentWidth;
        // The debug log shows the LineId: by default the command's source line.
        command.LineId = command.Line;
        if (cursor.Peek() == '[') ReadAttributes(cursor, command);
        const std::string_view name = cursor.ReadWord();
        const std::optional<TCommandCode> code = CommandCodeOfScriptName(name);
        if (!code)
            cursor.FailAt("unknown command", std::string(name.empty() ? cursor.Remaining() : name) +
                                                 DidYouMean(name, CommandNames()));
        command.Code = *code;
        CheckAttributes(cursor, command);
        ReadInlineArguments(cursor, command);
        source_.Commands.push_back(std::move(command));
    }

    void ReadAttributes(TLineCursor& cursor, TSourceCommand& command) {
        const std::string inner(cursor.ReadBracketed());
        TLineCursor list(inner, sourceName_, cursor.Line(), &variables_);
        while (!list.AtEnd()) {
            if (list.TryConsume(",")) continue;
            const std::string key(list.ReadWord());
            const bool valued = list.TryConsume("=");
            if (key == "chained" && valued)
                command.Chained = ByteValue(list, "chained");
            else if (key == "disabled")
                command.Disabled = valued ? ByteValue(list, "disabled") : 1;
            else if (key == "line" && valued)
                command.LineId = list.ReadInt("line");
            else if (key == "indent" && valued)
                command.Indent = list.ReadInt("indent");
            else if (key == "target" && valued)
                command.Target = list.ReadInt("target");
            else if (key == "noinit" && !valued)
                command.NoInit = true;
            else if (key == "noloop" && !valued)
                command.NoLoop = true;
            else
                list.FailAt(
                    "unknown attribute (chained=N, disabled, line=N, indent=N, target=N, noinit, noloop)",
                    key.empty() ? list.Remaining() : key);
        }
    }

    void CheckAttributes(const TLineCursor& cursor, const TSourceCommand& command) const {
        const TCommandCode code = command.Code;
        const bool targeted = code == TCommandCode::While || code == TCommandCode::WhileLoop ||
                              code == TCommandCode::Break || code == TCommandCode::Continue;
        if (command.Target && !targeted)
            cursor.Fail("only While, WhileLoop, Break and Continue take target=");
        if ((command.NoInit || command.NoLoop) && code != TCommandCode::While)
            cursor.Fail("noinit and noloop belong to While");
    }

    std::string_view sourceName_;
    std::vector<TLineError>* errors_;
    TVariableTest projectVariables_;
    TVariableTest variables_;  // the project's and the source's own
    TScriptSource source_;
    int lastColumn_ = -1;       // of the last command line
    int skipDeeperThan_ = -1;   // field lines deeper than this belong to a failed command
    bool commandLine_ = false;  // the line being read is a command line
};

}  // namespace

uint8_t ReadType(TLineCursor& cursor) {
    const std::string_view word = cursor.ReadWord();
    for (int type = 0; type <= 4; ++type)
        if (word == TypeName(static_cast<uint8_t>(type))) return static_cast<uint8_t>(type);
    int32_t value = 0;
    if (!ParseInt32(word, value) || value < 0 || value > 255)
        cursor.FailAt("unknown type (ref, int, float, bool, str or 0..255)", word);
    return static_cast<uint8_t>(value);
}

std::set<std::string> DeclaredVariables(std::string_view utf8) {
    std::set<std::string> names;
    for (size_t start = 0; start < utf8.size();) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        std::string_view line = TrimBlanks(utf8.substr(start, end - start));
        start = end + 1;
        if (!line.starts_with("VarNew") || line.size() < 7 || !IsBlank(line[6])) continue;
        line = TrimBlanks(line.substr(7));
        const size_t nameEnd = line.find_first_of(" \t");
        try {
            names.insert(SjisLowerCase(Utf8ToCp932(line.substr(0, nameEnd))));
        } catch (const ETovaError&) {
            // A name code page 932 cannot hold fails where the line is read.
        }
    }
    return names;
}

TScriptSource ParseScriptSource(std::string_view utf8, std::string_view sourceName,
                                std::vector<TLineError>* errors, TVariableTest projectVariables) {
    return TSourceReader(sourceName, errors, std::move(projectVariables)).Read(utf8);
}

std::string TypeName(uint8_t type) {
    switch (type) {
        case 0:
            return "ref";
        case 1:
            return "int";
        case 2:
            return "float";
        case 3:
            return "bool";
        case 4:
            return "str";
        default:
            return std::to_string(type);
    }
}

std::string ScopeName(uint8_t scope) {
    switch (scope) {
        case 0:
            return "global";
        case 1:
            return "return";
        case 2:
            return "local";
        case 3:
            return "status";
        default:
            return std::to_string(scope);
    }
}

}  // namespace tova::sdk
