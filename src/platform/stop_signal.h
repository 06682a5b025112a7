// Ctrl-C (SIGINT) and SIGTERM as a request to end the player the way closing
// its window does: the handler only sets a flag that the frame loops read, so
// the end page still runs and the status record is written. A second signal
// ends the process at once.
#pragma once

namespace tova {

// Installs the handler for SIGINT and SIGTERM (once per process; later calls
// do nothing).
void InstallStopSignals();

// Whether SIGINT or SIGTERM arrived since the handler was installed (or the
// flag was cleared). Safe to call from any thread.
bool StopSignalReceived();

// Clears the flag, so that the next signal is a first one again (tests).
void ClearStopSignal();

}  // namespace tova
