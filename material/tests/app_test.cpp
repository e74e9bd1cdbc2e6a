// The editing rules of the library window without any toolkit: renaming, the panel
// commands and their undo, typed characters, the tree filter and the grid entry limits.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/GridLayout.h"
#include "app/LibraryEditor.h"
#include "app/PanelRules.h"
#include "app/TreeFilter.h"
#include "data/Text.h"
#include "library_fakes.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

using ::testing::ElementsAre;
using testing::FakeWindow;
using testing::FixedSeparator;
using testing::MemoryFiles;
using testing::MemoryStore;
using testing::ScriptedPrompts;

std::string LibraryText() {
    std::string text = "MATTYPE:Metals\r\n";
    for (const char* name : {"Steel", "Copper"}) {
        text += "MATL:" + text::PadRight(name, 13) + ": " + text::PadRight(name, 30) + ":about " +
                name + "\r\n";
        text += text::PadRight("EX", 67) + clsMaterial::WriteValue(2e11) + "\r\nENDMATL\r\n";
    }
    return text + "ENDTYPE\r\nMATTYPE:Plastics\r\n" +
           "MATL:Nylon        : " + text::PadRight("Nylon", 30) +
           ":PA 66\r\nENDMATL\r\nENDTYPE\r\n";
}

class EditorTest : public ::testing::Test {
  protected:
    EditorTest() {
        files.files["/lib/a.lib"] = LibraryText();
        prompts.openChoices = {"/lib/a.lib"};
        library.OpenLibrary();
        window.unitPosition = 1;
    }

    std::string KeyOf(int position) const {
        const MaterialEntry& e = library.Content().entries.at(static_cast<std::size_t>(position));
        return MaterialKey(e.categoryKey, e.nameText, position);
    }
    void Select(int position) { library.Tree().Select(KeyOf(position)); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const MaterialEntry& e : library.Content().entries) {
            names.emplace_back(text::Trim(e.nameText));
        }
        return names;
    }

    ScriptedPrompts prompts;
    FakeWindow window;
    MemoryFiles files;
    FixedSeparator separator;
    clsRegistry settings{std::make_unique<MemoryStore>()};
    LibraryController library{{prompts, window, files, separator, settings, nullptr}};
    LibraryEditor editor{library, prompts};
};

TEST_F(EditorTest, ALabelCommittedAsItWasIsNoRenameAndSaysNothing) {
    EXPECT_FALSE(editor.Rename(KeyOf(0), "Steel"));
    EXPECT_FALSE(editor.Rename(KeyOf(0), "  Steel  "));
    EXPECT_FALSE(editor.Rename("Metals    ", "Metals"));  // a category label as it was
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(library.Modified());

    prompts.answers = {MessageAnswer::Ok, MessageAnswer::Ok};
    EXPECT_FALSE(editor.Rename(KeyOf(0), "copper"));  // another material's name
    EXPECT_FALSE(editor.Rename("Metals    ", "Alloys"));
    EXPECT_THAT(prompts.Texts(), ElementsAre(std::string(kMaterialExistsMessage),
                                             std::string(kCannotRenameCategoryMessage)));
}

TEST_F(EditorTest, ARenameIsOneStepThatUndoTakesBack) {
    ASSERT_TRUE(editor.Rename(KeyOf(0), "STEEL"));  // its own name in capitals
    EXPECT_THAT(Names(), ElementsAre("STEEL", "Copper", "Nylon"));
    EXPECT_TRUE(library.Modified());
    ASSERT_TRUE(library.Undo());
    EXPECT_THAT(Names(), ElementsAre("Steel", "Copper", "Nylon"));
    EXPECT_EQ(library.Tree().Find(KeyOf(0))->text, "Steel  ");
    EXPECT_FALSE(library.Modified());
}

TEST_F(EditorTest, TypingADescriptionIsOneStepUntilTheFieldIsLeft) {
    for (const char* typed : {"a", "ab", "abc"}) {
        editor.StoreDescription(KeyOf(1), typed);
    }
    library.SealChange();
    editor.StoreDescription(KeyOf(1), "abcd");
    EXPECT_EQ(library.History().StepCount(), 2u);
    ASSERT_TRUE(library.Undo());
    EXPECT_EQ(library.Content().entries[1].description, "abc");
    ASSERT_TRUE(library.Undo());
    EXPECT_EQ(library.Content().entries[1].description, "about Copper");
    EXPECT_FALSE(library.Modified());
}

TEST_F(EditorTest, AddPasteAndResetAreUndoneOneByOne) {
    Select(0);
    editor.CopyMaterial();
    ASSERT_FALSE(editor.PasteMaterial().empty());
    prompts.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(editor.AddNewMaterial("Woods", "Oak", "quercus").added);
    Select(0);
    library.EnterGridValue(1, "7");
    prompts.answers = {MessageAnswer::Ok};  // overwrite: the values go back to the file's
    ASSERT_TRUE(editor.CommitPanel("Metals", "Steel", "about Steel").stored);
    EXPECT_THAT(Names(), ElementsAre("Steel", "Copper", "Nylon", "Copy of Steel", "Oak"));

    const auto ex = [this] {
        clsMaterial record = library.Content().materials[0];
        record.setProperty("EX");
        return record.value();
    };
    EXPECT_EQ(ex(), 2e11);
    ASSERT_TRUE(library.Undo());  // the reset
    EXPECT_EQ(ex(), 7.0);
    ASSERT_TRUE(library.Undo());  // the grid entry
    EXPECT_EQ(ex(), 2e11);
    ASSERT_TRUE(library.Undo());  // the added material
    EXPECT_THAT(Names(), ElementsAre("Steel", "Copper", "Nylon", "Copy of Steel"));
    EXPECT_EQ(library.Tree().Find("Woods    "), nullptr);
    ASSERT_TRUE(library.Undo());  // the pasted copy
    EXPECT_THAT(Names(), ElementsAre("Steel", "Copper", "Nylon"));
    EXPECT_FALSE(library.Modified());
    ASSERT_TRUE(library.Redo());
    ASSERT_TRUE(library.Redo());
    EXPECT_THAT(Names(), ElementsAre("Steel", "Copper", "Nylon", "Copy of Steel", "Oak"));
}

TEST_F(EditorTest, CharactersOutsideTheCodePageAreRefusedByName) {
    EXPECT_TRUE(editor.TextAccepted(EncodeLibraryText("Stahl \xC3\x84 \xE2\x82\xAC")));
    prompts.answers = {MessageAnswer::Ok, MessageAnswer::Ok};
    EXPECT_FALSE(editor.TextAccepted(EncodeLibraryText("Ohm \xCE\xA9")));
    EXPECT_FALSE(editor.TextAccepted(EncodeLibraryText("\xE6\x97\xA5\xE6\x9C\xAC")));
    EXPECT_THAT(prompts.Texts(),
                ElementsAre("The text holds the character U+03A9, which a material library "
                            "cannot hold. Please type another character.",
                            "The text holds the character U+65E5, which a material library "
                            "cannot hold. Please type another character."));
}

TEST(TreeFilterTest, ShowsMaterialsWhoseTextsContainTheFilterInAnyCase) {
    MaterialEntry entry;
    entry.categoryKey = "Metals    ";
    entry.code = "ST-37        ";
    entry.nameText = "Baustahl \xC9";  // É
    entry.description = "structural steel";
    clsMaterial record;
    record.setMaterialNameCode("ST-37        ");
    struct Case {
        const char* typed;  // UTF-8
        bool shown;
    };
    const Case cases[] = {
        {"", true},          {"baustahl", true}, {"st-3", true},    {"STRUCTURAL", true},
        {"metals", true},    {"\xC3\xA9", true}, {"copper", false}, {"metals    x", false},
        {"\xCE\xA9", false}, {"steel s", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(MaterialFilter(EncodeLibraryText(c.typed)).Shows(entry, record), c.shown);
    }
    EXPECT_TRUE(MaterialFilter(EncodeLibraryText("")).ShowsEmptyCategory("Woods    "));
    EXPECT_TRUE(MaterialFilter(EncodeLibraryText("woo")).ShowsEmptyCategory("Woods    "));
    EXPECT_FALSE(MaterialFilter(EncodeLibraryText("oak")).ShowsEmptyCategory("Woods    "));
}

TEST(TreeFilterTest, ACategoryStaysWhileItShowsAMaterialAndOpensToShowIt) {
    LibraryContent content;
    for (const char* name : {"Steel", "Copper"}) {
        MaterialEntry entry;
        entry.categoryKey = "Metals    ";
        entry.nameText = name;
        content.entries.push_back(entry);
        content.materials.emplace_back();
    }
    const MaterialFilter copper(EncodeLibraryText("copp"));
    CategoryFiltering found = FilterCategory(copper, content, "Metals    ", {0, 1, -1}, false);
    EXPECT_THAT(found.childShown, ElementsAre(false, true, true));
    EXPECT_TRUE(found.shown);
    EXPECT_TRUE(found.expand);
    EXPECT_FALSE(FilterCategory(copper, content, "Metals    ", {0, 1}, true).expand);

    const MaterialFilter oak(EncodeLibraryText("oak"));
    EXPECT_FALSE(FilterCategory(oak, content, "Metals    ", {0, 1}, false).shown);
    EXPECT_FALSE(FilterCategory(oak, content, "Woods     ", {}, false).shown);
    EXPECT_TRUE(
        FilterCategory(MaterialFilter(EncodeLibraryText("woo")), content, "Woods     ", {}, false)
            .shown);
    const CategoryFiltering none =
        FilterCategory(MaterialFilter(EncodeLibraryText("")), content, "Metals    ", {0, 1}, false);
    EXPECT_THAT(none.childShown, ElementsAre(true, true));
    EXPECT_FALSE(none.expand);  // no filter opens nothing
}

TEST(GridEntryLimitsTest, ValuesAFileCannotHoldInEverySystemAreTooLarge) {
    const NumberParser dot(".");
    const PropertySlot ex = 0;  // EX: 1 psi = 6894.757 N/m^2
    struct Case {
        const char* typed;
        std::string_view system;
        GridEntry judged;
    };
    const Case cases[] = {
        {"2.1e11", kSi, GridEntry::Number},
        {"1e300", kSi, GridEntry::Number},
        {"1e308", kIps, GridEntry::TooLarge},  // overflows in SI
        {"1e308", kSi, GridEntry::Number},
        {"1.7976931348623157e308", kSi, GridEntry::TooLarge},  // its field rounds beyond
        {"1e999", kIps, GridEntry::NotANumber},
        {"-5", kSi, GridEntry::ForbiddenNegative},
        {"", kSi, GridEntry::Empty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(JudgeGridEntry(c.typed, "EX", dot, ex, c.system), c.judged);
    }
    EXPECT_EQ(JudgeGridEntry("1e308", "EX", dot), GridEntry::Number);  // no slot: no limit
}

TEST(GridValueTooltipTest, ShowsTheValueInEverySystemWithItsUnit) {
    clsMaterial steel;
    steel.CopyProperty("EX", 2.1e11);
    steel.CopyProperty("NUXY", 0.3);
    EXPECT_EQ(GridValueTooltip(steel, "EX"),
              "IPS: 3046314E1 psi\nSI: 21000E7 N/m^2\nMKS: 2141404E0 Kgf/cm^2");
    EXPECT_EQ(GridValueTooltip(steel, "NUXY"), "IPS: 300000E-6\nSI: 300000E-6\nMKS: 300000E-6");
    EXPECT_EQ(GridValueTooltip(steel, "DENS"), "");  // no value, no tooltip
}

}  // namespace
}  // namespace material
