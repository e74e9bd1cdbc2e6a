// The library window's editing rules on the open library, free of any toolkit:
// renaming, the panel field checks, adding a material from the panel, copy and paste,
// and dropping a dragged material on another category. Every refusal is told through
// the prompts; the window only shows the outcome.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "data/Cp1252.h"
#include "data/library/LibraryPrompts.h"
#include "data/library/LibraryController.h"

namespace material {

// A library file keeps 30 characters of a name and 50 of a description.
inline constexpr std::size_t kNameFieldLimit = 30;
inline constexpr std::size_t kCategoryFieldLimit = 25;
inline constexpr std::size_t kDescriptionFieldLimit = 50;

inline constexpr std::string_view kNameTooLongMessage =
    "Material name should be less than 30 characters long";
inline constexpr std::string_view kCategoryTooLongMessage =
    "Material Category name should be less than 25 characters long !";
inline constexpr std::string_view kCannotRenameCategoryMessage = "Cannot rename a Category !";
inline constexpr std::string_view kMaterialExistsMessage =
    "Material already exits. Please enter a different name!";
inline constexpr std::string_view kSetCategoryAndNameMessage =
    "Must set Material category and name before generating new material !";
inline constexpr std::string_view kNoMaterialInMaterialMessage =
    "Addition of new Material within another Material is prohibited ! ";
inline constexpr std::string_view kNoCategoryMessage =
    "Please specify the Material Category name !";
inline constexpr std::string_view kCategoryStartsWithNumberMessage =
    "Material category can not start with a number !";
inline constexpr std::string_view kNoNameMessage = "Please specify the Material name !";
inline constexpr std::string_view kAddQuestion = "Do you really want to add this material ?";
inline constexpr std::string_view kCannotCopyCategoryMessage = "Cannot copy a Category !";
inline constexpr std::string_view kCopySourceChangedMessage =
    "The Material to Copy has been renamed or deleted. Please select another material to copy.";
inline constexpr std::string_view kLibraryFullMessage =
    "The library cannot hold more than 1001 materials. Please delete a material before adding "
    "another one.";

// The panel field that a refused check hands the focus back to.
enum class PanelField { None, Category, Name };

// What committing the panel did.
struct CommitOutcome {
    bool stored = false;  // the panel went into a material (matched or added)
    PanelField focus = PanelField::None;
    std::string addedKey;  // tree key of an added material; empty when none was added
};

struct AddOutcome {
    bool added = false;
    PanelField focus = PanelField::None;
    bool clearFields = false;  // the user answered No to the question
    std::string key;           // tree key of the added material
};

class LibraryEditor {
  public:
    LibraryEditor(LibraryController& library, LibraryPrompts& prompts);

    // Checks of the name and category fields when they are left; false after the
    // refusal was shown. Names are measured as typed, categories trimmed.
    bool NameFieldAccepted(std::string_view name);
    bool CategoryFieldAccepted(std::string_view category);

    // Whether a typed text can be kept in the library; a character outside its code page
    // is refused with a message naming it.
    bool TextAccepted(const EncodedText& typed);

    // The label of node `key` was edited to `newText`; true when the new name was
    // stored (material list, twin list, entry and node text), false when refused or
    // unchanged.
    bool Rename(const std::string& key, std::string_view newText);
    // Stores the description field's text for the material of node `key`.
    void StoreDescription(const std::string& key, std::string_view text);

    // Edit "&New": checks the selected node, then AddNewMaterial.
    AddOutcome EditNew(std::string_view category, std::string_view name,
                       std::string_view description);
    // "&Add New Material": checks the fields, asks, then adds the material as the last
    // of the library and selects its node.
    AddOutcome AddNewMaterial(std::string_view category, std::string_view name,
                              std::string_view description);

    // "&Reset": stores the panel's category, name, code and description into the
    // material of that category and name (asking first), or adds a new material when
    // none matches (asking too). The material then takes back the values of its twin.
    CommitOutcome CommitPanel(std::string_view category, std::string_view name,
                              std::string_view description);

    // Remembers the selected material as the copy source.
    void CopyMaterial();
    // Adds a copy of the copy source to the selected category (or the selected
    // material's category); the new node's key, or empty when nothing was pasted.
    std::string PasteMaterial();

    // A material node was dropped on node `targetKey`; moves it when the target lies in
    // another category. Returns whether it moved.
    bool DropMaterial(const std::string& sourceKey, const std::string& targetKey);

    // Position of the material of node `key`; -1 for a category or an unknown node.
    int PositionOf(const std::string& key) const;

    LibraryPrompts& Prompts() { return prompts_; }

  private:
    void Tell(std::string_view text, MessageIcon icon);
    // Whether a material other than the one at `except` has the name.
    bool NameTaken(std::string_view trimmedName, int except = -1) const;
    bool HasRoomForOneMore();
    int FindCategoryAndName(std::string_view category, std::string_view name) const;
    std::string CategoryKeyFor(std::string_view categoryField) const;
    void StorePanel(int position, const std::string& categoryKey, std::string_view name,
                    std::string_view description);
    std::string AddNode(const std::string& categoryKey, const std::string& name, int position);

    LibraryController& library_;
    LibraryPrompts& prompts_;
    std::string copySourceName_;
};

}  // namespace material
