#include "app/LibraryEditor.h"

#include <cctype>

#include "app/PanelRules.h"
#include "data/Text.h"
#include "units/UnitSystems.h"

namespace material {

namespace {

constexpr std::string_view kCategoryKeyTail = "    ";
constexpr std::string_view kCopyPrefix = "Copy of ";
constexpr std::size_t kCodeWidth = 13;

std::string Trimmed(std::string_view s) {
    return std::string(text::Trim(s));
}

bool StartsWithDigit(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    return first != std::string_view::npos &&
           std::isdigit(static_cast<unsigned char>(s[first])) != 0;
}

}  // namespace

LibraryEditor::LibraryEditor(LibraryController& library, LibraryPrompts& prompts)
    : library_(library), prompts_(prompts) {}

void LibraryEditor::Tell(std::string_view text, MessageIcon icon) {
    prompts_.Message(std::string(text), MessageButtons::Ok, icon);
}

int LibraryEditor::PositionOf(const std::string& key) const {
    return library_.PositionOfNode(library_.Tree().Find(key));
}

bool LibraryEditor::NameFieldAccepted(std::string_view name) {
    // Names read from a file carry two trailing blanks; they are not part of the name.
    if (text::Trim(name).size() > kNameFieldLimit) {
        Tell(kNameTooLongMessage, MessageIcon::Critical);
        return false;
    }
    return true;
}

bool LibraryEditor::CategoryFieldAccepted(std::string_view category) {
    if (text::Trim(category).size() > kCategoryFieldLimit) {
        Tell(kCategoryTooLongMessage, MessageIcon::Critical);
        return false;
    }
    return true;
}

bool LibraryEditor::NameTaken(std::string_view trimmedName, int except) const {
    const std::vector<MaterialEntry>& entries = library_.Content().entries;
    for (std::size_t p = 0; p < entries.size(); ++p) {
        if (static_cast<int>(p) != except &&
            text::EqualNoCase(text::Trim(entries[p].nameText), trimmedName)) {
            return true;
        }
    }
    return false;
}

bool LibraryEditor::TextAccepted(const EncodedText& typed) {
    if (typed.complete()) {
        return true;
    }
    Tell(UnheldCharacterMessage(typed.firstUnheld), MessageIcon::Exclamation);
    return false;
}

bool LibraryEditor::HasRoomForOneMore() {
    if (library_.LastPosition() + 1 >= kLibraryCapacity) {
        Tell(kLibraryFullMessage, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

// ---- Rename and description ----------------------------------------------------------

bool LibraryEditor::Rename(const std::string& key, std::string_view newText) {
    const LibraryNode* node = library_.Tree().Find(key);
    if (node == nullptr) {
        return false;
    }
    if (node->isCategory()) {
        if (text::Trim(newText) != text::Trim(node->text)) {
            prompts_.Message(std::string(kCannotRenameCategoryMessage), MessageButtons::Ok,
                             MessageIcon::Question);
        }
        return false;
    }
    const int position = PositionOf(key);
    const std::string name = Trimmed(newText);
    if (position < 0) {
        return false;
    }
    LibraryContent& content = library_.Content();
    const auto at = static_cast<std::size_t>(position);
    // A label committed as it was (the editor lost the focus to a click or a dialog) is
    // no rename, and nothing is said about it.
    if (name == text::Trim(content.entries[at].nameText)) {
        return false;
    }
    // A name the file cannot hold whole, or no name at all, would not survive a save.
    if (name.empty()) {
        Tell(kNoNameMessage, MessageIcon::Exclamation);
        return false;
    }
    if (!NameFieldAccepted(name)) {
        return false;
    }
    // Another material's name is taken; the material's own may change its letter case.
    if (NameTaken(name, position)) {
        Tell(kMaterialExistsMessage, MessageIcon::Exclamation);
        return false;
    }
    HeldMaterial before = library_.HeldAt(position);
    content.entries[at].nameText = name;
    content.materials[at].setMaterialName(name);
    content.twins[at].setMaterialName(name);
    library_.Tree().SetText(key, name);
    library_.RecordChange(position, std::move(before));
    return true;
}

void LibraryEditor::StoreDescription(const std::string& key, std::string_view text) {
    const int position = PositionOf(key);
    if (position < 0) {
        return;
    }
    const std::string description(text.substr(0, kDescriptionFieldLimit));
    LibraryContent& content = library_.Content();
    const auto at = static_cast<std::size_t>(position);
    if (content.entries[at].description == description &&
        content.materials[at].MaterialDescription() == description) {
        return;
    }
    HeldMaterial before = library_.HeldAt(position);
    content.entries[at].description = description;
    content.materials[at].setMaterialDescription(description);
    // Typing a description, key by key, is one change.
    library_.RecordChange(position, std::move(before), position + 1);
}

// ---- New material ----------------------------------------------------------------------

AddOutcome LibraryEditor::EditNew(std::string_view category, std::string_view name,
                                  std::string_view description) {
    if (text::Trim(category).empty() || text::Trim(name).empty()) {
        prompts_.Message(std::string(kSetCategoryAndNameMessage), MessageButtons::Ok,
                         MessageIcon::None);
        return {};
    }
    // With nothing selected (an empty library) the material starts its own category.
    const LibraryNode* selected = library_.Tree().Selected();
    if (selected != nullptr && !selected->isCategory()) {
        Tell(kNoMaterialInMaterialMessage, MessageIcon::Exclamation);
        return {};
    }
    return AddNewMaterial(category, name, description);
}

AddOutcome LibraryEditor::AddNewMaterial(std::string_view categoryField, std::string_view nameField,
                                         std::string_view descriptionField) {
    AddOutcome outcome;
    const std::string category = Trimmed(categoryField);
    const std::string name = Trimmed(nameField);
    if (category.empty()) {
        Tell(kNoCategoryMessage, MessageIcon::Exclamation);
        outcome.focus = PanelField::Category;
    } else if (StartsWithDigit(categoryField)) {
        Tell(kCategoryStartsWithNumberMessage, MessageIcon::Exclamation);
        outcome.focus = PanelField::Category;
    } else if (!CategoryFieldAccepted(categoryField)) {
        outcome.focus = PanelField::Category;
    } else if (name.empty()) {
        Tell(kNoNameMessage, MessageIcon::Exclamation);
        outcome.focus = PanelField::Name;
    } else if (!NameFieldAccepted(name)) {
        outcome.focus = PanelField::Name;
    }
    if (outcome.focus != PanelField::None) {
        return outcome;
    }
    if (NameTaken(name)) {
        Tell(kMaterialExistsMessage, MessageIcon::Exclamation);
        return outcome;
    }
    if (!HasRoomForOneMore()) {
        return outcome;
    }
    if (prompts_.Message(std::string(kAddQuestion), MessageButtons::YesNo, MessageIcon::Question) !=
        MessageAnswer::Yes) {
        outcome.clearFields = true;
        return outcome;
    }

    const std::string description = Trimmed(descriptionField);
    const std::string categoryKey = category + std::string(kCategoryKeyTail);
    LibraryContent& content = library_.Content();
    const int position = library_.LastPosition() + 1;

    MaterialEntry& entry = content.entries.emplace_back();
    entry.categoryKey = categoryKey;
    entry.nameText = name;
    entry.description = description;

    clsMaterial twin(&library_);
    twin.setUnitSystem(std::string(kSi));
    twin.setMaterialType(category);
    twin.setMaterialName(name);
    twin.setMaterialDescription(description);
    twin.setMaterialNameCode(text::PadRight(name.substr(0, kCodeWidth), kCodeWidth));
    clsMaterial record(&library_);
    record.CopyAllProperties(twin);
    record.setUnitSystem(std::string(kSi));
    content.twins.push_back(std::move(twin));
    content.materials.push_back(std::move(record));

    outcome.added = true;
    outcome.key = AddNode(categoryKey, name, position);
    library_.RecordAdded();
    return outcome;
}

std::string LibraryEditor::AddNode(const std::string& categoryKey, const std::string& name,
                                   int position) {
    LibraryTree& tree = library_.Tree();
    tree.AddCategory(categoryKey, categoryKey);  // an existing category is kept as it is
    const std::string key = MaterialKey(categoryKey, name, position);
    tree.AddMaterial(categoryKey, key, name);
    tree.Select(key);
    return key;
}

// ---- Commit ----------------------------------------------------------------------------

int LibraryEditor::FindCategoryAndName(std::string_view category, std::string_view name) const {
    const std::string wanted = Trimmed(category) + Trimmed(name);
    const std::vector<MaterialEntry>& entries = library_.Content().entries;
    for (std::size_t p = 0; p < entries.size(); ++p) {
        const std::string held = Trimmed(entries[p].categoryKey) + Trimmed(entries[p].nameText);
        if (text::EqualNoCase(held, wanted)) {
            return static_cast<int>(p);
        }
    }
    return -1;
}

// The key of the category the field names: an existing category's own key when one
// matches (blanks and case aside), so its materials stay under one node; else the
// field in the form of a category key.
std::string LibraryEditor::CategoryKeyFor(std::string_view categoryField) const {
    const std::string_view wanted = text::Trim(categoryField);
    for (const MaterialEntry& entry : library_.Content().entries) {
        if (text::EqualNoCase(text::Trim(entry.categoryKey), wanted)) {
            return entry.categoryKey;
        }
    }
    for (const std::string& root : library_.Tree().Roots()) {
        if (text::EqualNoCase(text::Trim(root), wanted)) {
            return root;
        }
    }
    return std::string(wanted) + std::string(kCategoryKeyTail);
}

void LibraryEditor::StorePanel(int position, const std::string& categoryKey, std::string_view name,
                               std::string_view description) {
    LibraryContent& content = library_.Content();
    const auto at = static_cast<std::size_t>(position);
    const std::string trimmedName = Trimmed(name);
    const std::string code = NameCode(name);
    MaterialEntry& entry = content.entries[at];
    entry.categoryKey = categoryKey;
    entry.nameText = trimmedName;
    entry.code = code;
    entry.description = std::string(description);

    // The values go back to the twin's; the identity is the panel's, as the entry's
    // is (the twin may still hold an older description or name).
    clsMaterial& record = content.materials[at];
    record.CopyAllProperties(content.twins[at]);
    record.setMaterialType(categoryKey);
    record.setMaterialName(trimmedName);
    record.setMaterialNameCode(code);
    record.setMaterialDescription(std::string(description));
}

CommitOutcome LibraryEditor::CommitPanel(std::string_view category, std::string_view name,
                                         std::string_view description) {
    CommitOutcome outcome;
    const LibraryNode* selected = library_.Tree().Selected();
    if (selected != nullptr && selected->isCategory()) {
        return outcome;
    }
    if (Trimmed(category).empty()) {
        Tell(kNoCategoryMessage, MessageIcon::Exclamation);
        outcome.focus = PanelField::Category;
    } else if (!CategoryFieldAccepted(category)) {
        outcome.focus = PanelField::Category;
    } else if (Trimmed(name).empty()) {
        Tell(kNoNameMessage, MessageIcon::Exclamation);
        outcome.focus = PanelField::Name;
    } else if (!NameFieldAccepted(Trimmed(name))) {
        outcome.focus = PanelField::Name;
    }
    if (outcome.focus != PanelField::None) {
        return outcome;
    }

    const std::string categoryKey = CategoryKeyFor(category);
    const int match = FindCategoryAndName(category, name);
    if (match >= 0) {
        if (prompts_.Message(std::string(kOverwriteQuestion), MessageButtons::OkCancel,
                             MessageIcon::Question) != MessageAnswer::Ok) {
            return outcome;
        }
        HeldMaterial before = library_.HeldAt(match);
        StorePanel(match, categoryKey, name, description);
        library_.RecordChange(match, std::move(before));
        outcome.stored = true;
        return outcome;
    }
    if (prompts_.Message(std::string(kAddQuestion), MessageButtons::YesNo, MessageIcon::Question) !=
            MessageAnswer::Yes ||
        !HasRoomForOneMore()) {
        return outcome;
    }

    LibraryContent& content = library_.Content();
    const int position = library_.LastPosition() + 1;
    const std::string trimmedName = Trimmed(name);
    content.entries.emplace_back();
    clsMaterial twin(&library_);
    twin.setUnitSystem(std::string(kSi));
    twin.setMaterialType(std::string(category) + "  ");
    twin.setMaterialName(trimmedName);
    twin.setMaterialDescription(Trimmed(description));
    twin.setMaterialNameCode(NameCode(name));
    clsMaterial record(&library_);
    record.setUnitSystem(std::string(kSi));
    content.twins.push_back(std::move(twin));
    content.materials.push_back(std::move(record));
    StorePanel(position, categoryKey, name, description);

    outcome.stored = true;
    outcome.addedKey = AddNode(categoryKey, trimmedName, position);
    library_.RecordAdded();
    return outcome;
}

// ---- Copy and paste ----------------------------------------------------------------------

void LibraryEditor::CopyMaterial() {
    const LibraryNode* selected = library_.Tree().Selected();
    if (selected == nullptr) {
        return;
    }
    if (selected->isCategory()) {
        Tell(kCannotCopyCategoryMessage, MessageIcon::Exclamation);
        library_.SetCopySourcePosition(-1);
        return;
    }
    const int position = PositionOf(selected->key);
    if (position < 0) {
        return;
    }
    library_.SetCopySourcePosition(position);
    copySourceName_ = library_.Content().entries[static_cast<std::size_t>(position)].nameText;
}

std::string LibraryEditor::PasteMaterial() {
    const int source = library_.CopySourcePosition();
    const LibraryNode* selected = library_.Tree().Selected();
    if (source < 0 || source > library_.LastPosition() || selected == nullptr) {
        return {};
    }
    LibraryContent& content = library_.Content();
    const auto from = static_cast<std::size_t>(source);
    if (!text::EqualNoCase(text::Trim(content.entries[from].nameText),
                           text::Trim(copySourceName_))) {
        Tell(kCopySourceChangedMessage, MessageIcon::Exclamation);
        return {};
    }
    const std::string name = Trimmed(std::string(kCopyPrefix) + copySourceName_);
    if (NameTaken(name)) {
        Tell("Material Name (" + name + ") exists. Please rename it before pasting.",
             MessageIcon::Exclamation);
        return {};
    }
    // The file would cut a longer name, and the copy would come back under another name.
    if (!NameFieldAccepted(name) || !HasRoomForOneMore()) {
        return {};
    }
    std::string categoryKey = selected->key;
    if (!selected->isCategory()) {
        const int at = PositionOf(selected->key);
        if (at < 0) {
            return {};
        }
        categoryKey = content.entries[static_cast<std::size_t>(at)].categoryKey;
    }

    const int position = library_.LastPosition() + 1;
    MaterialEntry entry = content.entries[from];
    entry.categoryKey = categoryKey;
    entry.nameText = name;
    content.entries.push_back(std::move(entry));
    const auto copyOf = [&](const clsMaterial& original) {
        clsMaterial copy(&library_);
        copy.CopyAllProperties(original);
        copy.setUnitSystem(original.UnitSystem());
        copy.setMaterialType(categoryKey);
        copy.setMaterialName(name);
        return copy;
    };
    clsMaterial record = copyOf(content.materials[from]);
    clsMaterial twin = copyOf(content.twins[from]);
    content.materials.push_back(std::move(record));
    content.twins.push_back(std::move(twin));
    std::string key = AddNode(categoryKey, name, position);
    library_.RecordAdded();
    return key;
}

// ---- Drag and drop -------------------------------------------------------------------------

bool LibraryEditor::DropMaterial(const std::string& sourceKey, const std::string& targetKey) {
    const LibraryTree& tree = library_.Tree();
    const LibraryNode* source = tree.Find(sourceKey);
    const LibraryNode* target = tree.Find(targetKey);
    // Only a material that still is in the tree moves, and only onto a node.
    if (source == nullptr || source->isCategory() || PositionOf(sourceKey) < 0 ||
        target == nullptr) {
        return false;
    }
    const std::string category = target->isCategory() ? target->key : target->parentKey;
    if (text::EqualNoCase(text::Trim(category), text::Trim(source->parentKey))) {
        return false;
    }
    library_.SetDragSourceKey(sourceKey);
    library_.MoveMaterial(category);
    return true;
}

}  // namespace material
