// The "GPS" dialog in the real Qt host: it opens with its controls filled and the
// buttons close it.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "GpsFakes.h"
#include "QtTestApplication.h"
#include "gps/GpsDialogWindow.h"
#include "platform/qt/QtDialogHost.h"

namespace wendra::test {
namespace {

template <typename W>
W* control(QWidget& dialog, int id) {
    return dialog.findChild<W*>(QStringLiteral("control-%1").arg(id));
}

TEST(GpsDialogWindowQt, OpensFilledInTheRealHostAndItsButtonsCloseIt) {
    FakePorts ports;
    ports.described = {{10, "gpsd 127.0.0.1:2947"}};
    GpsDialogValues current;
    current.serial.portId = 10;
    GpsDialogSetup setup{ports, false, {u"Beep"}, {}, {}};
    platform::qt::QtDialogHost host;
    platform::ScopedDialogHost installed(host);

    whenModalShows([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("GPS"));
        auto* portList = control<QComboBox>(dialog, kGpsPortListId);
        ASSERT_NE(portList, nullptr);
        EXPECT_EQ(portList->count(), 20);
        EXPECT_EQ(portList->currentText(), QStringLiteral("GPD0: gpsd 127.0.0.1:2947"));
        EXPECT_EQ(control<QComboBox>(dialog, kGpsSoundListId)->count(), 2);
        EXPECT_TRUE(control<QCheckBox>(dialog, kGpsDeactivateId)->isChecked());
        EXPECT_TRUE(control<QLineEdit>(dialog, kGpsCorrectionId)->isEnabled())
            << "geoid correction is on by default";
        EXPECT_FALSE(control<QPushButton>(dialog, kGpsStaticNavId)->isEnabled());
        control<QCheckBox>(dialog, kGpsDeactivateId)->click();
        control<QPushButton>(dialog, platform::kIdOk)->click();
    });
    const auto values = runGpsDialog(current, setup);
    ASSERT_TRUE(values);
    EXPECT_FALSE(values->serial.has(SerialOptions::kDeactivated));
    EXPECT_EQ(values->serial.portId, 10);

    whenModalShows(
        [](QWidget& dialog) { control<QPushButton>(dialog, platform::kIdCancel)->click(); });
    EXPECT_EQ(runGpsDialog(current, setup), std::nullopt);
}

}  // namespace
}  // namespace wendra::test
