#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/FileChooser.h"
#include "app/FileChooserDialog.h"
#include "platform/WidePath.h"
#include "support/ScriptedDialogHost.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using platform::FileDialogKind;
using platform::FileDialogStatus;
using platform::kIdCancel;
using platform::kIdOk;
using platform::TreeItem;

constexpr int kTree = kFileChooserTreeId;
constexpr int kName = kFileChooserNameId;

std::u16string wide(const fs::path& path) {
    return *platform::wideFromPath(path);
}

// Answers the platform's dialogs from a script and keeps the requests.
class ScriptedFileDialogs final : public platform::FileDialogHost {
public:
    ScriptedFileDialogs() : scope_(*this) {}
    platform::FileDialogResult run(const platform::FileDialogRequest& request) override {
        requests.push_back(request);
        return answer;
    }
    platform::FileDialogResult answer{FileDialogStatus::Cancelled, {}};
    std::vector<platform::FileDialogRequest> requests;

private:
    platform::ScopedFileDialogHost scope_;
};

// A folder holding Docs/ (Trip.wdt, route.WDN, notes.txt, sub/inner.wdt) and maps/.
class FileChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root.path() / "Docs" / "sub");
        fs::create_directories(root.path() / "maps");
        writeFile(root / "Docs/Trip.wdt", "");
        writeFile(root / "Docs/route.WDN", "");
        writeFile(root / "Docs/notes.txt", "");
        writeFile(root / "Docs/sub/inner.wdt", "");
    }

    std::vector<std::u16string> childNames(ScriptedDialog& dialog, TreeItem item) {
        std::vector<std::u16string> names;
        for (TreeItem child : dialog.treeChildren(kTree, item))
            names.push_back(dialog.treeItemText(kTree, child));
        return names;
    }
    TreeItem child(ScriptedDialog& dialog, TreeItem parent, std::u16string_view name) {
        for (TreeItem item : dialog.treeChildren(kTree, parent))
            if (dialog.treeItemText(kTree, item) == name) return item;
        return platform::kNoTreeItem;
    }

    TempDir root;
    ScriptedDialogHost dialogs;
    ScriptedMessageBoxes boxes;
    ScriptedFileDialogs platformDialogs;
    FileChooserOptions extended{true, {}};
    const std::vector<platform::FileFilter> tracksAndRoutes{{u"Tracks", u"*.wdt"},
                                                            {u"Routes", u"*.wdn"}};
};

TEST_F(FileChooserTest, OpenShowsFoldersAndFilteredFilesAndGivesTheFilesPath) {
    dialogs.expect([&](ScriptedDialog& dialog) {
        EXPECT_EQ(dialog.title(), u"Select a file");
        EXPECT_FALSE(dialog.visible(kName)) << "no name field when opening";
        const TreeItem docs = dialog.selectedTreeItem(kTree);
        ASSERT_EQ(dialog.treeItemText(kTree, docs), u"Docs") << "the start folder is selected";
        EXPECT_TRUE(dialog.expanded(kTree, docs));
        EXPECT_EQ(childNames(dialog, docs),
                  (std::vector<std::u16string>{u"sub", u"route.WDN", u"Trip.wdt"}));
        EXPECT_FALSE(dialog.enabled(kIdOk)) << "a folder is no file to open";
        EXPECT_FALSE(dialog.press(kIdOk));
        ASSERT_TRUE(dialog.select(kTree, child(dialog, docs, u"Trip.wdt")));
        EXPECT_TRUE(dialog.enabled(kIdOk));
        dialog.press(kIdOk);
    });
    const auto chosen = chooseFileToOpen(extended, tracksAndRoutes, wide(root / "Docs"));
    EXPECT_EQ(chosen, wide(root / "Docs/Trip.wdt"));
    EXPECT_TRUE(platformDialogs.requests.empty()) << "extended selection skips the platform";
}

TEST_F(FileChooserTest, TreeStartsAtTheRootAndFillsFoldersOnlyWhenOpened) {
    dialogs.expect([&](ScriptedDialog& dialog) {
        const TreeItem top = dialog.findTreeItem(kTree, {u"/"});
        ASSERT_NE(top, platform::kNoTreeItem);
        EXPECT_EQ(dialog.treeChildren(kTree, platform::kNoTreeItem).size(), 1u);
        const TreeItem docs = dialog.selectedTreeItem(kTree);
        const TreeItem sub = child(dialog, docs, u"sub");
        EXPECT_TRUE(childNames(dialog, sub).empty()) << "not listed before it is opened";
        ASSERT_TRUE(dialog.expand(kTree, sub));
        EXPECT_EQ(childNames(dialog, sub), (std::vector<std::u16string>{u"inner.wdt"}));
        dialog.expand(kTree, sub);  // opening again adds nothing twice
        EXPECT_EQ(childNames(dialog, sub).size(), 1u);
        dialog.select(kTree, child(dialog, sub, u"inner.wdt"));
        dialog.press(kIdOk);
    });
    EXPECT_EQ(chooseFileToOpen(extended, tracksAndRoutes, wide(root / "Docs")),
              wide(root / "Docs/sub/inner.wdt"));
}

TEST_F(FileChooserTest, StartFolderIsWalkedIgnoringCaseAndStopsWhereItEnds) {
    struct Case {
        const char* legend;
        std::u16string start;
        std::u16string selected;
    };
    const std::vector<Case> cases = {
        {"letter case differs", wide(root / "DOCS"), u"Docs"},
        {"a missing folder stops the walk", wide(root / "Docs/gone/deeper"), u"Docs"},
        {"dots and doubled slashes", wide(root.path()) + u"/./Docs//sub/", u"sub"},
        {"no start folder selects the root", u"", u"/"},
    };
    for (const Case& c : cases) {
        dialogs.expect([&](ScriptedDialog& dialog) {
            EXPECT_EQ(dialog.treeItemText(kTree, dialog.selectedTreeItem(kTree)), c.selected)
                << c.legend;
            dialog.press(kIdCancel);
        });
        EXPECT_EQ(chooseFileToOpen(extended, tracksAndRoutes, c.start), std::nullopt) << c.legend;
    }
}

TEST_F(FileChooserTest, FolderChooserListsNoFilesAndTakesAFolder) {
    dialogs.expect([&](ScriptedDialog& dialog) {
        const TreeItem docs = dialog.selectedTreeItem(kTree);
        EXPECT_TRUE(dialog.enabled(kIdOk));
        EXPECT_EQ(childNames(dialog, docs), (std::vector<std::u16string>{u"sub"}));
        dialog.select(kTree, child(dialog, docs, u"sub"));
        dialog.press(kIdOk);
    });
    EXPECT_EQ(chooseFolder(wide(root / "Docs")), wide(root / "Docs/sub"));
}

TEST_F(FileChooserTest, SaveAppliesTheDefaultExtensionToTheNameField) {
    struct Case {
        const char* legend;
        std::optional<std::u16string> typed;  // nothing: keep the proposed name
        std::u16string file;
    };
    const std::vector<Case> cases = {
        {"the proposed name", std::nullopt, u"Trc-120315-Home.wdt"},
        {"a three-letter ending is replaced", u"Track.txt", u"Track.wdt"},
    };
    for (const Case& c : cases) {
        std::u16string folder = wide(root / "Docs");
        dialogs.expect([&](ScriptedDialog& dialog) {
            EXPECT_EQ(dialog.text(kName), u"Trc-120315-Home") << c.legend;
            if (c.typed) dialog.type(kName, *c.typed);
            dialog.press(kIdOk);
        });
        const auto chosen =
            chooseFileToSave(extended, tracksAndRoutes, folder, u"Trc-120315-Home", u".wdt");
        EXPECT_EQ(chosen, wide(root / "Docs") + u"/" + c.file) << c.legend;
        EXPECT_EQ(folder, wide(root / "Docs")) << c.legend;
    }
    EXPECT_TRUE(boxes.shown().empty()) << "new files need no question";
}

TEST_F(FileChooserTest, SavingOverAnExistingFileAsksFirst) {
    for (const Answer answer : {Answer::Yes, Answer::No}) {
        std::u16string folder = wide(root.path());
        boxes.answer(answer);
        dialogs.expect([&](ScriptedDialog& dialog) {
            const TreeItem docs = child(dialog, dialog.selectedTreeItem(kTree), u"Docs");
            dialog.expand(kTree, docs);
            dialog.select(kTree, child(dialog, docs, u"Trip.wdt"));
            EXPECT_EQ(dialog.text(kName), u"Trip.wdt") << "picking a file copies its name";
            dialog.press(kIdOk);
        });
        const auto chosen = chooseFileToSave(extended, tracksAndRoutes, folder, u"New", u"wdt");
        if (answer == Answer::Yes) {
            EXPECT_EQ(chosen, wide(root / "Docs/Trip.wdt"));
            EXPECT_EQ(folder, wide(root / "Docs")) << "the start folder follows the choice";
        } else {
            EXPECT_EQ(chosen, std::nullopt);
            EXPECT_EQ(folder, wide(root.path())) << "nothing chosen, nothing moved";
        }
    }
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, u"File exists - do you want to replace the existing file?");
    EXPECT_EQ(boxes.shown()[0].title, u"Confirmation");
    EXPECT_EQ(boxes.shown()[0].buttons, platform::Buttons::YesNo);
}

TEST_F(FileChooserTest, SaveWithAnEmptyNameKeepsTheDialogOpen) {
    std::u16string folder = wide(root / "maps");
    dialogs.expect([&](ScriptedDialog& dialog) {
        dialog.type(kName, u"");
        dialog.press(kIdOk);
        EXPECT_FALSE(dialog.ended());
        dialog.type(kName, u"Export");
        dialog.press(kIdOk);
    });
    EXPECT_EQ(chooseFileToSave(extended, tracksAndRoutes, folder, u"", u".kml"),
              wide(root / "maps/Export.kml"));
}

TEST_F(FileChooserTest, UnavailablePlatformDialogSwitchesToExtendedSelection) {
    platformDialogs.answer = {FileDialogStatus::Unavailable, {}};
    int saved = 0;
    FileChooserOptions options{false, [&] { ++saved; }};
    dialogs.expect([&](ScriptedDialog& dialog) {
        dialog.select(kTree, child(dialog, dialog.selectedTreeItem(kTree), u"Trip.wdt"));
        dialog.press(kIdOk);
    });
    EXPECT_EQ(chooseFileToOpen(options, tracksAndRoutes, wide(root / "Docs")),
              wide(root / "Docs/Trip.wdt"));
    EXPECT_TRUE(options.extendedFileSelection);
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(platformDialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.shown(), (std::vector<std::u16string>{u"Select a file"}));
}

TEST_F(FileChooserTest, PlatformSaveDialogGetsTheRequestAndTheExtensionRule) {
    std::u16string folder = wide(root / "Docs");
    FileChooserOptions options{false, {}};
    platformDialogs.answer = {FileDialogStatus::Chosen, wide(root / "maps/Track.txt")};
    EXPECT_EQ(chooseFileToSave(options, tracksAndRoutes, folder, u"Trc-1", u".wdt"),
              wide(root / "maps/Track.wdt"));
    ASSERT_EQ(platformDialogs.requests.size(), 1u);
    const platform::FileDialogRequest& request = platformDialogs.requests[0];
    EXPECT_EQ(request.kind, FileDialogKind::Save);
    EXPECT_EQ(request.filters, tracksAndRoutes);
    EXPECT_EQ(request.startFolder, wide(root / "Docs"));
    EXPECT_EQ(request.proposedName, u"Trc-1");
    EXPECT_EQ(folder, wide(root / "maps"));

    platformDialogs.answer = {FileDialogStatus::Cancelled, {}};
    EXPECT_EQ(chooseFileToSave(options, tracksAndRoutes, folder, u"Trc-1", u".wdt"), std::nullopt);
    EXPECT_FALSE(options.extendedFileSelection) << "a cancel is no failure";
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(FileChooserTest, PlatformSaveAsksBeforeTheExtensionRuleHitsAnotherFile) {
    std::u16string folder = wide(root / "Docs");
    FileChooserOptions options{false, {}};
    // The dialog confirmed "Trip.txt", which does not exist; the rule makes it the
    // existing "Trip.wdt".
    platformDialogs.answer = {FileDialogStatus::Chosen, wide(root / "Docs/Trip.txt")};
    boxes.answer(Answer::No);
    EXPECT_EQ(chooseFileToSave(options, tracksAndRoutes, folder, u"Trip", u".wdt"), std::nullopt);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, u"Confirmation");
    boxes.answer(Answer::Yes);
    EXPECT_EQ(chooseFileToSave(options, tracksAndRoutes, folder, u"Trip", u".wdt"),
              wide(root / "Docs/Trip.wdt"));
}

TEST_F(FileChooserTest, PlatformOpenDialogGetsTheFiltersAndStartFolder) {
    FileChooserOptions options{false, {}};
    platformDialogs.answer = {FileDialogStatus::Chosen, u"/x/y.wdn"};
    EXPECT_EQ(chooseFileToOpen(options, tracksAndRoutes, u"/x"), u"/x/y.wdn");
    ASSERT_EQ(platformDialogs.requests.size(), 1u);
    EXPECT_EQ(platformDialogs.requests[0].kind, FileDialogKind::Open);
    EXPECT_EQ(platformDialogs.requests[0].startFolder, u"/x");
}

}  // namespace
}  // namespace wendra::test
