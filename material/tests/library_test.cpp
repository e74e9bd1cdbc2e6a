// The library operations driven through scripted prompts, window, disk and settings.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "data/LibraryFile.h"
#include "data/Text.h"
#include "data/library/LibraryController.h"
#include "library_fakes.h"

namespace material {
namespace {

using ::testing::ElementsAre;
using testing::FakeWindow;
using testing::FixedSeparator;
using testing::MemoryFiles;
using testing::MemoryStore;
using testing::ScriptedPrompts;

constexpr MessageAnswer kYes = MessageAnswer::Yes;
constexpr MessageAnswer kNo = MessageAnswer::No;
constexpr MessageAnswer kCancel = MessageAnswer::Cancel;
constexpr MessageAnswer kOk = MessageAnswer::Ok;
constexpr MessageAnswer kRetry = MessageAnswer::Retry;

const std::string kSampleCategory = "My Material    ";

// Library file text: categories of materials, each with its EX value in the SI column.
struct FileMaterial {
    std::string name;
    double ex;
};
std::string LibraryText(
    const std::vector<std::pair<std::string, std::vector<FileMaterial>>>& cats) {
    std::string text;
    for (const auto& [category, materials] : cats) {
        text += "MATTYPE:" + category + "\r\n";
        for (const FileMaterial& m : materials) {
            text += "MATL:" + text::PadRight(m.name.substr(0, 13), 13) + ": " +
                    text::PadRight(m.name, 30) + ":about " + m.name + "\r\n";
            text += text::PadRight("EX", 67) + clsMaterial::WriteValue(m.ex) + "\r\n";
            text += "ENDMATL\r\n";
        }
        text += "ENDTYPE\r\n";
    }
    return text;
}

std::size_t Count(std::string_view haystack, std::string_view needle) {
    std::size_t n = 0;
    for (auto at = haystack.find(needle); at != std::string_view::npos;
         at = haystack.find(needle, at + 1)) {
        ++n;
    }
    return n;
}

double ValueOf(const clsMaterial& record, std::string_view code) {
    clsMaterial copy = record;
    copy.setProperty(code);
    return copy.value();
}

class LibraryTest : public ::testing::Test {
  public:
    LibraryTest() {
        files.files["/lib/metals.lib"] =
            LibraryText({{"Metals", {{"Steel", 2.1e11}, {"Copper", 1.17e11}}},
                         {"Plastics", {{"Nylon", 2.8e9}}}});
        files.files["/lib/woods.lib"] = LibraryText({{"Woods", {{"Oak", 1.1e10}}}});
    }

    // Opens a file of `files`, answering the save question of an open library with No.
    void Open(const std::string& path) {
        prompts.openChoices.push_back(path);
        if (library.Modified()) {
            prompts.answers.push_back(kNo);
        }
        library.OpenLibrary();
        ASSERT_TRUE(prompts.answers.empty());
        ASSERT_EQ(library.Caption(), path);
    }

    // One change of the library: the values of material 0 are zeroed.
    void Change() {
        Select(0);
        library.ResetMaterial();
    }

    std::string KeyOf(int position) const {
        const MaterialEntry& e = library.Content().entries.at(static_cast<std::size_t>(position));
        return MaterialKey(e.categoryKey, e.nameText, position);
    }

    void Select(int position) {
        const MaterialEntry& e = library.Content().entries.at(static_cast<std::size_t>(position));
        library.Tree().Select(MaterialKey(e.categoryKey, e.nameText, position));
        ASSERT_NE(library.Tree().Selected(), nullptr);
    }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const MaterialEntry& e : library.Content().entries) {
            names.push_back(std::string(text::Trim(e.nameText)));
        }
        return names;
    }

    ScriptedPrompts prompts;
    FakeWindow window;
    MemoryFiles files;
    FixedSeparator separator;
    MemoryStore* store = new MemoryStore;
    clsRegistry settings{std::unique_ptr<SettingsStore>(store)};
    std::vector<std::string> workbookReads;
    SheetImport workbook;
    LibraryController library{{prompts, window, files, separator, settings, [this](const std::string& path) {
                         workbookReads.push_back(path);
                         return workbook;
                     }}};
};

// ---- New -------------------------------------------------------------------------

TEST_F(LibraryTest, NewGivesOneSampleMaterialAndShowsTheWindow) {
    settings.SetValue(2);
    library.NewLibrary();

    EXPECT_TRUE(library.IsOpen());
    EXPECT_EQ(library.FileName(), "");
    EXPECT_EQ(window.caption, "New File, not Saved");
    EXPECT_TRUE(window.shown && window.treeShown && window.panelTablesFilled);
    EXPECT_THAT(library.Tree().Roots(), ElementsAre(kSampleCategory));
    const LibraryNode* category = library.Tree().Find(kSampleCategory);
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(category->image, "closedbook");
    ASSERT_THAT(category->children, ElementsAre(kSampleCategory + "My Material0000"));
    const LibraryNode* leaf = library.Tree().Find(category->children[0]);
    EXPECT_EQ(leaf->text, "My Material");
    EXPECT_EQ(leaf->image, "leaf");

    ASSERT_EQ(library.LastPosition(), 0);
    const clsMaterial& sample = library.Content().materials[0];
    EXPECT_EQ(sample.MaterialType(), "My Material  ");
    EXPECT_EQ(sample.MaterialName(), "My Material");
    EXPECT_EQ(sample.MaterialDescription(), "This is a sample material");
    EXPECT_EQ(sample.MaterialNameCode(), "");
    EXPECT_EQ(library.Content().entries[0].categoryKey, kSampleCategory);

    EXPECT_THAT(window.panelTexts,
                ElementsAre(kSampleCategory, "My Material", "This is a sample material"));
    EXPECT_THAT(window.unitList, ElementsAre("IPS", "SI", "MKS(G)"));
    EXPECT_EQ(window.typeList.size(), 13u);
    EXPECT_EQ(window.unitPosition, 2);  // the saved unit system
    EXPECT_EQ(window.images.size(), 4u);
    EXPECT_EQ(library.SelectedMaterialPosition(), 0);
}

TEST_F(LibraryTest, NewOnAnOpenLibraryAsksFirstAndCancelKeepsIt) {
    Open("/lib/metals.lib");
    Change();
    prompts.answers = {kCancel};
    library.NewLibrary();
    EXPECT_EQ(prompts.shown.back().text, "Save changes to /lib/metals.lib ?");
    EXPECT_EQ(library.Caption(), "/lib/metals.lib");
    EXPECT_EQ(library.LastPosition(), 2);
    EXPECT_EQ(window.closes, 0);

    prompts.answers = {kNo};
    library.NewLibrary();
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(window.caption, "New File, not Saved");
    EXPECT_EQ(library.LastPosition(), 0);
}

// ---- Save and Save as ------------------------------------------------------------

TEST_F(LibraryTest, SavingANewLibraryGoesThroughTheSaveDialog) {
    library.NewLibrary();
    EXPECT_FALSE(library.Save());  // the dialog is cancelled
    ASSERT_EQ(prompts.saveRequests.size(), 1u);
    const FileDialogRequest& request = prompts.saveRequests[0];
    EXPECT_EQ(request.title, "Save Library File As ...");
    EXPECT_TRUE(request.overwritePrompt && request.hideReadOnly);
    EXPECT_EQ(request.defaultSuffix, "");  // a typed name is used as it stands
    EXPECT_EQ(request.filter.find("xls"), std::string::npos);
    EXPECT_EQ(files.writeAttempts, 0);
    EXPECT_EQ(window.caption, "New File, not Saved");
    EXPECT_EQ(window.gridEditsEnded, 1);

    prompts.saveChoices = {"/lib/new.lib"};
    EXPECT_TRUE(library.Save());
    EXPECT_EQ(library.FileName(), "/lib/new.lib");
    EXPECT_EQ(window.caption, "/lib/new.lib");
    EXPECT_EQ(files.files["/lib/new.lib"].rfind("MATTYPE:My Material\r\nMATL:My Material  : ", 0),
              0u);

    EXPECT_TRUE(library.Save());  // now the library has a file: no dialog
    EXPECT_EQ(prompts.saveRequests.size(), 2u);
    EXPECT_EQ(files.writeAttempts, 2);
}

TEST_F(LibraryTest, SaveWritesCategoriesThatDifferInCaseUnderOneHeader) {
    files.files["/lib/case.lib"] = LibraryText({{"Metals", {{"Steel", 2e11}}},
                                                {"Plastics", {{"Nylon", 3e9}}},
                                                {"METALS", {{"Iron", 1e11}}}});
    Open("/lib/case.lib");
    ASSERT_TRUE(library.Save());
    const std::string& written = files.files["/lib/case.lib"];
    EXPECT_EQ(Count(written, "MATTYPE:"), 2u);
    EXPECT_EQ(Count(written, "MATTYPE:Metals\r\n"), 1u);
    const auto metals = written.find("MATTYPE:Metals");
    const auto plastics = written.find("MATTYPE:Plastics");
    EXPECT_LT(written.find("Iron"), plastics);  // Iron went under the first spelling
    EXPECT_LT(metals, written.find("Iron"));
}

TEST_F(LibraryTest, NothingToSaveWithoutALibrary) {
    prompts.answers = {kOk};
    EXPECT_FALSE(library.Save());
    EXPECT_EQ(prompts.shown.back().text, "Nothing to be saved.");
    EXPECT_EQ(prompts.shown.back().icon, MessageIcon::None);
    EXPECT_TRUE(prompts.saveRequests.empty());
    EXPECT_EQ(files.writeAttempts, 0);
}

TEST_F(LibraryTest, ALibraryWithoutMaterialsIsSavedAndOpensEmpty) {
    Open("/lib/woods.lib");
    Select(0);
    prompts.answers = {kYes};
    library.DeleteMaterial();
    EXPECT_EQ(library.LastPosition(), -1);
    EXPECT_EQ(window.materialReshows, 1);  // the grid no longer shows the deleted values
    ASSERT_TRUE(library.Save());
    EXPECT_EQ(files.files["/lib/woods.lib"], "MATTYPE:\r\n");

    prompts.shown.clear();
    Open("/lib/woods.lib");
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(library.LastPosition(), -1);
    EXPECT_EQ(library.SelectedMaterialPosition(), -1);
}

TEST_F(LibraryTest, AFailedWriteAsksRetryOrCancelAndKeepsTheLibrary) {
    Open("/lib/metals.lib");
    const std::string before = files.files["/lib/metals.lib"];
    Select(0);
    library.ResetMaterial();

    files.failingWrites = 2;
    prompts.answers = {kRetry, kCancel};
    EXPECT_FALSE(library.Save());
    EXPECT_EQ(files.writeAttempts, 2);
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text, "Permssion denied (write-protect).");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::RetryCancel);
    EXPECT_EQ(files.files["/lib/metals.lib"], before);
    EXPECT_TRUE(library.IsOpen());
    EXPECT_EQ(library.LastPosition(), 2);

    files.failingWrites = 1;
    prompts.answers = {kRetry};
    EXPECT_TRUE(library.Save());
    EXPECT_NE(files.files["/lib/metals.lib"], before);
}

// ---- Close -----------------------------------------------------------------------

TEST_F(LibraryTest, CloseAsksAboutTheNamedFileAndCancelKeepsEverything) {
    Open("/lib/metals.lib");
    Change();
    prompts.answers = {kCancel};
    EXPECT_TRUE(library.CloseLibrary());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Save changes to /lib/metals.lib ?");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Question);
    EXPECT_TRUE(library.IsOpen() && window.shown);
    EXPECT_EQ(library.LastPosition(), 2);
    EXPECT_EQ(library.Tree().NodeCount(), 5u);

    window.unitPosition = 0;
    prompts.answers = {kNo};
    EXPECT_FALSE(library.CloseLibrary());
    EXPECT_FALSE(library.IsOpen() || window.shown);
    EXPECT_TRUE(library.Tree().Empty());
    EXPECT_EQ(library.LastPosition(), -1);
    EXPECT_FALSE(window.valuePanelShown);
    EXPECT_EQ(settings.GetValue(), 0);  // the unit list position was stored
    EXPECT_EQ(files.writeAttempts, 0);
}

TEST_F(LibraryTest, CloseWithYesSavesAndASaveThatDidNotHappenKeepsTheLibrary) {
    library.NewLibrary();
    Change();
    prompts.answers = {kYes};  // then the save dialog is cancelled
    EXPECT_TRUE(library.CloseLibrary());
    EXPECT_EQ(prompts.shown[0].text, "Do you want to save changes?");
    EXPECT_TRUE(library.IsOpen() && window.shown);

    prompts.saveChoices = {"/lib/new.lib"};
    files.failingWrites = 1;
    prompts.answers = {kYes, kCancel};  // the write fails and the user gives up
    EXPECT_TRUE(library.CloseLibrary());
    EXPECT_TRUE(library.IsOpen());
    EXPECT_EQ(window.caption, "New File, not Saved");

    prompts.saveChoices = {"/lib/new.lib"};
    prompts.answers = {kYes};
    EXPECT_FALSE(library.CloseLibrary());
    EXPECT_FALSE(library.IsOpen());
    EXPECT_TRUE(files.files.contains("/lib/new.lib"));
}

// ---- Open ------------------------------------------------------------------------

TEST_F(LibraryTest, OpenShowsTheDialogAndFillsTheWindow) {
    library.OpenLibrary();  // cancelled
    ASSERT_EQ(prompts.openRequests.size(), 1u);
    const FileDialogRequest& request = prompts.openRequests[0];
    EXPECT_EQ(request.title, "Open Library File...");
    EXPECT_EQ(
        request.filter,
        "Korvex Material Files (*.lib)|*.lib|Excel Files  (*.xls)|*.xls|All Files  (*.*)|*.*");
    EXPECT_TRUE(request.fileMustExist && request.hideReadOnly);
    EXPECT_FALSE(library.IsOpen() || window.shown);

    Open("/lib/metals.lib");
    EXPECT_EQ(library.FileName(), "/lib/metals.lib");
    EXPECT_THAT(Names(), ElementsAre("Steel", "Copper", "Nylon"));
    EXPECT_THAT(library.Tree().Roots(), ElementsAre("Metals    ", "Plastics    "));
    EXPECT_TRUE(library.Tree().Find("Plastics    Nylon  0002") != nullptr);
    EXPECT_EQ(ValueOf(library.Content().materials[1], "EX"), 1.17e11);
    EXPECT_EQ(ValueOf(library.Content().twins[1], "EX"), 1.17e11);
    EXPECT_EQ(library.Content().entries[1].values[0], 1.17e11);
    EXPECT_TRUE(window.valuePanelShown);
    EXPECT_EQ(window.panelTexts[1], "Steel  ");
    EXPECT_THAT(window.unitList, ElementsAre("IPS", "SI", "MKS(G)"));
}

TEST_F(LibraryTest, ARefusedFileBringsTheDialogBackAndKeepsTheOpenLibrary) {
    files.files["/lib/notes.txt"] = "hello\r\n";
    files.files["/lib/huge.lib"] =
        LibraryText({{"Bulk", std::vector<FileMaterial>(1002, FileMaterial{"Bar", 1.0})}});
    Open("/lib/metals.lib");
    Select(1);
    library.ResetMaterial();

    prompts.openChoices = {"/lib/notes.txt", "/lib/huge.lib", "/lib/missing.lib"};
    prompts.answers = {kOk, kOk, kOk};
    library.OpenLibrary();
    EXPECT_THAT(prompts.Texts(),
                ElementsAre("This file is not a Korvex/M material library file!",
                            std::string(kTooManyMaterialsMessage), "Path not found."));
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompts.openRequests.size(), 5u);  // once for Open(), four times here
    EXPECT_EQ(library.Caption(), "/lib/metals.lib");
    EXPECT_EQ(window.closes, 0);
    EXPECT_EQ(library.LastPosition(), 2);
    EXPECT_EQ(ValueOf(library.Content().materials[1], "EX"), 0.0);  // the reset survived
    EXPECT_EQ(library.SelectedMaterialPosition(), 1);
}

TEST_F(LibraryTest, OpenAsksAboutTheOpenLibraryWhileItIsIntact) {
    Open("/lib/metals.lib");
    Select(0);
    library.ResetMaterial();  // an unsaved change

    prompts.openChoices = {"/lib/woods.lib"};
    prompts.answers = {kCancel};
    library.OpenLibrary();
    EXPECT_EQ(prompts.shown.back().text, "Save changes to /lib/metals.lib ?");
    EXPECT_EQ(library.Caption(), "/lib/metals.lib");
    EXPECT_EQ(window.closes, 0);
    EXPECT_EQ(ValueOf(library.Content().materials[0], "EX"), 0.0);

    prompts.openChoices = {"/lib/woods.lib"};
    prompts.answers = {kYes};
    library.OpenLibrary();
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(library.Caption(), "/lib/woods.lib");
    EXPECT_THAT(Names(), ElementsAre("Oak"));
    // The change reached the old file.
    const std::string saved = files.files["/lib/metals.lib"];
    EXPECT_EQ(saved.find("EX        2"), std::string::npos) << saved;
    EXPECT_NE(saved.find("EX        0E0"), std::string::npos) << saved;
}

TEST_F(LibraryTest, ReopeningTheFileJustSavedShowsWhatWasSaved) {
    Open("/lib/metals.lib");
    Select(0);
    library.ResetMaterial();
    prompts.openChoices = {"/lib/metals.lib"};
    prompts.answers = {kYes};
    library.OpenLibrary();
    EXPECT_EQ(ValueOf(library.Content().materials[0], "EX"), 0.0);
}

// ---- Spreadsheet workbooks -------------------------------------------------------

TEST_F(LibraryTest, AnUpperCaseXlsNameIsReadAsAWorkbook) {
    workbook.materials = {
        {"Steel", "Metals", {2.1e11, 0.3, 8e10, 7850, 4e8, 4.1e8, 2.5e8, 1.2e-5, 50, 460, 99}},
        {"Glass", "", {}}};
    prompts.openChoices = {"/data/STEEL.XLS"};
    library.OpenLibrary();
    EXPECT_THAT(workbookReads, ElementsAre("/data/STEEL.XLS"));
    EXPECT_TRUE(files.reads.empty());
    EXPECT_EQ(library.Caption(), "/data/STEEL.XLS");
    EXPECT_EQ(library.FileName(), "");

    ASSERT_EQ(library.LastPosition(), 1);
    const MaterialEntry& steel = library.Content().entries[0];
    EXPECT_EQ(steel.nameText, "Steel");
    EXPECT_EQ(steel.categoryKey, "Metals");
    EXPECT_EQ(steel.values[10], 99);
    EXPECT_EQ(library.Content().entries[1].categoryKey, "No Category");
    EXPECT_TRUE(library.Tree().Find("MetalsSteel0000") != nullptr);

    // Values 0-9 land in the ten rows of the first model type, in SI.
    const std::vector<std::pair<std::string, double>> rows = {
        {"EX", 2.1e11},   {"NUXY", 0.3},     {"GXY", 8e10},    {"DENS", 7850}, {"SIGXT", 4e8},
        {"SIGXC", 4.1e8}, {"SIGYLD", 2.5e8}, {"ALPX", 1.2e-5}, {"KX", 50},     {"C (Cp)", 460}};
    for (const clsMaterial* record :
         {&library.Content().materials[0], &library.Content().twins[0]}) {
        for (const auto& [code, value] : rows) {
            EXPECT_EQ(ValueOf(*record, code), value) << code;
        }
        EXPECT_EQ(record->MaterialType(), "Metals");
    }
}

TEST_F(LibraryTest, AnImportedLibraryIsSavedUnderANewNameNeverOverTheWorkbook) {
    workbook.materials = {{"Steel", "Metals", {2.1e11, 0.3}}};
    prompts.openChoices = {"/data/steel.xls"};
    library.OpenLibrary();

    prompts.answers = {kCancel};
    EXPECT_TRUE(library.CloseLibrary());  // it has no file of its own, so it asks
    EXPECT_EQ(prompts.shown.back().text, "Do you want to save changes?");

    prompts.saveChoices = {"/lib/steel.lib"};
    ASSERT_TRUE(library.Save());
    EXPECT_EQ(prompts.saveRequests.size(), 1u);
    EXPECT_FALSE(files.files.contains("/data/steel.xls"));
    EXPECT_EQ(library.FileName(), "/lib/steel.lib");

    // Read back, the materials are those of the workbook.
    Open("/lib/steel.lib");
    EXPECT_THAT(Names(), ElementsAre("Steel"));
    EXPECT_EQ(library.Content().entries[0].categoryKey, "Metals    ");
    EXPECT_EQ(ValueOf(library.Content().materials[0], "NUXY"), 0.3);
}

TEST_F(LibraryTest, ABrokenSheetEndsTheImportWithItsMessage) {
    Open("/lib/metals.lib");
    workbook.error = "Row 14: more than eleven values for material Steel";
    prompts.openChoices = {"/data/bad.xls"};
    prompts.answers = {kOk};
    library.OpenLibrary();
    EXPECT_THAT(prompts.Texts(), ElementsAre(workbook.error));
    EXPECT_EQ(library.Caption(), "/lib/metals.lib");
    EXPECT_EQ(library.LastPosition(), 2);
}

TEST(LibraryWorkbooks, ThePlatformReaderReadsARealWorkbook) {
    const SheetImport sheet = PlatformWorkbookReader()(KT_XLS_FIXTURES "/UPPER.XLS");
    ASSERT_TRUE(sheet.ok()) << sheet.error;
    ASSERT_EQ(sheet.materials.size(), 2u);
    EXPECT_EQ(sheet.materials[1].categoryKey, "Ceramics");
    EXPECT_FALSE(PlatformWorkbookReader()(KT_XLS_FIXTURES "/not_a_workbook.xls").ok());
}

// ---- Delete, move, reset ---------------------------------------------------------

TEST_F(LibraryTest, DeletingPositionTwoOfFiveMovesTheLaterMaterialsUp) {
    files.files["/lib/five.lib"] = LibraryText(
        {{"A", {{"M0", 0}, {"M1", 1}}}, {"B", {{"M2", 2}, {"M3", 3}}}, {"C", {{"M4", 4}}}});
    Open("/lib/five.lib");
    Select(2);
    prompts.answers = {kNo};
    library.DeleteMaterial();
    EXPECT_EQ(prompts.shown[0].text, "Are you sure, you want to delete M2   ?");
    EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(library.LastPosition(), 4);

    prompts.answers = {kYes};
    library.DeleteMaterial();
    EXPECT_THAT(Names(), ElementsAre("M0", "M1", "M3", "M4"));
    EXPECT_EQ(library.Content().materials[2].MaterialName(), "M3  ");
    EXPECT_EQ(library.Content().twins[3].MaterialName(), "M4  ");
    EXPECT_EQ(ValueOf(library.Content().materials[2], "EX"), 3);
    EXPECT_THAT(library.Tree().Find("B    ")->children, ElementsAre("B    M3  0002"));
    EXPECT_THAT(library.Tree().Find("C    ")->children, ElementsAre("C    M4  0003"));
    // The material now at the deleted position is selected and shown.
    EXPECT_THAT(window.nodeClicks, ElementsAre("B    M3  0002"));
    EXPECT_EQ(library.SelectedMaterialPosition(), 2);
    EXPECT_EQ(window.panelCommandHides, 1);
    EXPECT_EQ(library.RememberedPosition(), -1);

    // Deleting the only material of a category removes the category node too.
    Select(3);
    prompts.answers = {kYes};
    library.DeleteMaterial();
    EXPECT_EQ(library.Tree().Find("C    "), nullptr);
    EXPECT_EQ(library.SelectedMaterialPosition(), 2);
}

TEST_F(LibraryTest, DeleteRefusesCategoriesWithMaterials) {
    Open("/lib/metals.lib");
    library.Tree().ClearSelection();
    library.DeleteMaterial();  // nothing selected: no question, nothing removed
    EXPECT_TRUE(prompts.shown.empty());

    library.Tree().Select("Metals    ");
    prompts.answers = {kOk};
    library.DeleteMaterial();
    EXPECT_EQ(prompts.shown[0].text, "Cannot delete a Category !");
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(library.LastPosition(), 2);

    library.Tree().AddCategory("Empty    ", "Empty    ");
    library.Tree().Select("Empty    ");
    library.DeleteMaterial();  // removed without a question
    EXPECT_EQ(library.Tree().Find("Empty    "), nullptr);
    EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(LibraryTest, DraggingTheFirstOfThreeOntoAnotherCategoryMakesItTheLast) {
    Open("/lib/metals.lib");
    library.SetDragSourceKey("Metals    Steel  0000");
    library.MoveMaterial("Plastics    ");

    EXPECT_THAT(Names(), ElementsAre("Copper", "Nylon", "Steel"));
    const MaterialEntry& moved = library.Content().entries[2];
    EXPECT_EQ(moved.categoryKey, "Plastics    ");
    EXPECT_EQ(library.Content().materials[2].MaterialType(), "Plastics    ");
    EXPECT_EQ(library.Content().twins[2].MaterialType(), "Plastics    ");
    EXPECT_EQ(ValueOf(library.Content().materials[2], "EX"), 2.1e11);
    EXPECT_EQ(ValueOf(library.Content().twins[0], "EX"), 1.17e11);
    EXPECT_THAT(library.Tree().Find("Metals    ")->children, ElementsAre("Metals    Copper  0000"));
    EXPECT_THAT(library.Tree().Find("Plastics    ")->children,
                ElementsAre("Plastics    Nylon  0001", "Plastics    Steel  0002"));
    EXPECT_EQ(library.Tree().Selected()->key, "Plastics    Steel  0002");
    EXPECT_THAT(window.nodeClicks, ElementsAre("Plastics    Steel  0002"));

    // A category as drag source, or a target that is no category, moves nothing.
    library.SetDragSourceKey("Metals    ");
    library.MoveMaterial("Plastics    ");
    library.SetDragSourceKey("Metals    Copper  0000");
    library.MoveMaterial("Plastics    Nylon  0001");
    EXPECT_THAT(Names(), ElementsAre("Copper", "Nylon", "Steel"));
}

TEST_F(LibraryTest, ResetClearsOnlyASelectedMaterial) {
    Open("/lib/metals.lib");
    const auto values = [this] {
        std::vector<double> v;
        for (const clsMaterial& m : library.Content().materials) {
            v.push_back(ValueOf(m, "EX"));
        }
        return v;
    };
    library.Tree().ClearSelection();
    library.ResetMaterial();
    library.Tree().Select("Metals    ");
    library.ResetMaterial();
    EXPECT_THAT(values(), ElementsAre(2.1e11, 1.17e11, 2.8e9));
    EXPECT_EQ(window.materialReshows, 0);

    Select(1);
    library.ResetMaterial();
    EXPECT_THAT(values(), ElementsAre(2.1e11, 0.0, 2.8e9));
    EXPECT_TRUE(library.Content().materials[1].HasValue(0));  // the flag stays
    EXPECT_EQ(window.materialReshows, 1);
}

// A category name may end in four digits; it must never be taken for a material.
TEST_F(LibraryTest, ACategoryEndingInDigitsIsNeverAMaterial) {
    workbook.materials = {{"Plate", "Steel 1045", {2e11}}, {"Bar", "Steel 0000", {1e11}}};
    prompts.openChoices = {"/data/grades.xls"};
    library.OpenLibrary();
    for (const std::string key : {"Steel 1045", "Steel 0000"}) {
        library.Tree().Select(key);
        ASSERT_NE(library.Tree().Selected(), nullptr);
        EXPECT_EQ(library.SelectedMaterialPosition(), -1) << key;
        EXPECT_EQ(library.Content().materials[0].CurrentMaterial(), -1) << key;
        library.ResetMaterial();
        prompts.answers = {kOk};
        library.DeleteMaterial();
        EXPECT_EQ(prompts.shown.back().text, "Cannot delete a Category !");
    }
    EXPECT_EQ(ValueOf(library.Content().materials[0], "EX"), 2e11);
    EXPECT_EQ(ValueOf(library.Content().materials[1], "EX"), 1e11);
    EXPECT_EQ(window.materialReshows, 0);

    // Without children, such a category still takes no grid entries and is removed
    // as a category.
    library.Tree().Remove("Steel 0000Bar0001");
    library.Tree().Select("Steel 0000");
    clsMaterial editor(&library);
    EXPECT_EQ(editor.CurrentMaterial(), -1);
    editor.Map(1, "5");
    EXPECT_EQ(ValueOf(library.Content().materials[0], "EX"), 2e11);
    library.DeleteMaterial();
    EXPECT_EQ(library.Tree().Find("Steel 0000"), nullptr);
    EXPECT_EQ(library.LastPosition(), 1);
}

// ---- Records and the host --------------------------------------------------------

TEST_F(LibraryTest, AGridEntryIsStoredInSiInTheSelectedMaterial) {
    Open("/lib/metals.lib");
    Select(2);
    window.unitPosition = 0;  // IPS: psi
    window.typePosition = 0;  // row 1 is EX
    clsMaterial editor(&library);
    editor.Map(1, "1000");
    EXPECT_NEAR(ValueOf(library.Content().materials[2], "EX"), 6.89e6, 0.01e6);  // N/m^2
    EXPECT_EQ(ValueOf(library.Content().materials[0], "EX"), 2.1e11);
}

TEST_F(LibraryTest, NumbersFollowTheUsersDecimalSeparator) {
    separator.separator = ",";
    LibraryController comma{{prompts, window, files, separator, settings, {}}};
    EXPECT_EQ(comma.ParseNumber("1,5"), 1.5);
    EXPECT_EQ(comma.ParseNumber("2.5E+3"), 2500);
    EXPECT_EQ(comma.ParseNumber("  -3,25D1"), -32.5);
    EXPECT_EQ(library.ParseNumber("1,5"), 1);  // read before the separator changed

    // Library files are read with the separator as it is when they are opened.
    Open("/lib/metals.lib");
    EXPECT_EQ(library.Content().entries[0].values[0], 2.1e11);
}

// ---- The tree model --------------------------------------------------------------

// ---- Unsaved changes, undo and redo ---------------------------------------------------

// The library as a file would hold it, with the order and names of its entries.
std::string Snapshot(const LibraryController& library) {
    std::vector<clsMaterial> materials = library.Content().materials;
    std::string text = FormatLibrary(materials, NumberCategories(materials));
    for (const MaterialEntry& entry : library.Content().entries) {
        text += "|" + entry.categoryKey + entry.nameText;
    }
    return text;
}

struct ChangeCase {
    const char* what;
    std::function<void(LibraryTest&)> change;
};

class LibraryChangeTest : public LibraryTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(LibraryChangeTest, MarksTheLibraryModifiedAndUndoRedoTakeItBackAndForth) {
    Open("/lib/metals.lib");
    EXPECT_FALSE(library.Modified() || window.modified || window.canUndo);
    const std::string opened = Snapshot(library);

    GetParam().change(*this);
    ASSERT_TRUE(prompts.answers.empty());
    prompts.shown.clear();
    const std::string changed = Snapshot(library);
    EXPECT_NE(changed, opened);
    EXPECT_TRUE(library.Modified() && window.modified && window.canUndo);
    EXPECT_FALSE(window.canRedo);

    ASSERT_TRUE(library.Undo());
    EXPECT_EQ(Snapshot(library), opened);
    EXPECT_FALSE(library.Modified() || window.modified || window.canUndo);
    EXPECT_TRUE(window.canRedo);
    EXPECT_FALSE(library.Undo());  // back at the state at open

    ASSERT_TRUE(library.Redo());
    EXPECT_EQ(Snapshot(library), changed);
    EXPECT_TRUE(library.Modified());

    // Saved, it asks nothing on closing; undone after the save, it is modified again.
    ASSERT_TRUE(library.Save());
    EXPECT_FALSE(library.Modified() || window.modified);
    ASSERT_TRUE(library.Undo());
    EXPECT_TRUE(library.Modified() && window.modified);
    ASSERT_TRUE(library.Redo());
    EXPECT_FALSE(library.CloseLibrary());
    EXPECT_TRUE(prompts.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryChange, LibraryChangeTest,
                         ::testing::Values(ChangeCase{"clear",
                                                      [](LibraryTest& t) {
                                                          t.Select(1);
                                                          t.library.ResetMaterial();
                                                      }},
                                           ChangeCase{"delete",
                                                      [](LibraryTest& t) {
                                                          t.Select(1);
                                                          t.prompts.answers = {MessageAnswer::Yes};
                                                          t.library.DeleteMaterial();
                                                      }},
                                           ChangeCase{"drag to another category",
                                                      [](LibraryTest& t) {
                                                          t.Select(0);
                                                          t.library.SetDragSourceKey(
                                                              t.library.Tree().Selected()->key);
                                                          t.library.MoveMaterial("Plastics    ");
                                                      }},
                                           ChangeCase{"grid entry",
                                                      [](LibraryTest& t) {
                                                          t.Select(2);
                                                          t.library.EnterGridValue(
                                                              1,
                                                              "5");  // EX of the first model type
                                                      }},
                                           ChangeCase{"grid entry emptied",
                                                      [](LibraryTest& t) {
                                                          t.Select(2);
                                                          t.library.EnterGridValue(1, "");
                                                      }}),
                         [](const ::testing::TestParamInfo<ChangeCase>& info) {
                             std::string name = info.param.what;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST_F(LibraryTest, AMoveToACategoryKeyReadFromTheListsLandsThere) {
    Open("/lib/metals.lib");
    library.SetDragSourceKey(KeyOf(0));
    // The key passed refers into the entry list the move rearranges.
    library.MoveMaterial(library.Content().entries[2].categoryKey);
    EXPECT_THAT(Names(), ElementsAre("Copper", "Nylon", "Steel"));
    EXPECT_EQ(library.Content().entries[2].categoryKey, "Plastics    ");
    EXPECT_EQ(library.SelectedMaterialPosition(), 2);
}

TEST_F(LibraryTest, UndoShowsTheMaterialItRestores) {
    Open("/lib/metals.lib");
    Select(1);
    prompts.answers = {kYes};
    library.DeleteMaterial();
    window.nodeClicks.clear();
    ASSERT_TRUE(library.Undo());
    EXPECT_THAT(Names(), ElementsAre("Steel", "Copper", "Nylon"));
    EXPECT_EQ(library.SelectedMaterialPosition(), 1);
    EXPECT_THAT(window.nodeClicks, ElementsAre("Metals    Copper  0001"));

    Select(2);
    library.EnterGridValue(1, "7");
    Select(0);
    ASSERT_TRUE(library.Undo());
    EXPECT_EQ(library.SelectedMaterialPosition(), 2);
    EXPECT_EQ(ValueOf(library.Content().materials[2], "EX"), 2.8e9);
}

TEST_F(LibraryTest, ANewStepDropsWhatCouldBeRedone) {
    Open("/lib/metals.lib");
    window.unitPosition = 1;  // entries in SI
    Select(0);
    library.EnterGridValue(1, "1");
    library.EnterGridValue(1, "2");
    ASSERT_TRUE(library.Undo());
    library.EnterGridValue(1, "3");
    EXPECT_FALSE(library.CanRedo());
    ASSERT_TRUE(library.Undo());
    EXPECT_EQ(ValueOf(library.Content().materials[0], "EX"), 1.0);
    library.EnterGridValue(1, "1");  // the value it holds: no step
    EXPECT_TRUE(library.CanRedo());
}

TEST_F(LibraryTest, ANewLibraryIsUnchangedAndAnImportedOneHasSomethingToSave) {
    library.NewLibrary();
    EXPECT_FALSE(library.Modified());
    EXPECT_FALSE(library.CloseLibrary());  // nothing asked
    EXPECT_TRUE(prompts.shown.empty());

    workbook.materials = {{"Steel", "Metals", {2.1e11}}};
    prompts.openChoices = {"/data/steel.xls"};
    library.OpenLibrary();
    EXPECT_TRUE(library.Modified() && window.modified);
    EXPECT_FALSE(library.CanUndo());
}

TEST_F(LibraryTest, ValuesRepairedWhileReadingAreToldOnceAfterOpening) {
    files.files["/lib/clean.lib"] = LibraryText({{"Metals", {{"Steel", 2.1e11}}}});
    Open("/lib/clean.lib");
    EXPECT_TRUE(prompts.shown.empty());

    std::string text = LibraryText({{"Metals", {{"Steel", 2.1e11}, {"Iron", 1e11}}}});
    const std::string bad = text::PadRight("EX", 67) + "abc";
    text.replace(text.find(text::PadRight("EX", 67)), 67 + 11, bad);
    files.files["/lib/bad.lib"] = text;
    prompts.openChoices = {"/lib/bad.lib"};
    prompts.answers = {kOk};
    library.OpenLibrary();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Information);
    EXPECT_NE(prompts.shown[0].text.find("(line 3)"), std::string::npos) << prompts.shown[0].text;
    EXPECT_FALSE(library.Content().materials[0].HasValue(0));  // passed over, not 0
}

class RecordingListener : public TreeListener {
  public:
    std::vector<std::string> events;
    void TreeRebuilt() override { events.push_back("rebuilt"); }
    void NodeAdded(const LibraryNode& n) override { events.push_back("added " + n.key); }
    void NodeRemoved(const std::string& key) override { events.push_back("removed " + key); }
    void NodeChanged(const LibraryNode& n) override {
        events.push_back("changed " + n.key + " " + n.image);
    }
    void SelectionChanged(const LibraryNode* n) override {
        events.push_back("selected " + (n ? n->key : std::string("none")));
    }
};

TEST(LibraryTreeModel, TellsItsListenerWhatChanged) {
    LibraryTree tree;
    RecordingListener listener;
    tree.SetListener(&listener);
    tree.Rebuild([&] {
        tree.AddCategory("A    ", "A    ");
        tree.AddMaterial("A    ", "A    x0000", "x");
    });
    EXPECT_THAT(listener.events, ElementsAre("rebuilt"));
    listener.events.clear();

    EXPECT_FALSE(tree.AddCategory("A    ", "A    "));
    EXPECT_FALSE(tree.AddMaterial("missing", "k", "t"));
    EXPECT_FALSE(tree.AddMaterial("A    x0000", "k", "t"));  // not under a material
    tree.AddCategory("B    ", "B    ");
    tree.Select("A    x0000");
    tree.SetExpanded("A    ", true);
    tree.Remove("A    ");
    EXPECT_THAT(listener.events,
                ElementsAre("added B    ", "selected A    x0000", "changed A     openbook",
                            "removed A    ", "selected none"));
    EXPECT_THAT(tree.Roots(), ElementsAre("B    "));
    EXPECT_EQ(tree.NodeCount(), 1u);
}

}  // namespace
}  // namespace material
