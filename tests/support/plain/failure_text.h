#pragma once
// The message of the failure of class E that `call` ends with; a test failure (and an empty text) when it ends
// without one.
#include <gtest/gtest.h>

#include <string>

namespace dorvanel::test {

template <typename E, typename F>
std::string FailureText(F&& call) {
    try {
        call();
    } catch (const E& e) {
        return e.what();
    }
    ADD_FAILURE() << "no failure of the expected class";
    return {};
}

}  // namespace dorvanel::test
