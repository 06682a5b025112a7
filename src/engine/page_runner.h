// What the project needs of the interpreter (the call manager): starting a
// page and running it to its end. The project creates it last, through the
// factory it is given, and owns it.
#pragma once

#include <string>

namespace tova {

class TPageRunner {
public:
    virtual ~TPageRunner() = default;
    // Loads the page and sets the program counter to 0.
    virtual void Start(const std::string& page) = 0;
    // Runs the interpreter's work of one frame.
    virtual void Run() = 0;
    // The main script has run to its end and no event handler is running.
    virtual bool IsFinished() const = 0;
};

}  // namespace tova
