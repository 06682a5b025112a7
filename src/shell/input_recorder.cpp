#include "shell/input_recorder.h"

#include "core/encoding.h"
#include "core/error.h"
#include "platform/input_script.h"

namespace tova {

TInputRecorder::TInputRecorder(const std::string& hostPath)
    : path_(hostPath), out_(hostPath, std::ios::binary | std::ios::trunc) {
    if (!out_) throw ETovaError(Utf8ToCp932Lossy("cannot write the recording '" + hostPath + "'"));
    Line("# tovaplayer input recording: replay with tovaplayer --headless --input FILE");
}

void TInputRecorder::Event(int64_t frame, const TInputEvent& event) {
    Line(InputScriptLine(frame, event));
}

void TInputRecorder::Tick(int64_t frame, int32_t milliseconds) {
    Line(TickLine(frame, milliseconds));
}

void TInputRecorder::Line(const std::string& line) {
    out_ << line << '\n';
    out_.flush();
    if (!out_) throw ETovaError(Utf8ToCp932Lossy("cannot write the recording '" + path_ + "'"));
}

}  // namespace tova
