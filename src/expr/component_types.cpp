#include "expr/component_types.h"

#include <array>
#include <utility>

namespace tova {
namespace {

// Identifier and display label, indexed by type code.
constexpr std::array<std::pair<std::string_view, std::string_view>, kComponentTypeCount> kTypes = {{
    {"LT_NONE", "なし"},                        // 0
    {"LT_AUDIO", "オーディオ"},                 // 1
    {"LT_BOX", "矩形サーフェス"},               // 2
    {"LT_BUTTON", "ボタン"},                    // 3
    {"LT_CINEMA", "シネマサーフェス"},          // 4
    {"LT_EDIT", "エディット"},                  // 5
    {"LT_FIRE", "炎サーフェス"},                // 6
    {"LT_HTTP", "HTTP"},                        // 7
    {"LT_IMAGES", "画像サーフェス"},            // 8
    {"LT_LABEL", "キャプション"},               // 9
    {"LT_MAP", "マップ"},                       // 10
    {"LT_MEMO", "メモ"},                        // 11
    {"LT_MENU", "メニュー"},                    // 12
    {"LT_MES", "メッセージボックス"},           // 13
    {"LT_PARTICLE", "パーティクルサーフェス"},  // 14
    {"LT_TIMER", "タイマー"},                   // 15
    {"LT_VIDEO", "ムービー"},                   // 16
    {"LT_SOUND", "サウンド"},                   // 17
    {"LT_MAPIMG", "選択画像"},                  // 18
    {"LT_WAVE", "ウェーブサーフェス"},          // 19
    {"LT_TILE", "タイルサーフェス"},            // 20
    {"LT_SLIDER", "スライダー"},                // 21
    {"LT_SCROLLBAR", "スクロールバー"},         // 22
    {"LT_GAUGE", "ゲージ"},                     // 23
    {"LT_CGLABEL", "画像キャプション"},         // 24
    {"LT_PREVMENU", "プレビューメニュー"},      // 25
    {"LT_PROPMOTION", "プロパティモーション"},  // 26
    {"LT_CABINET", "キャビネット"},             // 27
}};

}  // namespace

std::string_view ComponentTypeName(int code) {
    return code >= 0 && code < kComponentTypeCount ? kTypes[static_cast<size_t>(code)].first
                                                   : std::string_view();
}

std::string_view ComponentTypeLabel(int code) {
    return code >= 0 && code < kComponentTypeCount ? kTypes[static_cast<size_t>(code)].second
                                                   : std::string_view();
}

}  // namespace tova
