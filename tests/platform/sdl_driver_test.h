// The base of tests that run once per SDL video driver, named by the test's
// parameter: "dummy" (offscreen, everywhere) and "x11" (skipped without an X
// display; Xvfb in CI).
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace tova::testing {

class TSdlDriverTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == "x11") {
            if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
            // SDL loads the X libraries itself and unloads them when the
            // window closes; kept loaded, what they never free is still
            // attributed to them (and suppressed) by the leak checker.
            for (const char* library :
                 {"libX11.so.6", "libXext.so.6", "libXcursor.so.1", "libXi.so.6", "libXrandr.so.2",
                  "libXinerama.so.1", "libXss.so.1", "libXfixes.so.3", "libGL.so.1", "libGLX_mesa.so.0",
                  "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
                dlopen(library, RTLD_NOW | RTLD_NODELETE);
        }
        setenv("SDL_VIDEODRIVER", GetParam().c_str(), 1);
    }
    void TearDown() override { unsetenv("SDL_VIDEODRIVER"); }
};

}  // namespace tova::testing
