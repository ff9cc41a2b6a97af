#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "QtTestApplication.h"
#include "app/FileChooser.h"
#include "app/FileChooserDialog.h"
#include "platform/WidePath.h"
#include "platform/qt/QtDialogHost.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;
using platform::ControlKind;
using platform::DialogControls;
using platform::kIdCancel;
using platform::kIdOk;
using platform::Notification;
using platform::NotifyCode;

enum Id {
    kName = 10,
    kArchive,
    kRadioA,
    kRadioB,
    kRadioC,
    kRadioD,
    kList,
    kCombo,
    kTree,
    kLabel,
    kArea,
    kApply
};

platform::DialogTemplate everyKind() {
    using namespace platform;
    DialogTemplate dialog{100, u"Track", {160, 200}, {}};
    dialog.controls = {
        {kLabel, ControlKind::Label, u"Name:", {4, 4, 40, 14}, 0},
        {kName, ControlKind::Edit, u"", {44, 4, 156, 16}, 0},
        {kArchive, ControlKind::CheckBox, u"Archives in:", {4, 20, 80, 32}, 0},
        {kRadioA, ControlKind::Radio, u"Automatic", {4, 34, 60, 44}, style::kGroupStart},
        {kRadioB, ControlKind::Radio, u"Ask", {64, 34, 120, 44}, 0},
        {kRadioC, ControlKind::Radio, u"Km", {4, 46, 60, 56}, style::kGroupStart},
        {kRadioD, ControlKind::Radio, u"Mi", {64, 46, 120, 56}, 0},
        {kList, ControlKind::List, u"", {4, 58, 80, 90}, 0},
        {kCombo, ControlKind::Combo, u"", {84, 58, 156, 70}, 0},
        {kTree, ControlKind::Tree, u"", {4, 92, 80, 150}, 0},
        {kArea, ControlKind::OwnerDrawn, u"", {84, 92, 156, 150}, 0},
        {kApply, ControlKind::Button, u"Apply", {4, 170, 50, 184}, style::kDisabled},
        {kIdOk, ControlKind::Button, u"OK", {54, 170, 100, 184}, style::kDefaultButton},
        {kIdCancel, ControlKind::Button, u"Cancel", {104, 170, 156, 184}, 0},
    };
    return dialog;
}

// Fills the controls on opening, records everything the dialog tells it, paints
// its area red and fills a tree item when it is opened.
class RecordingProcedure final : public platform::DialogProcedure {
public:
    void init(DialogControls& dialog) override {
        dialog.setText(kName, u"Morning walk");
        dialog.setChecked(kArchive, true);
        dialog.setChecked(kRadioB, true);
        dialog.setChecked(kRadioC, true);
        for (auto item : {u"100", u"1000", u"10000"}) dialog.addItem(kList, item);
        for (auto item : {u"Red", u"Green"}) dialog.addItem(kCombo, item);
        dialog.setSelection(kList, 1);
        folder = dialog.addTreeItem(kTree, platform::kNoTreeItem, u"Records",
                                    platform::TreeIcon::Folder, true);
        if (timerPeriod > 0) dialog.setTimer(7, timerPeriod);
    }
    void command(DialogControls& dialog, int id) override {
        commands.push_back(id);
        if (id == kIdOk) {
            name = dialog.text(kName);
            archive = dialog.checked(kArchive);
            radios = {dialog.checked(kRadioA), dialog.checked(kRadioB), dialog.checked(kRadioC),
                      dialog.checked(kRadioD)};
            list = dialog.selection(kList);
            combo = dialog.text(kCombo);
        }
        DialogProcedure::command(dialog, id);
    }
    void notify(DialogControls& dialog, int id, const Notification& what) override {
        notes.emplace_back(id, what.code);
        if (what.code == NotifyCode::Expanding && what.item == folder)
            dialog.addTreeItem(kTree, folder, u"Trc-120315.wdt", platform::TreeIcon::File, false);
        if (what.code == NotifyCode::StylusDown) stylusAt = what.at;
    }
    void timer(DialogControls& dialog, int timerId) override {
        if (timerId == 7 && ++ticks == 3) dialog.end(42);
    }
    void paint(DialogControls&, int id, platform::DrawingSurface& surface) override {
        if (id == kArea)
            surface.fillRect(platform::Rect{0, 0, surface.size().width, surface.size().height},
                             platform::rgb(255, 0, 0));
    }

    int timerPeriod = 0;
    platform::TreeItem folder = platform::kNoTreeItem;
    std::vector<int> commands;
    std::vector<std::pair<int, NotifyCode>> notes;
    std::u16string name;
    std::u16string combo;
    bool archive = false;
    std::vector<bool> radios;
    int list = -1;
    int ticks = 0;
    platform::Point stylusAt{};
};

template <typename W>
W* control(QWidget& dialog, int id) {
    return dialog.findChild<W*>(QStringLiteral("control-%1").arg(id));
}

void typeInto(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &key);
    }
}

TEST(QtDialogHost, BuildsARealDialogFromTheTemplateAndReportsTheUsersWork) {
    RecordingProcedure procedure;
    whenModalShows([&](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Track"));
        auto* name = control<QLineEdit>(dialog, kName);
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), QStringLiteral("Morning walk"));
        EXPECT_EQ(control<QLabel>(dialog, kLabel)->text(), QStringLiteral("Name:"));
        EXPECT_FALSE(control<QPushButton>(dialog, kApply)->isEnabled());
        EXPECT_TRUE(control<QRadioButton>(dialog, kRadioB)->isChecked());
        EXPECT_TRUE(control<QRadioButton>(dialog, kRadioC)->isChecked())
            << "two groups, two choices";
        EXPECT_LT(name->geometry().left(),
                  control<QPushButton>(dialog, kIdCancel)->geometry().left());

        name->selectAll();
        typeInto(name, QStringLiteral("Evening"));
        control<QCheckBox>(dialog, kArchive)->click();
        control<QRadioButton>(dialog, kRadioA)->click();
        control<QListWidget>(dialog, kList)->setCurrentRow(2);
        auto* combo = control<QComboBox>(dialog, kCombo);
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        auto* tree = control<QTreeWidget>(dialog, kTree);
        tree->expandItem(tree->topLevelItem(0));
        EXPECT_EQ(tree->topLevelItem(0)->childCount(), 1) << "filled when opened";
        control<QPushButton>(dialog, kIdOk)->click();
    });
    platform::qt::QtDialogHost host;
    EXPECT_EQ(host.run(everyKind(), procedure), kIdOk);
    EXPECT_EQ(procedure.name, u"Evening");
    EXPECT_FALSE(procedure.archive);
    EXPECT_EQ(procedure.radios, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(procedure.list, 2);
    EXPECT_EQ(procedure.combo, u"Green");
    EXPECT_EQ(procedure.commands, (std::vector<int>{kArchive, kRadioA, kIdOk}));
    const std::vector<std::pair<int, NotifyCode>> notes = {{kName, NotifyCode::Changed},
                                                           {kList, NotifyCode::SelectionChanged},
                                                           {kCombo, NotifyCode::SelectionChanged},
                                                           {kTree, NotifyCode::Expanding}};
    std::vector<std::pair<int, NotifyCode>> seen;
    for (const auto& note : procedure.notes)
        if (seen.empty() || seen.back() != note) seen.push_back(note);  // one per kind of act
    EXPECT_EQ(seen, notes) << "the procedure's own changes in init notified nothing";
}

// A tree is emptied like a list, for a procedure that rebuilds it: the old handles
// then name nothing, and the new items are the only ones shown.
TEST(QtDialogHost, ClearingATreeForgetsItsItems) {
    struct Rebuild final : platform::DialogProcedure {
        void init(DialogControls& dialog) override {
            old = dialog.addTreeItem(kTree, platform::kNoTreeItem, u"Old",
                                     platform::TreeIcon::Folder, false);
            dialog.addTreeItem(kTree, old, u"Child", platform::TreeIcon::File, false);
            dialog.clearItems(kTree);
            dialog.addTreeItem(kTree, platform::kNoTreeItem, u"New", platform::TreeIcon::Folder,
                               false);
            oldText = dialog.treeItemText(kTree, old);
            oldChild = dialog.addTreeItem(kTree, old, u"Orphan", platform::TreeIcon::File, false);
        }
        platform::TreeItem old = platform::kNoTreeItem, oldChild = platform::kNoTreeItem;
        std::u16string oldText = u"unset";
    } procedure;
    int shown = 0;
    whenModalShows([&](QWidget& dialog) {
        auto* tree = control<QTreeWidget>(dialog, kTree);
        ASSERT_NE(tree, nullptr);
        shown = tree->topLevelItemCount();
        EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("New"));
        EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
        dialog.close();
    });
    platform::qt::QtDialogHost host;
    host.run(everyKind(), procedure);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(procedure.oldText, u"");
    EXPECT_EQ(procedure.oldChild, platform::kNoTreeItem) << "no item goes under a cleared one";
}

TEST(QtDialogHost, EscapeAndTheCloseBoxAreCancel) {
    RecordingProcedure procedure;
    whenModalShows([](QWidget& dialog) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &escape);
    });
    platform::qt::QtDialogHost host;
    EXPECT_EQ(host.run(everyKind(), procedure), kIdCancel);
    EXPECT_EQ(procedure.commands, std::vector<int>{kIdCancel});

    RecordingProcedure second;
    whenModalShows([](QWidget& dialog) { dialog.close(); });
    EXPECT_EQ(host.run(everyKind(), second), kIdCancel);
    EXPECT_EQ(second.commands, std::vector<int>{kIdCancel});
}

TEST(QtDialogHost, OwnerDrawnAreaIsPaintedByTheProcedureAndTakesTheStylus) {
    RecordingProcedure procedure;
    whenModalShows([&](QWidget& dialog) {
        QWidget* area = dialog.findChild<QWidget*>(QStringLiteral("control-%1").arg(kArea));
        ASSERT_NE(area, nullptr);
        const QImage picture = area->grab().toImage();
        EXPECT_EQ(picture.pixelColor(picture.width() / 2, picture.height() / 2), QColor(255, 0, 0));
        const QPointF at(7, 9);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(area, &press);
        control<QPushButton>(dialog, kIdCancel)->click();
    });
    platform::qt::QtDialogHost host;
    EXPECT_EQ(host.run(everyKind(), procedure), kIdCancel);
    EXPECT_EQ(procedure.stylusAt, (platform::Point{7, 9}));
}

TEST(QtDialogHost, DialogTimersTickUntilTheProcedureEndsTheDialog) {
    RecordingProcedure procedure;
    procedure.timerPeriod = 10;
    platform::qt::QtDialogHost host;
    EXPECT_EQ(host.run(everyKind(), procedure), 42);
    EXPECT_EQ(procedure.ticks, 3);
}

TEST(QtDialogHost, RunsTheFileChooserAsARealDialog) {
    TempDir root;
    std::filesystem::create_directories(root / "Docs" / "maps");
    writeFile(root / "Docs/Trip.wdt", "");
    platform::qt::QtDialogHost host;
    platform::ScopedDialogHost installed(host);
    whenModalShows([](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select a file"));
        auto* tree = control<QTreeWidget>(dialog, kFileChooserTreeId);
        ASSERT_NE(tree, nullptr);
        ASSERT_NE(tree->currentItem(), nullptr);
        EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("Docs"));
        auto* ok = control<QPushButton>(dialog, kIdOk);
        EXPECT_FALSE(ok->isEnabled());
        QTreeWidgetItem* trip = nullptr;
        for (int i = 0; i < tree->currentItem()->childCount(); ++i)
            if (tree->currentItem()->child(i)->text(0) == QStringLiteral("Trip.wdt"))
                trip = tree->currentItem()->child(i);
        ASSERT_NE(trip, nullptr);
        tree->setCurrentItem(trip);
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
    });
    FileChooserOptions options{true, {}};
    const auto start = *platform::wideFromPath(root / "Docs");
    EXPECT_EQ(chooseFileToOpen(options, {{u"Tracks", u"*.wdt"}}, start), start + u"/Trip.wdt");
}

}  // namespace
}  // namespace wendra::test
