#include "platform/AssumedAnswers.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/TraceLog.h"
#include "support/TestPaths.h"

namespace wendra::platform {
namespace {

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AssumedAnswers, AnswersQuestionsAsToldAndLogsEveryBox) {
    test::TempDir home;
    ASSERT_TRUE(traceLog().start(home.path()));
    AssumedAnswers no(Answer::No);
    ScopedMessageBoxHost scope(no);
    EXPECT_EQ(showMessage(u"Do you want to continue previous track?", u"Confirmation",
                          Buttons::YesNo),
              Answer::No);
    EXPECT_EQ(showMessage(u"Unable to read GPS!", u"Error!"), Answer::Ok);
    EXPECT_EQ(showMessage(u"Save?", u"Q", Buttons::OkCancel), defaultAnswer(Buttons::OkCancel));
    AssumedAnswers yes(Answer::Yes);
    EXPECT_EQ(yes.show({u"Two\nlines", u"Confirmation", Buttons::YesNoCancel}), Answer::Yes);

    const std::string log = readAll(home.path() / "TraceLog.txt");
    traceLog().stop();
    EXPECT_NE(log.find("Box [Confirmation] Do you want to continue previous track? -> No\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Box [Error!] Unable to read GPS! -> OK\n"), std::string::npos);
    EXPECT_NE(log.find("Box [Confirmation] Two lines -> Yes\n"), std::string::npos)
        << "a box of several lines is one line of the log";
}

}  // namespace
}  // namespace wendra::platform
