// The warnings of one run (tovaplayer --warnings or --trace): each names the
// page and line of the command that was running, "PAGE(LINE): message
// (gloss)", and is written once per page, line and message, so a game that
// fails the same way every frame says so once.
#pragma once

#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <tuple>

#include "core/warning_sink.h"

namespace tova {

class TRunWarnings final : public TWarningSink {
public:
    // out: where the warnings go (UTF-8 lines), or null for a silent run.
    explicit TRunWarnings(std::ostream* out) : out_(out) {}

    // The command running now (page name in code page 932), until Leave.
    void Enter(std::string_view page, int32_t line) {
        page_ = page;
        line_ = line;
    }
    void Leave() {
        page_.clear();
        line_ = -1;
    }

    void Warn(std::string_view message) override;
    bool Enabled() const { return out_ != nullptr; }

private:
    std::ostream* out_;
    std::string page_;
    int32_t line_ = -1;
    std::set<std::tuple<std::string, int32_t, std::string>> said_;
};

}  // namespace tova
