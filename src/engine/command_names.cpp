#include "engine/command_names.h"

#include <array>

namespace tova {
namespace {

struct TCommandNames {
    std::string_view Script;
    std::string_view Display;
};

// Indexed by type code.
constexpr std::array<TCommandNames, kCommandCodeCount> kNames = {{
    {"If", "IF"},                                   // 0
    {"Elseif", "ELSE IF"},                          // 1
    {"Else", "ELSE"},                               // 2
    {"Label", "ラベル"},                            // 3
    {"Jump", "ジャンプ"},                           // 4
    {"Call", "コール"},                             // 5
    {"Exit", "リターン"},                           // 6
    {"Wait", "ウエイト"},                           // 7
    {"BoxNew", "矩形サーフェス作成"},               // 8
    {"ImgNew", "画像サーフェス作成"},               // 9
    {"MesNew", "メッセージボックス作成"},           // 10
    {"Timer", "タイマー"},                          // 11
    {"Movie", "ムービー再生"},                      // 12
    {"Flip", "フリップ"},                           // 13
    {"Calc", "計算"},                               // 14
    {"VarNew", "変数作成"},                         // 15
    {"VarDel", "変数削除"},                         // 16
    {"GetProp", "プロパティ取得"},                  // 17
    {"SetProp", "プロパティ設定"},                  // 18
    {"ObjDel", "コンポーネント削除"},               // 19
    {"TextIns", "テキスト挿入"},                    // 20
    {"MovieStop", "メディア停止"},                  // 21
    {"ClrHist", "履歴クリア"},                      // 22
    {"Cinema", "シネマサーフェス作成"},             // 23
    {"Caption", "キャプション作成"},                // 24
    {"Menu", "メニュー作成"},                       // 25
    {"MenuClose", "メニュークローズ"},              // 26
    {"Comment", "コメント"},                        // 27
    {"TextClr", "テキストクリア"},                  // 28
    {"CallHist", "履歴呼出"},                       // 29
    {"Button", "ボタン作成"},                       // 30
    {"While", "ループ"},                            // 31
    {"WhileInit", "ループ初期化"},                  // 32
    {"WhileLoop", "ループ再初期化"},                // 33
    {"Break", "ループ脱出"},                        // 34
    {"Continue", "ループ先頭へ"},                   // 35
    {"ParticleNew", "パーティクルサーフェス作成"},  // 36
    {"FireNew", "炎サーフェス作成"},                // 37
    {"GameSave", "ゲームセーブ"},                   // 38
    {"GameLoad", "ゲームロード"},                   // 39
    {"PCReset", "PCリセット"},                      // 40
    {"Reset", "リセット"},                          // 41
    {"Sound", "サウンド再生"},                      // 42
    {"EditNew", "エディット作成"},                  // 43
    {"MemoNew", "メモ作成"},                        // 44
    {"Terminate", "終了"},                          // 45
    {"DoEvent", "DoEvent"},                         // 46
    {"ClrRead", "既読クリア"},                      // 47
    {"MapImgNew", "選択画像作成"},                  // 48
    {"WaveNew", "ウエーブサーフェス作成"},          // 49
    {"TileNew", "タイルサーフェス作成"},            // 50
    {"SliderNew", "スライダー作成"},                // 51
    {"ScrollbarNew", "スクロールバー作成"},         // 52
    {"GaugeNew", "ゲージ作成"},                     // 53
    {"CGCaption", "画像キャプション作成"},          // 54
    {"MediaPlay", "メディア再生"},                  // 55
    {"PrevMenuNew", "プレビューメニュー作成"},      // 56
    {"PropMotion", "プロパティモーション"},         // 57
    {"FormatHist", "履歴書式登録"},                 // 58
    {"SaveCabinet", "キャビネット保存"},            // 59
    {"LoadCabinet", "キャビネット復帰"},            // 60
}};

}  // namespace

std::string_view CommandScriptName(TCommandCode code) {
    const auto index = static_cast<size_t>(code);
    return index < kNames.size() ? kNames[index].Script : std::string_view{};
}

std::optional<TCommandCode> CommandCodeOfScriptName(std::string_view name) {
    for (size_t i = 0; i < kNames.size(); ++i)
        if (kNames[i].Script == name) return static_cast<TCommandCode>(i);
    return std::nullopt;
}

std::string_view CommandDisplayName(TCommandCode code) {
    const auto index = static_cast<size_t>(code);
    return index < kNames.size() ? kNames[index].Display : std::string_view{};
}

}  // namespace tova
