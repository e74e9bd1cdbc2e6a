#pragma once
// Module1: the library controller. The one open material library and every operation on it: new,
// open (library files and spreadsheet workbooks), save, save as, close with its question, delete,
// reset and move a material, and the filling of the library window's tree, lists and panel.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "LibraryHistory.h"
#include "LibraryPrompts.h"
#include "LibraryTree.h"
#include "LibraryWindow.h"
#include "data/DecimalSeparator.h"
#include "data/Library.h"
#include "data/LibraryFileSystem.h"
#include "data/Material.h"
#include "data/NumberParser.h"
#include "data/xls/SheetImport.h"
#include "units/registry/clsRegistry.h"

namespace material {

inline constexpr std::string_view kNewLibraryCaption = "New File, not Saved";
inline constexpr std::string_view kOpenDialogTitle = "Open Library File...";
inline constexpr std::string_view kOpenDialogFilter =
    "Korvex Material Files (*.lib)|*.lib|Excel Files  (*.xls)|*.xls|All Files  (*.*)|*.*";
inline constexpr std::string_view kSaveDialogTitle = "Save Library File As ...";
// Saving never offers workbooks: a library written over one would destroy it.
inline constexpr std::string_view kSaveDialogFilter =
    "Korvex Material Files (*.lib)|*.lib|All Files  (*.*)|*.*";
inline constexpr std::string_view kNothingToSaveMessage = "Nothing to be saved.";
inline constexpr std::string_view kSaveNewQuestion = "Do you want to save changes?";
inline constexpr std::string_view kCannotDeleteCategoryMessage = "Cannot delete a Category !";
inline constexpr std::string_view kNoWorkbookReaderMessage =
    "Spreadsheet workbooks cannot be read on this system.";

// Imports the first sheet of the workbook at a path.
using WorkbookReader = std::function<SheetImport(const std::string& path)>;
// The workbook reader of this platform; one that refuses every file where none exists.
WorkbookReader PlatformWorkbookReader();

// The services the library operations use. All of them outlive the LibraryController.
struct LibraryServices {
    LibraryPrompts& prompts;
    LibraryWindow& window;
    LibraryFileSystem& files;
    const DecimalSeparatorSource& separator;
    clsRegistry& settings;
    WorkbookReader readWorkbook;
};

// "0000" ... "0999" for positions below 1000; larger positions written plainly.
std::string PositionDigits(int position);
// Tree key of a material: category key, name text, then its position digits.
std::string MaterialKey(std::string_view categoryKey, std::string_view nameText, int position);

class LibraryController final : public MaterialHost {
  public:
    explicit LibraryController(LibraryServices services);
    LibraryController(const LibraryController&) = delete;
    LibraryController& operator=(const LibraryController&) = delete;

    // Operations of the frame's and the window's commands.
    void NewLibrary();
    void OpenLibrary();
    // True when the library was written.
    bool Save();
    bool SaveAs();
    // Asks about saving, then closes the library and its window. Returns whether the
    // user cancelled (the library and the window then stay as they were).
    bool CloseLibrary();
    void DeleteMaterial();
    void ResetMaterial();
    // Moves the material of the drag source to the end of the library, in category
    // `targetCategoryKey` (the key of the category node it was dropped on). The key is
    // a copy: one read from the library's own lists would change under the move.
    void MoveMaterial(std::string targetCategoryKey);
    void SetDragSourceKey(std::string key) { dragSourceKey_ = std::move(key); }

    // ---- Changes, undo and redo ----
    // The material at `position` as it is held now, to record a change of it.
    HeldMaterial HeldAt(int position) const;
    // Records that material `position`, held as `before` until now, was changed by one
    // user action. Changes with the same nonzero `mergeKey` in a row are one action.
    void RecordChange(int position, HeldMaterial before, int mergeKey = 0);
    // Records the material just added as the last of the library.
    void RecordAdded();
    // Stores the text of grid row `gridRow` in the selected material (the record's Map)
    // as one undoable step.
    void EnterGridValue(int gridRow, std::string_view text);
    // Ends a continued change (the user left the field being typed in).
    void SealChange() { history_.Seal(); }
    // Takes back or does again the last user action; false when there was none.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return open_ && history_.CanUndo(); }
    bool CanRedo() const { return open_ && history_.CanRedo(); }
    // Whether the library changed since it was opened, created or saved.
    bool Modified() const { return open_ && history_.Modified(); }
    const LibraryHistory& History() const { return history_; }

    // Routines the window calls as well.
    void FillTree();
    void FillTreeImages();
    void ClearLibrary();
    void FillTypeList();
    void FillUnitList();
    void FillPanelUnitTables();
    void FillPanelTexts();
    void ApplySavedUnitSystem();
    // The leading number of `text` with the user's decimal separator; 0 when none.
    double ParseNumber(std::string_view text) const;
    // Position of the selected material node; -1 for no selection or a category.
    int SelectedMaterialPosition() const;
    // The material position of a node (the number in its key's last four characters);
    // -1 for no node, a category, or a position beyond the library.
    int PositionOfNode(const LibraryNode* node) const;

    // Library state.
    bool IsOpen() const { return open_; }
    // The library's own file; empty for a new or an imported library.
    const std::string& FileName() const { return fileName_; }
    const std::string& Caption() const { return caption_; }
    const LibraryContent& Content() const { return content_; }
    LibraryContent& Content() { return content_; }
    int LastPosition() const { return content_.lastPosition(); }
    LibraryTree& Tree() { return tree_; }
    const LibraryTree& Tree() const { return tree_; }
    int RememberedPosition() const { return rememberedPosition_; }
    void SetRememberedPosition(int position) { rememberedPosition_ = position; }
    int CopySourcePosition() const { return copySourcePosition_; }
    void SetCopySourcePosition(int position) { copySourcePosition_ = position; }

    // MaterialHost, for the records of the library.
    std::string CurrentUnitSystem() const override;
    int UnitListPosition() const override;
    int TypeListPosition() const override;
    std::optional<MaterialHost::TreeNode> SelectedNode() const override;
    clsMaterial* MaterialAt(int position) override;
    const NumberParser& Numbers() const override { return numbers_; }

  private:
    enum class Origin { None, New, File, Workbook };
    enum class SaveResult { Written, NothingToSave, NotSaved };
    struct CloseResult {
        bool cancelled = false;
        bool saved = false;
    };

    SaveResult SaveLibrary(bool askForFile);
    CloseResult Close();
    // Reads a chosen file without touching the open library; shows why it was refused.
    std::optional<LibraryContent> Load(const std::string& path);
    std::optional<LibraryContent> LoadWorkbook(const std::string& path);
    void Install(LibraryContent content, const std::string& path, Origin origin);
    void ShowWindow(const std::string& caption);
    void SelectAndShow(const std::string& key);
    void SelectFirstMaterial();
    bool HasOwnFile() const { return origin_ == Origin::File; }
    MessageAnswer Tell(std::string_view text, MessageButtons buttons, MessageIcon icon);
    // Does a step on the library, records it and shows the outcome.
    void Perform(EditStep step);
    void ShowAfterStep(const EditStep& step, int shown);
    void ShowEditState();

    LibraryServices services_;
    NumberParser numbers_;
    LibraryContent content_;
    LibraryTree tree_;
    LibraryHistory history_;
    std::string loadNote_;  // what reading the last file repaired, told once it is open
    Origin origin_ = Origin::None;
    bool open_ = false;
    bool windowShown_ = false;
    bool creatingRecords_ = false;
    std::string fileName_;
    std::string caption_;
    std::string dragSourceKey_;
    int rememberedPosition_ = -1;
    int copySourcePosition_ = -1;
};

}  // namespace material
