#pragma once
// Runs a test under a locale whose decimal separator is a comma, as the window does
// when Qt takes a German environment; restores the previous locale afterwards.
// Tests using it skip, saying why, when the machine lacks de_DE.UTF-8 (scripts/setup.sh
// generates it).

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace wendra::test {

class DecimalCommaTest : public ::testing::Test {
protected:
    static constexpr const char* kLocale = "de_DE.UTF-8";

    void SetUp() override {
        previous_ = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, kLocale))
            GTEST_SKIP() << kLocale << " is not installed (scripts/setup.sh generates it)";
        // The test is only worth something if the C library now writes a comma.
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 0.5);
        ASSERT_STREQ(probe, "0,5") << kLocale << " does not use a decimal comma here";
    }

    void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

private:
    std::string previous_;
};

}  // namespace wendra::test
