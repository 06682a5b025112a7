#include "platform/message_gloss.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace tova {
namespace {

// Japanese text as the system has it, and what it says.
constexpr std::array<std::pair<std::string_view, std::string_view>, 35> kGlosses = {{
    {"警告", "warning"},
    {"情報", "information"},
    {"エラー", "error"},
    {"スタートページがありません", "the start page does not exist"},
    {"プロジェクトがありません", "the project file is empty"},
    {"このバージョンには対応していません", "this version is not supported"},
    {"データファイルを作成することができません", "cannot create the save folder"},
    {"インストールし直してください", "please install the game again"},
    {"ディスクを入れてください", "please insert the game disc"},
    {"終了します", "the player ends"},
    {"リビルドしてください", "please rebuild the game"},
    {"スタックエラー", "call stack error"},
    {"作業用ファイルが作れません", "cannot create a temporary file"},
    {"リソースが見つかりません", "resource not found"},
    {"不正なコマンド", "invalid command"},
    {"構文エラー", "syntax error"},
    {"変数名がありません", "no such variable"},
    {"変数がありません", "the variable is not declared"},
    {"内部エラー", "internal error"},
    {"識別コードを設定してください", "please set the identification code"},
    {"プロパティ指定が不正です", "invalid property"},
    {"SetPropエラー", "SetProp failed"},
    {"GetPropエラー", "GetProp failed"},
    {"GetPropの引数が違います", "wrong GetProp argument"},
    {"配列の添字が不正です", "array index out of range"},
    {"配列の添え字が不正です", "array index out of range"},
    {"不正な式", "invalid expression"},
    {"ファイルがありません", "file not found"},
    {"変数が見つかりません", "variable not found"},
    {"不正な変数です", "invalid variable"},
    {"引数の数が不正です", "wrong number of arguments"},
    {"は有効な整数値ではありません", "is not a valid integer"},
    {"関数名がありません", "no such function"},
    {"配列の要素数", "invalid array size"},
    {"が不正です", "is invalid"},
}};

}  // namespace

bool LocaleIsJapanese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && value[0] != '\0') return std::string_view(value).starts_with("ja");
    }
    return false;
}

std::string_view EnglishGloss(std::string_view utf8Message) {
    // The longest known text the message starts with; failing that, the
    // longest it contains (the system puts names before some texts:
    // "tova.tpb:ファイルがありません").
    std::string_view best, bestGloss;
    for (const auto& [japanese, gloss] : kGlosses)
        if (utf8Message.starts_with(japanese) && japanese.size() > best.size()) {
            best = japanese;
            bestGloss = gloss;
        }
    if (!best.empty()) return bestGloss;
    for (const auto& [japanese, gloss] : kGlosses)
        if (utf8Message.find(japanese) != std::string_view::npos && japanese.size() > best.size()) {
            best = japanese;
            bestGloss = gloss;
        }
    return bestGloss;
}

std::string WithGloss(std::string_view utf8Message) {
    std::string line(utf8Message);
    if (LocaleIsJapanese()) return line;
    if (const std::string_view gloss = EnglishGloss(utf8Message); !gloss.empty())
        line.append(" (").append(gloss).append(")");
    return line;
}

}  // namespace tova
