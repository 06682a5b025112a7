// SIGINT and SIGTERM only raise the flag the frame loops read; the process
// goes on, and a second signal (not tested here: it ends the process) would
// end it at once.
#include "platform/stop_signal.h"

#include <gtest/gtest.h>
#include <signal.h>

namespace tova {
namespace {

TEST(StopSignal, EitherSignalRaisesTheFlagAndThePlayerGoesOn) {
    InstallStopSignals();
    InstallStopSignals();  // a second installation changes nothing
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        ClearStopSignal();
        EXPECT_FALSE(StopSignalReceived());
        ASSERT_EQ(raise(signalNumber), 0);
        EXPECT_TRUE(StopSignalReceived()) << signalNumber;
    }
    ClearStopSignal();
}

}  // namespace
}  // namespace tova
