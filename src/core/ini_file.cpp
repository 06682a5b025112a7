#include "core/ini_file.h"

#include <charconv>
#include <cstdint>

#include "core/ascii.h"

namespace tova {
namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

}  // namespace

TIniFile::TIniFile(std::string_view text) {
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        TLine line;
        line.Raw = std::string(raw);
        const std::string_view trimmed = Trim(raw);
        if (trimmed.starts_with('[') && trimmed.find(']') != std::string_view::npos) {
            line.Kind = TLine::TKind::Section;
            line.Section = std::string(Trim(trimmed.substr(1, trimmed.find(']') - 1)));
        } else if (!trimmed.starts_with(';') && trimmed.find('=') != std::string_view::npos) {
            const size_t equals = trimmed.find('=');
            line.Kind = TLine::TKind::Pair;
            line.Key = std::string(Trim(trimmed.substr(0, equals)));
            line.Value = Unquoted(Trim(trimmed.substr(equals + 1)));
        }
        lines_.push_back(std::move(line));
    }
}

int TIniFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].Kind == TLine::TKind::Section && AsciiSameText(lines_[i].Section, section))
            return static_cast<int>(i);
    return -1;
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
    const int start = FindSection(section);
    if (start < 0) return std::nullopt;
    for (size_t i = static_cast<size_t>(start) + 1; i < lines_.size(); ++i) {
        if (lines_[i].Kind == TLine::TKind::Section) break;
        if (lines_[i].Kind == TLine::TKind::Pair && AsciiSameText(lines_[i].Key, key)) return lines_[i].Value;
    }
    return std::nullopt;
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
    const std::optional<std::string> value = Read(section, key);
    if (!value || value->empty()) return fallback;
    std::string_view text = *value;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return fallback;
    if (negative) number = -number;
    if (number < INT32_MIN || number > (base == 16 ? int64_t{UINT32_MAX} : int64_t{INT32_MAX}))
        return fallback;
    return static_cast<int32_t>(static_cast<uint32_t>(number));
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    TLine pair;
    pair.Kind = TLine::TKind::Pair;
    pair.Key = std::string(key);
    pair.Value = std::string(value);
    pair.Raw = pair.Key + "=" + pair.Value;
    int start = FindSection(section);
    if (start < 0) {
        TLine header;
        header.Kind = TLine::TKind::Section;
        header.Section = std::string(section);
        header.Raw = "[" + header.Section + "]";
        lines_.push_back(std::move(header));
        lines_.push_back(std::move(pair));
        return;
    }
    size_t insertAt = static_cast<size_t>(start) + 1;
    for (size_t i = insertAt; i < lines_.size(); ++i) {
        if (lines_[i].Kind == TLine::TKind::Section) break;
        if (lines_[i].Kind == TLine::TKind::Pair) {
            if (AsciiSameText(lines_[i].Key, key)) {
                pair.Key = lines_[i].Key;  // the file's own spelling stays
                pair.Raw = pair.Key + "=" + pair.Value;
                lines_[i] = std::move(pair);
                return;
            }
            insertAt = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(insertAt), std::move(pair));
}

std::string TIniFile::Text() const {
    std::string text;
    for (const TLine& line : lines_)
        text += line.Raw + "\r\n";
    return text;
}

}  // namespace tova
