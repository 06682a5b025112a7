// Helpers shared by the value and variable tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/error.h"

namespace tova::test {

// Runs f and returns the message (code page 932) of the ETovaError it throws;
// fails the test when it throws nothing.
template <class F>
std::string ErrorOf(F&& f) {
    try {
        f();
    } catch (const ETovaError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "no ETovaError thrown";
    return {};
}

inline std::string Sys(std::string_view utf8) {
    return SysText(utf8);
}

}  // namespace tova::test
