// The view's tests draw text, which needs a Qt application; it runs on the offscreen
// platform so that no display is ever used.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libQt6Core\nleak:libQt6Gui\n";
}

namespace {

class GuiEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        application_ = std::make_unique<QGuiApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

private:
    int argc_ = 1;
    char name_[20] = "wendra-view-tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QGuiApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
