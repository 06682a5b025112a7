// The page versions from which command records hold a field. The page reader
// and writer, and the SDK's compiler and decompiler, all gate on these.
#pragma once

#include <cstdint>

namespace tova {

// Flip's WipeSource expression.
constexpr int32_t kWipeSourceVersion = 101;
// GameSave's command index to go to after the save is loaded.
constexpr int32_t kGameSaveTargetVersion = 105;
// The BlockEvents expressions of Wait, Flip, MovieStop and TextIns.
constexpr int32_t kBlockEventsVersion = 107;
// PropMotion's Paused expression.
constexpr int32_t kMotionPausedVersion = 108;
// The Format expressions of CallHist and FormatHist.
constexpr int32_t kHistoryFormatVersion = 111;

// Running states (inside saved games) from this state version on carry the
// BlockEvents flag of Wait, Flip, MovieStop and TextIns.
constexpr int32_t kStateBlockEventsVersion = 100;

}  // namespace tova
