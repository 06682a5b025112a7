#include "platform/input_script.h"

#include <algorithm>
#include <charconv>

#include "core/encoding.h"
#include "core/error.h"
#include "platform/virtual_keys.h"

namespace tova {
namespace {

// A name between single quotes, for messages.
std::string Quoted(std::string_view text) {
    std::string quoted(1, '\'');
    quoted.append(text);
    quoted += '\'';
    return quoted;
}

// The blank-separated words of a line, up to a comment.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size() || line[i] == '#') break;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool ParseInteger(std::string_view text, int64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

class TLineParser {
public:
    TLineParser(std::string_view name, size_t number) : name_(name), number_(number) {}

    [[noreturn]] void Fail(const std::string& message) const {
        throw ETovaError(
            Utf8ToCp932Lossy(std::string(name_) + ":" + std::to_string(number_) + ": " + message));
    }
    int32_t Coordinate(std::string_view text) const {
        int64_t value = 0;
        if (!ParseInteger(text, value) || value < -1000000 || value > 1000000)
            Fail(Quoted(text) + " is no pixel coordinate");
        return static_cast<int32_t>(value);
    }
    void Expect(const std::vector<std::string_view>& words, size_t count, const char* form) const {
        if (words.size() != count) Fail(std::string("expected \"FRAME ") + form + "\"");
    }

private:
    std::string_view name_;
    size_t number_;
};

TMouseButton ButtonNamed(const TLineParser& parser, std::string_view name) {
    if (name == "left") return TMouseButton::Left;
    if (name == "right") return TMouseButton::Right;
    if (name == "middle") return TMouseButton::Middle;
    parser.Fail(Quoted(name) + " is no mouse button (left, right or middle)");
}

}  // namespace

TInputScript ParseInputScript(std::string_view text, std::string_view name) {
    TInputScript script;
    int32_t pointerX = 0;
    int32_t pointerY = 0;
    int64_t lastFrame = 0;
    size_t number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> words = Words(line);
        if (words.empty()) continue;
        const TLineParser parser(name, number);
        int64_t frame = 0;
        if (!ParseInteger(words[0], frame) || frame < 1)
            parser.Fail("a line starts with its frame number (1 or more)");
        if (frame < lastFrame)
            parser.Fail("frame " + std::to_string(frame) + " comes after frame " + std::to_string(lastFrame));
        lastFrame = frame;
        if (words.size() < 2) parser.Fail("an event must follow the frame number");
        const std::string_view kind = words[1];
        TInputEvent event;
        if (kind == "move") {
            parser.Expect(words, 4, "move X Y");
            event.Kind = TInputKind::MouseMove;
            pointerX = parser.Coordinate(words[2]);
            pointerY = parser.Coordinate(words[3]);
        } else if (kind == "down" || kind == "up") {
            parser.Expect(words, 3, "down|up left|right|middle");
            event.Kind = kind == "down" ? TInputKind::MouseDown : TInputKind::MouseUp;
            event.Button = ButtonNamed(parser, words[2]);
        } else if (kind == "wheel") {
            parser.Expect(words, 3, "wheel up|down");
            if (words[2] != "up" && words[2] != "down") parser.Fail("the wheel turns up or down");
            event.Kind = TInputKind::Wheel;
            event.WheelSteps = words[2] == "up" ? 1 : -1;
        } else if (kind == "key") {
            parser.Expect(words, 4, "key down|up CODE");
            if (words[2] != "down" && words[2] != "up") parser.Fail("a key goes down or up");
            const auto key = VirtualKeyFromName(words[3]);
            if (!key) parser.Fail(Quoted(words[3]) + " is no virtual-key code or name (VK_RETURN, A, 13)");
            event.Kind = words[2] == "down" ? TInputKind::KeyDown : TInputKind::KeyUp;
            event.Key = *key;
        } else if (kind == "text") {
            // The text is the rest of the line after one blank, as typed.
            const size_t at = line.find("text") + 4;
            if (at >= line.size()) parser.Fail("expected \"FRAME text TEXT\"");
            event.Kind = TInputKind::Text;
            event.Text = std::string(line.substr(at + 1));
        } else if (kind == "close") {
            parser.Expect(words, 2, "close");
            event.Kind = TInputKind::Close;
        } else if (kind == "tick") {
            parser.Expect(words, 3, "tick MS");
            int64_t ms = 0;
            if (!ParseInteger(words[2], ms) || ms < 0 || ms > 3600000)
                parser.Fail("a tick is 0 or more milliseconds");
            script.FrameTicks[frame] = static_cast<int32_t>(ms);
            continue;
        } else {
            parser.Fail("unknown event " + Quoted(kind) + " (move, down, up, wheel, key, text, close, tick)");
        }
        event.X = pointerX;
        event.Y = pointerY;
        script.Events.push_back({frame, std::move(event)});
    }
    return script;
}

std::string InputScriptLine(int64_t frame, const TInputEvent& event) {
    std::string line = std::to_string(frame) + " ";
    const auto button = [](TMouseButton b) {
        return b == TMouseButton::Left ? "left" : b == TMouseButton::Right ? "right" : "middle";
    };
    switch (event.Kind) {
        case TInputKind::MouseMove:
            return line + "move " + std::to_string(event.X) + " " + std::to_string(event.Y);
        case TInputKind::MouseDown:
            return line + "down " + button(event.Button);
        case TInputKind::MouseUp:
            return line + "up " + button(event.Button);
        case TInputKind::Wheel: {
            // One line per step.
            std::string lines;
            const int32_t steps = event.WheelSteps > 0 ? event.WheelSteps : -event.WheelSteps;
            for (int32_t i = 0; i < std::max(steps, 1); ++i)
                lines += (i ? "\n" : "") + line + (event.WheelSteps > 0 ? "wheel up" : "wheel down");
            return lines;
        }
        case TInputKind::KeyDown:
            return line + "key down " + VirtualKeyName(event.Key);
        case TInputKind::KeyUp:
            return line + "key up " + VirtualKeyName(event.Key);
        case TInputKind::Text:
            return line + "text " + event.Text;
        case TInputKind::Close:
            return line + "close";
        case TInputKind::FocusLost:
            return line + "# focus lost";
        case TInputKind::FocusGained:
            return line + "# focus gained";
    }
    return line;
}

std::string TickLine(int64_t frame, int32_t milliseconds) {
    return std::to_string(frame) + " tick " + std::to_string(milliseconds);
}

}  // namespace tova
