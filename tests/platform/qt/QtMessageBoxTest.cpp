#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <atomic>
#include <thread>

#include "QtTestApplication.h"
#include "platform/qt/QtMessageBoxHost.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;
using platform::Answer;
using platform::Buttons;
using platform::Icon;
using platform::Message;

struct Seen {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool topmost = false;
};

// Notes what the box shows, then presses the button.
void pressWhenShown(Seen& seen, QMessageBox::StandardButton button) {
    whenModalShows([&seen, button](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        seen = Seen{box->windowTitle(), box->text(), box->standardButtons(), box->icon(),
                    box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
        box->button(button)->click();
    });
}

TEST(QtMessageBoxHost, ShowsTheProgramsTextTitleAndButtonsAndReturnsThePress) {
    struct Case {
        const char* legend;
        Message message;
        QMessageBox::StandardButton press;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        Answer answer;
    };
    const Case cases[] = {
        {"an error to acknowledge",
         {u"Unable to save config!", u"Error!", Buttons::Ok, Icon::Error, false},
         QMessageBox::Ok,
         QMessageBox::Ok,
         QMessageBox::Critical,
         Answer::Ok},
        {"a question answered no",
         {u"Do you want to continue previous track?", u"Confirmation", Buttons::YesNo,
          Icon::Question, false},
         QMessageBox::No,
         QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Question,
         Answer::No},
        {"three buttons, cancelled",
         {u"Do you also want to import subfolders of /maps?", u"Confirmation", Buttons::YesNoCancel,
          Icon::None, false},
         QMessageBox::Cancel,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
         QMessageBox::NoIcon,
         Answer::Cancel},
        {"a topmost warning",
         {u".WndProc.3", u".Sync error!", Buttons::Ok, Icon::Warning, true},
         QMessageBox::Ok,
         QMessageBox::Ok,
         QMessageBox::Warning,
         Answer::Ok},
    };
    platform::qt::QtMessageBoxHost host;
    for (const Case& c : cases) {
        Seen seen;
        pressWhenShown(seen, c.press);
        EXPECT_EQ(host.show(c.message), c.answer) << c.legend;
        EXPECT_EQ(seen.title.toStdU16String(), c.message.title) << c.legend;
        EXPECT_EQ(seen.text.toStdU16String(), c.message.text) << c.legend;
        EXPECT_EQ(seen.buttons, c.buttons) << c.legend;
        EXPECT_EQ(seen.icon, c.icon) << c.legend;
        EXPECT_EQ(seen.topmost, c.message.topmost) << c.legend;
    }
}

TEST(QtMessageBoxHost, ABoxAskedOnAnotherThreadIsShownOnTheWindowThread) {
    platform::qt::QtMessageBoxHost host;
    platform::ScopedMessageBoxHost installed(host);
    Seen seen;
    pressWhenShown(seen, QMessageBox::Yes);
    std::atomic<bool> done{false};
    Answer answer = Answer::Cancel;
    std::thread worker([&] {
        answer = platform::showMessage(u"Replace?", u"Confirmation", Buttons::YesNo);
        done = true;
    });
    processEventsFor(5s, [&] { return done.load(); });
    worker.join();
    EXPECT_EQ(answer, Answer::Yes);
    EXPECT_EQ(seen.text, QStringLiteral("Replace?"));
}

TEST(QtMessageBoxHost, MarkupInTheTextIsShownAsItIs) {
    platform::qt::QtMessageBoxHost host;
    Seen seen;
    whenModalShows([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(host.show({u"<b>1 < 2</b>", u"Info!", Buttons::Ok, Icon::Information, false}),
              Answer::Ok);
}

}  // namespace
}  // namespace wendra::test
