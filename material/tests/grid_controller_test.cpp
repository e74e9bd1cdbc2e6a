// The property grid's controller driven through a scripted view: when an entry begins,
// what leaving its cell stores or refuses, the unit captions and the positions.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/PanelRules.h"
#include "app/PropertyGridController.h"
#include "controller_fakes.h"
#include "data/Text.h"
#include "library_fakes.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

using testing::FakeWindow;
using testing::FixedSeparator;
using testing::GridViewStub;
using testing::MemoryFiles;
using testing::MemoryStore;
using testing::ScriptedPrompts;

std::string LibraryText() {
    return "MATTYPE:Metals\r\nMATL:" + text::PadRight("Steel", 13) + ": " +
           text::PadRight("Steel", 30) + ":carbon\r\n" + text::PadRight("EX", 67) +
           clsMaterial::WriteValue(2e11) + "\r\nENDMATL\r\nENDTYPE\r\n";
}

class GridControllerTest : public ::testing::Test {
  protected:
    GridControllerTest() {
        files.files["/lib/a.lib"] = LibraryText();
        prompts.openChoices = {"/lib/a.lib"};
        library.OpenLibrary();
        view.controller = &grid;
        grid.setUnitLabelTable(PanelUnitLabels());
        grid.fillUnitList({"IPS", "SI", "MKS"});
        library.Tree().Select(MaterialKey(library.Content().entries.at(0).categoryKey,
                                          library.Content().entries.at(0).nameText, 0));
        ChooseUnits(1);
        grid.fillTypeList({"Linear Isotropic", "Orthotropic"});
    }

    // As the window does: a value being typed is stored in the system left, then the
    // library reads the new position.
    void ChooseUnits(int position) {
        grid.onUnitsChosen(position);
        window.unitPosition = position;
    }
    // Enters the value cell of `code` and types `text` into its editor.
    void Type(const std::string& code, const std::string& text) {
        view.SetCurrentCell({view.RowOf(code), kValueColumn});
        ASSERT_TRUE(view.editor.has_value());
        view.editor = text;
    }
    double Stored(const std::string& code) {
        const std::string text = GridValueText(*library.MaterialAt(0), code, kSi);
        return text.empty() ? -1.0 : std::stod(text);
    }

    ScriptedPrompts prompts;
    FakeWindow window;
    MemoryFiles files;
    FixedSeparator separator;
    clsRegistry settings{std::make_unique<MemoryStore>()};
    LibraryController library{{prompts, window, files, separator, settings, nullptr}};
    GridViewStub view;
    PropertyGridController grid{library, prompts, view};
};

TEST_F(GridControllerTest, ATypedValueIsStoredInSiOnLeavingItsCellAndOnlyOnce) {
    ChooseUnits(0);  // IPS: psi
    Type("EX", "1000");
    view.SetCurrentCell({view.RowOf("EX"), kDescriptionColumn});
    EXPECT_NEAR(Stored("EX"), 6.894e6, 2e3);  // the library's own psi factor
    EXPECT_FALSE(grid.gridEdited());
    EXPECT_TRUE(library.Modified());

    // Entering and leaving it again as shown is no second entry.
    view.SetCurrentCell({view.RowOf("EX"), kValueColumn});
    view.SetCurrentCell({view.RowOf("EX"), kDescriptionColumn});
    ASSERT_TRUE(library.Undo());
    EXPECT_FALSE(library.CanUndo());
    EXPECT_DOUBLE_EQ(Stored("EX"), 2e11);
}

struct RefusedCase {
    const char* code;
    const char* typed;
    std::string_view message;  // empty: none
    int units = 1;             // unit-list position the value is typed in
};

class GridRefusalTest : public GridControllerTest,
                        public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(GridRefusalTest, ARefusedEntryEmptiesItsCellAndStoresNothing) {
    const RefusedCase c = GetParam();
    ChooseUnits(c.units);
    const double before = Stored(c.code);
    if (!c.message.empty()) {
        prompts.answers = {MessageAnswer::Ok};
    }
    Type(c.code, c.typed);
    view.SetCurrentCell({1, kDescriptionColumn});
    EXPECT_EQ(view.CellText({view.RowOf(c.code), kValueColumn}), "");
    EXPECT_EQ(prompts.Texts(), c.message.empty()
                                   ? std::vector<std::string>{}
                                   : std::vector<std::string>{std::string(c.message)});
    EXPECT_EQ(Stored(c.code), before);
    EXPECT_FALSE(library.Modified());
}

INSTANTIATE_TEST_SUITE_P(Entries, GridRefusalTest,
                         ::testing::Values(RefusedCase{"EX", "abc", ""},
                                           RefusedCase{"EX", "-5", kPositiveValueMessage},
                                           RefusedCase{"EX", "1E307", kValueTooLargeMessage, 0}));

TEST_F(GridControllerTest, ANegativeValueIsTakenWhereThePropertyMayBeNegative) {
    Type("NUXY", "-0.3");
    view.SetCurrentCell({1, kDescriptionColumn});
    EXPECT_DOUBLE_EQ(Stored("NUXY"), -0.3);
}

TEST_F(GridControllerTest, AnEmptiedCellEndsTheEntryWithoutStoring) {
    Type("EX", "");
    view.SetCurrentCell({1, kDescriptionColumn});
    EXPECT_FALSE(grid.gridEdited());
    EXPECT_DOUBLE_EQ(Stored("EX"), 2e11);
}

TEST_F(GridControllerTest, LosingTheFocusLeavesTheCellAndStores) {
    Type("EX", "3E11");
    grid.VSFlexGrid1_LostFocus();
    EXPECT_EQ(view.current->row, 1);
    EXPECT_EQ(view.current->column, kDescriptionColumn);
    EXPECT_DOUBLE_EQ(Stored("EX"), 3e11);
}

TEST_F(GridControllerTest, EndingAnEditStoresWhileANodeClickDropsIt) {
    Type("EX", "3E11");
    grid.endGridEdit();
    EXPECT_DOUBLE_EQ(Stored("EX"), 3e11);
    EXPECT_EQ(view.current->row, view.RowOf("EX"));  // the cell stays current

    Type("EX", "4E11");
    grid.dropGridEdit();
    view.SetCurrentCell({1, kDescriptionColumn});
    EXPECT_DOUBLE_EQ(Stored("EX"), 3e11);
}

TEST_F(GridControllerTest, AUnitChangeStoresTheValueInTheSystemItWasTypedIn) {
    ChooseUnits(0);
    Type("EX", "1");
    ChooseUnits(2);
    EXPECT_NEAR(Stored("EX"), 6.894e3, 2.0);
    EXPECT_EQ(grid.shownUnitSystem(), "MKS");
}

TEST_F(GridControllerTest, CaptionsFollowTheUnitSystemInTheGridsOrder) {
    ChooseUnits(0);
    const auto& labels = PanelUnitLabels();
    const UnitCaptions& captions = grid.unitCaptions();
    for (int u = 0; u < 9; ++u) {
        EXPECT_EQ(captions[static_cast<std::size_t>(u)], labels[static_cast<std::size_t>(u)].Ips);
    }
    EXPECT_EQ(captions[9], labels[0].Ips);
    EXPECT_EQ(captions[10], labels[9].Ips);
    EXPECT_EQ(captions[11], labels[0].Ips);
    EXPECT_EQ(view.captions, captions);

    ChooseUnits(-1);  // no entry: the captions stay
    EXPECT_EQ(grid.unitCaptions()[0], labels[0].Ips);
}

TEST_F(GridControllerTest, TheShownSystemStaysWithoutAMaterialOrInSi) {
    ChooseUnits(2);
    EXPECT_EQ(grid.shownUnitSystem(), "MKS");
    ChooseUnits(1);
    EXPECT_EQ(grid.shownUnitSystem(), "MKS");  // SI never becomes the shown system here
    library.Tree().Select(library.Content().entries.at(0).categoryKey);
    ChooseUnits(0);
    EXPECT_EQ(grid.shownUnitSystem(), "MKS");
}

TEST_F(GridControllerTest, UnitPositionsOutsideTheListAreIgnoredAndRefillsKeepThePosition) {
    const int rebuilds = view.rebuilds;
    grid.selectUnitListPosition(3);
    grid.selectUnitListPosition(1);  // already chosen
    EXPECT_EQ(view.rebuilds, rebuilds);
    grid.selectUnitListPosition(2);
    EXPECT_EQ(grid.unitListPosition(), 2);
    EXPECT_EQ(view.unitSelected, 2);
    grid.fillUnitList({"IPS", "SI", "MKS"});
    EXPECT_EQ(view.unitSelected, 2);
    grid.fillUnitList({"IPS"});
    EXPECT_EQ(view.unitSelected, -1);
}

TEST_F(GridControllerTest, ATypeListFilledSelectsTheFirstTypeAndAnEmptyOneNothing) {
    grid.onTypeChosen(1);
    grid.fillTypeList({"A", "B"});
    EXPECT_EQ(view.typeSelected, 0);
    EXPECT_EQ(grid.typeListPosition(), 0);
    const int rebuilds = view.rebuilds;
    grid.fillTypeList({});
    EXPECT_EQ(view.typeSelected, -1);
    EXPECT_EQ(view.rebuilds, rebuilds);
}

}  // namespace
}  // namespace material
