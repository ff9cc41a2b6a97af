#pragma once
// Requests of the tests go to their own servers on 127.0.0.1 directly, whatever proxy
// the machine's user has set: a test program that includes this header unsets the
// proxy variables before its first test.

#include <gtest/gtest.h>

#include <cstdlib>

namespace wendra::test {

class DirectConnection : public ::testing::Environment {
public:
    void SetUp() override {
        for (const char* name :
             {"http_proxy", "https_proxy", "all_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY"})
            ::unsetenv(name);
    }
};

inline ::testing::Environment* const kDirectConnection =
    ::testing::AddGlobalTestEnvironment(new DirectConnection);

}  // namespace wendra::test
