// The recording of a windowed session (--record): every input event handed
// to the game, under the frame whose input stage takes it, and the
// milliseconds each frame stood for, in the text form that a headless run
// replays with --input. Written as it goes, so a session that crashes still
// leaves its input up to the crash.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/input_event.h"

namespace tova {

class TInputRecorder {
public:
    // Creates (or empties) the file at hostPath; throws ETovaError when it
    // cannot be written.
    explicit TInputRecorder(const std::string& hostPath);

    void Event(int64_t frame, const TInputEvent& event);
    void Tick(int64_t frame, int32_t milliseconds);

private:
    void Line(const std::string& line);

    std::string path_;
    std::ofstream out_;
};

}  // namespace tova
