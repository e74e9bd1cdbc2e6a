// The library window's controller driven through scripted views: node clicks, field
// checks with the focus returned, the follow-ups of adding and committing, Save, Exit
// and the close and unload flags.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/LibraryEditor.h"
#include "app/LibraryWindowController.h"
#include "app/PropertyGridController.h"
#include "controller_fakes.h"
#include "data/Text.h"
#include "library_fakes.h"

namespace material {
namespace {

using ::testing::ElementsAre;
using testing::FakeWindow;
using testing::FixedSeparator;
using testing::GridViewStub;
using testing::MemoryFiles;
using testing::MemoryStore;
using testing::ScriptedPrompts;
using testing::WindowViewStub;

std::string LibraryText() {
    std::string text = "MATTYPE:Metals\r\n";
    for (const char* name : {"Steel", "Copper"}) {
        text += "MATL:" + text::PadRight(name, 13) + ": " + text::PadRight(name, 30) + ":about " +
                name + "\r\n";
        text += text::PadRight("EX", 67) + clsMaterial::WriteValue(2e11) + "\r\nENDMATL\r\n";
    }
    return text + "ENDTYPE\r\n";
}

class WindowControllerTest : public ::testing::Test {
  protected:
    WindowControllerTest() {
        files.files["/lib/a.lib"] = LibraryText();
        prompts.openChoices = {"/lib/a.lib"};
        library.OpenLibrary();
        gridView.controller = &grid;
        view.controller = &window;
        grid.fillUnitList({"IPS", "SI", "MKS"});
        grid.onUnitsChosen(1);
        window.setUnloadedHandler([this] { ++unloads; });
    }

    std::string KeyOf(int position) const {
        const MaterialEntry& e = library.Content().entries.at(static_cast<std::size_t>(position));
        return MaterialKey(e.categoryKey, e.nameText, position);
    }
    std::string CategoryKey() const { return library.Content().entries.at(0).categoryKey; }
    std::string ImageOf(const std::string& key) const { return library.Tree().Find(key)->image; }

    ScriptedPrompts prompts;
    FakeWindow libraryWindow;
    MemoryFiles files;
    FixedSeparator separator;
    clsRegistry settings{std::make_unique<MemoryStore>()};
    LibraryController library{{prompts, libraryWindow, files, separator, settings, nullptr}};
    LibraryEditor editor{library, prompts};
    GridViewStub gridView;
    PropertyGridController grid{library, prompts, gridView};
    WindowViewStub view;
    LibraryWindowController window{library, editor, grid, view};
    int unloads = 0;
};

TEST_F(WindowControllerTest, AMaterialClickShowsItsFieldsAndMarksItsNodeSelected) {
    window.TreeView1_NodeClick(KeyOf(0));
    window.TreeView1_NodeClick(KeyOf(1));
    EXPECT_EQ(text::Trim(view.texts[1]), "Copper");
    EXPECT_EQ(view.texts[2], "about Copper");
    EXPECT_FALSE(view.newMaterialMode);
    EXPECT_EQ(ImageOf(KeyOf(0)), kImageLeaf);
    EXPECT_EQ(ImageOf(KeyOf(1)), kImageSelectedLeaf);
}

TEST_F(WindowControllerTest, ACategoryClickOffersANewMaterialInIt) {
    library.Tree().Select(CategoryKey());
    window.TreeView1_NodeClick(CategoryKey());
    EXPECT_THAT(view.texts, ElementsAre(CategoryKey(), "", ""));
    EXPECT_TRUE(view.newMaterialMode);
    EXPECT_EQ(window.currentMaterialIndex(), "-1");
    window.TreeView1_NodeClick("no such node");  // an unknown key changes nothing
    EXPECT_EQ(window.currentMaterialIndex(), "-1");
}

TEST_F(WindowControllerTest, OnlyTheFirstMaterialSelectedIsShownAsIfClicked) {
    const std::string first = KeyOf(0);
    const std::string category = CategoryKey();
    window.onSelectionChanged(&category, true);
    EXPECT_EQ(window.selectedKey(), "");
    window.onSelectionChanged(&first, false);
    EXPECT_EQ(window.selectedKey(), first);
    const std::string second = KeyOf(1);
    window.onSelectionChanged(&second, false);
    EXPECT_EQ(window.selectedKey(), first);
}

TEST_F(WindowControllerTest, ARefusedFieldTakesTheFocusBack) {
    struct Case {
        PanelField field;
        std::string text;
        bool refused;
    };
    const Case cases[] = {
        {PanelField::Name, std::string(kNameFieldLimit, 'n'), false},
        {PanelField::Name, std::string(kNameFieldLimit + 1, 'n'), true},
        {PanelField::Category, std::string(kCategoryFieldLimit, 'c'), false},
        {PanelField::Category, std::string(kCategoryFieldLimit + 1, 'c'), true},
    };
    for (const Case& c : cases) {
        view.focusReturns.clear();
        prompts.answers = {MessageAnswer::Ok};
        window.fieldLeft(c.field, c.text);
        EXPECT_EQ(view.focusReturns.size(), c.refused ? 1u : 0u) << c.text.size();
        if (c.refused) {
            EXPECT_EQ(view.focusReturns.front(), c.field);
        }
        prompts.answers.clear();
    }
}

TEST_F(WindowControllerTest, EnteringCategoryOrNameStartsANewMaterialTheDescriptionDoesNot) {
    window.TreeView1_NodeClick(KeyOf(0));
    window.fieldEntered(PanelField::None);
    EXPECT_FALSE(window.newMaterialMode());
    window.fieldEntered(PanelField::Name);
    EXPECT_TRUE(window.newMaterialMode());
    EXPECT_TRUE(view.newMaterialMode);
}

TEST_F(WindowControllerTest, TheDescriptionIsStoredOnlyOutsideNewMaterialMode) {
    window.TreeView1_NodeClick(KeyOf(0));
    window.fieldLeft(PanelField::None, "hardened");
    EXPECT_EQ(library.Content().entries[0].description, "hardened");
    window.fieldEntered(PanelField::Category);
    window.fieldLeft(PanelField::None, "for the new one");
    EXPECT_EQ(library.Content().entries[0].description, "hardened");
}

TEST_F(WindowControllerTest, ACommitThatAddsAMaterialSelectsItAndShowsItInSi) {
    window.TreeView1_NodeClick(KeyOf(0));
    grid.SystemUnits("MKS");
    prompts.answers = {MessageAnswer::Yes};
    window.onMaterialSet(CategoryKey(), "Brass", "yellow");
    ASSERT_EQ(library.Content().entries.size(), 3u);
    EXPECT_EQ(window.selectedKey(), KeyOf(2));
    EXPECT_EQ(window.currentMaterialIndex(), "2");
    EXPECT_FALSE(window.newMaterialMode());
    EXPECT_EQ(view.treeShows, 1);
    EXPECT_EQ(grid.shownUnitSystem(), "SI");
}

TEST_F(WindowControllerTest, SaveAsksForANameOnlyWithoutAFile) {
    window.onSave();
    EXPECT_TRUE(prompts.saveRequests.empty());
    library.NewLibrary();
    window.onSave();  // cancelled in the dialog
    EXPECT_EQ(prompts.saveRequests.size(), 1u);
}

TEST_F(WindowControllerTest, ClosingAsksAboutChangesAndStaysWhenCancelled) {
    window.TreeView1_NodeClick(KeyOf(0));
    window.fieldLeft(PanelField::None, "changed");
    prompts.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(window.closeRequested());
    EXPECT_FALSE(window.unloaded());
    EXPECT_EQ(unloads, 0);

    prompts.answers = {MessageAnswer::No};
    EXPECT_TRUE(window.closeRequested());
    EXPECT_TRUE(window.unloaded());
    EXPECT_THAT(view.frameStates, ElementsAre(false));
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(window.closeRequested());  // closing again asks nothing
    EXPECT_EQ(unloads, 1);
}

TEST_F(WindowControllerTest, AnUnloadClosesTheWindowOnceWithoutAsking) {
    window.TreeView1_NodeClick(KeyOf(0));
    window.fieldLeft(PanelField::None, "changed");
    window.unload();
    window.unload();
    EXPECT_EQ(view.windowCloses, 1);
    EXPECT_FALSE(view.windowOpen);
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(window.mbCallSaveOnUnload);
}

TEST_F(WindowControllerTest, ExitClosesTheFrameUnlessTheSaveQuestionIsCancelled) {
    window.TreeView1_NodeClick(KeyOf(0));
    window.fieldLeft(PanelField::None, "changed");
    prompts.answers = {MessageAnswer::Cancel};
    window.onExit();
    EXPECT_EQ(view.frameCloses, 0);
    prompts.answers = {MessageAnswer::No};
    window.onExit();
    EXPECT_EQ(view.frameCloses, 1);
}

}  // namespace
}  // namespace material
