#include "LibraryController.h"

#include <algorithm>
#include <charconv>

#include "data/LibraryFile.h"
#include "data/ModelCatalogue.h"
#include "units/UnitSystems.h"

namespace material {
namespace {

constexpr std::string_view kSampleName = "My Material";
constexpr std::string_view kSampleDescription = "This is a sample material";
constexpr std::string_view kCategoryKeyTail = "    ";
constexpr std::string_view kNoCategory = "No Category";

// The retry question of a failed write, asked through the window's message boxes.
class RetryCancelPrompt final : public SaveErrorPrompt {
  public:
    explicit RetryCancelPrompt(LibraryPrompts& prompts) : prompts_(prompts) {}
    Choice AskRetryCancel(const std::string& message) override {
        return prompts_.Message(message, MessageButtons::RetryCancel, MessageIcon::Critical) ==
                       MessageAnswer::Retry
                   ? Choice::Retry
                   : Choice::Cancel;
    }

  private:
    LibraryPrompts& prompts_;
};

// Sets a flag for the lifetime of the guard.
class FlagGuard {
  public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

  private:
    bool& flag_;
};

FileDialogRequest OpenRequest() {
    FileDialogRequest request;
    request.title = kOpenDialogTitle;
    request.filter = kOpenDialogFilter;
    request.fileMustExist = true;
    request.hideReadOnly = true;
    return request;
}

FileDialogRequest SaveRequest() {
    FileDialogRequest request;
    request.title = kSaveDialogTitle;
    request.filter = kSaveDialogFilter;
    // No default suffix: the library is written under the name exactly as the user typed it.
    request.hideReadOnly = true;
    request.overwritePrompt = true;
    return request;
}

// The position in the last four characters of a material key; -1 when they are not
// four digits.
int PositionInKey(std::string_view key) {
    if (key.size() < 4) {
        return -1;
    }
    const std::string_view digits = key.substr(key.size() - 4);
    int position = -1;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), position);
    return ec == std::errc() && end == digits.data() + digits.size() ? position : -1;
}

}  // namespace

std::string PositionDigits(int position) {
    std::string digits = std::to_string(position);
    if (position >= 0 && digits.size() < 4) {
        digits.insert(0, 4 - digits.size(), '0');
    }
    return digits;
}

std::string MaterialKey(std::string_view categoryKey, std::string_view nameText, int position) {
    std::string key(categoryKey);
    key += nameText;
    key += PositionDigits(position);
    return key;
}

LibraryController::LibraryController(LibraryServices services)
    : services_(std::move(services)), numbers_(services_.separator.ReadDecimalSeparator()) {}

// ---- New, open, save, close ------------------------------------------------------

void LibraryController::NewLibrary() {
    if (open_ && CloseLibrary()) {
        ApplySavedUnitSystem();
        return;
    }
    open_ = true;
    origin_ = Origin::New;
    fileName_.clear();
    rememberedPosition_ = -1;
    copySourcePosition_ = -1;

    LibraryContent content;
    {
        FlagGuard fresh(creatingRecords_);
        clsMaterial& sample = content.materials.emplace_back(this);
        sample.setMaterialType(std::string(kSampleName) + "  ");
        sample.setMaterialName(std::string(kSampleName));
        sample.setMaterialDescription(std::string(kSampleDescription));
        content.twins.emplace_back(this).Copy(sample);
    }
    MaterialEntry& entry = content.entries.emplace_back();
    entry.categoryKey = std::string(kSampleName) + std::string(kCategoryKeyTail);
    entry.nameText = kSampleName;
    entry.description = kSampleDescription;
    content_ = std::move(content);
    history_.Reset(true);
    FillPanelUnitTables();

    FillTree();
    ShowWindow(std::string(kNewLibraryCaption));
    SelectFirstMaterial();
    FillPanelTexts();
    FillUnitList();
    FillTypeList();
    services_.window.RefreshUnitDisplay();
    ApplySavedUnitSystem();
    ShowEditState();
}

void LibraryController::OpenLibrary() {
    for (;;) {
        const std::optional<std::string> path = services_.prompts.OpenFile(OpenRequest());
        if (!path) {
            return;
        }
        std::optional<LibraryContent> content = Load(*path);
        if (!content) {
            continue;  // refused: the user picks again, the open library is untouched
        }
        const Origin origin = isSpreadsheetFileName(*path) ? Origin::Workbook : Origin::File;
        if (open_) {
            const CloseResult closed = Close();
            if (closed.cancelled) {
                return;
            }
            if (closed.saved) {
                content = Load(*path);  // the save may have written the chosen file
                if (!content) {
                    return;
                }
            }
        }
        Install(std::move(*content), *path, origin);
        if (!loadNote_.empty()) {
            Tell(loadNote_, MessageButtons::Ok, MessageIcon::Information);
        }
        return;
    }
}

bool LibraryController::Save() {
    return SaveLibrary(false) == SaveResult::Written;
}

bool LibraryController::SaveAs() {
    return SaveLibrary(true) == SaveResult::Written;
}

LibraryController::SaveResult LibraryController::SaveLibrary(bool askForFile) {
    services_.window.EndGridEdit();
    // A library without materials is saved too: the file must lose what was deleted.
    if (!open_) {
        Tell(kNothingToSaveMessage, MessageButtons::Ok, MessageIcon::None);
        return SaveResult::NothingToSave;
    }
    std::string path = fileName_;
    if (askForFile || !HasOwnFile()) {
        const std::optional<std::string> chosen = services_.prompts.SaveFile(SaveRequest());
        if (!chosen) {
            return SaveResult::NotSaved;
        }
        path = *chosen;
    }
    const CategoryNumbering numbering = NumberCategories(content_.materials);
    RetryCancelPrompt retry(services_.prompts);
    const WriteOutcome outcome =
        WriteLibraryWithRetry(path, content_.materials, numbering, services_.files, retry);
    if (!outcome.written) {
        return SaveResult::NotSaved;
    }
    history_.MarkSaved();
    if (!HasOwnFile() || path != fileName_) {
        fileName_ = path;
        caption_ = path;
        origin_ = Origin::File;
        services_.window.SetCaption(caption_);
    }
    ShowEditState();
    return SaveResult::Written;
}

bool LibraryController::CloseLibrary() {
    return Close().cancelled;
}

LibraryController::CloseResult LibraryController::Close() {
    CloseResult result;
    if (!open_) {
        return result;
    }
    const std::string question =
        HasOwnFile() ? "Save changes to " + fileName_ + " ?" : std::string(kSaveNewQuestion);
    const MessageAnswer answer = Modified() ? Tell(question, MessageButtons::YesNoCancel,
                                                   MessageIcon::Question)
                                            : MessageAnswer::No;  // nothing to save: nothing asked
    switch (answer) {
        case MessageAnswer::Yes: {
            // A save that did not happen keeps the library: the user asked to keep it.
            const SaveResult saved = SaveLibrary(!HasOwnFile());
            if (saved == SaveResult::NotSaved) {
                result.cancelled = true;
                return result;
            }
            result.saved = saved == SaveResult::Written;
            break;
        }
        case MessageAnswer::No:
            break;
        default:
            result.cancelled = true;
            return result;
    }
    services_.settings.SetValue(static_cast<std::int16_t>(services_.window.UnitListPosition()));
    ClearLibrary();
    services_.window.Close();
    windowShown_ = false;
    open_ = false;
    origin_ = Origin::None;
    fileName_.clear();
    caption_.clear();
    history_.Reset(true);
    return result;
}

std::optional<LibraryContent> LibraryController::Load(const std::string& path) {
    numbers_ = NumberParser(services_.separator.ReadDecimalSeparator());
    loadNote_.clear();
    if (isSpreadsheetFileName(path)) {
        return LoadWorkbook(path);
    }
    ReadOutcome outcome;
    {
        FlagGuard fresh(creatingRecords_);
        outcome = ReadLibraryFile(path, numbers_, services_.files, this);
    }
    if (!outcome.accepted) {
        Tell(outcome.message, MessageButtons::Ok, MessageIcon::Exclamation);
        return std::nullopt;
    }
    loadNote_ = outcome.RepairMessage();
    return std::move(outcome.content);
}

std::optional<LibraryContent> LibraryController::LoadWorkbook(const std::string& path) {
    const SheetImport sheet = services_.readWorkbook
                                  ? services_.readWorkbook(path)
                                  : SheetImport{{}, std::string(kNoWorkbookReaderMessage)};
    if (!sheet.ok()) {
        Tell(sheet.error, MessageButtons::Ok, MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (sheet.materials.size() > static_cast<std::size_t>(kLibraryCapacity)) {
        Tell(kTooManyMaterialsMessage, MessageButtons::Ok, MessageIcon::Exclamation);
        return std::nullopt;
    }
    // Values 0-9 are the ten properties of the first model type, in row order; the
    // eleventh value has no row there and stays in the entry only.
    const std::vector<PropertySlot>& rows = ModelRows(0);
    FlagGuard fresh(creatingRecords_);
    LibraryContent content;
    for (const ImportedMaterial& imported : sheet.materials) {
        MaterialEntry& entry = content.entries.emplace_back();
        entry.categoryKey =
            imported.categoryKey.empty() ? std::string(kNoCategory) : imported.categoryKey;
        entry.nameText = imported.nameText;
        std::copy_n(imported.values.begin(), std::min(imported.values.size(), entry.values.size()),
                    entry.values.begin());

        clsMaterial& record = content.materials.emplace_back(this);
        record.setMaterialType(entry.categoryKey);
        record.setMaterialName(entry.nameText);
        for (std::size_t v = 0; v < imported.values.size() && v < rows.size(); ++v) {
            record.setProperty(clsMaterial::GetNthProperty(rows[v]));
            record.setValue(imported.values[v]);
        }
        content.twins.emplace_back(this).CopyAllProperties(record);
    }
    return content;
}

void LibraryController::Install(LibraryContent content, const std::string& path, Origin origin) {
    content_ = std::move(content);
    open_ = true;
    origin_ = origin;
    // A workbook's materials are in no library file yet: there is something to save.
    history_.Reset(origin == Origin::File);
    // An imported library has no file of its own yet: Save goes to Save as, so that
    // library text is never written over the workbook.
    fileName_ = origin == Origin::File ? path : std::string();
    rememberedPosition_ = -1;
    copySourcePosition_ = -1;

    FillPanelUnitTables();
    FillTree();
    ShowWindow(path);
    SelectFirstMaterial();
    FillPanelTexts();
    services_.window.ShowValuePanel(true);
    FillUnitList();
    FillTypeList();
    ApplySavedUnitSystem();
    ShowEditState();
}

void LibraryController::ShowWindow(const std::string& caption) {
    if (!windowShown_) {
        FillTreeImages();
    }
    caption_ = caption;
    services_.window.Show(caption_);
    windowShown_ = true;
    services_.window.ShowTree();
}

// ---- Delete, reset, move ---------------------------------------------------------

void LibraryController::DeleteMaterial() {
    const LibraryNode* node = tree_.Selected();
    if (node == nullptr) {
        return;
    }
    if (node->isCategory()) {
        if (!node->children.empty()) {
            Tell(kCannotDeleteCategoryMessage, MessageButtons::Ok, MessageIcon::Exclamation);
        } else {
            tree_.Remove(node->key);
        }
        return;
    }
    const int position = PositionOfNode(node);
    if (position < 0) {
        return;
    }
    const std::string question = "Are you sure, you want to delete " + node->text + " ?";
    if (Tell(question, MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes) {
        return;
    }
    EditStep step;
    step.splices.push_back({position, {HeldAt(position)}, {}});
    step.shownBefore = position;
    Perform(std::move(step));
    rememberedPosition_ = -1;

    FillTree();
    services_.window.SetPanelTexts({}, {}, {});
    services_.window.HidePanelCommands();
    // The material that took the deleted one's place, else the new last one.
    const int next = std::min(position, LastPosition());
    if (next >= 0) {
        const MaterialEntry& entry = content_.entries[static_cast<std::size_t>(next)];
        SelectAndShow(MaterialKey(entry.categoryKey, entry.nameText, next));
    } else {
        services_.window.ShowMaterialAgain();  // no material left: the grid shows none
    }
}

void LibraryController::ResetMaterial() {
    const int position = SelectedMaterialPosition();
    if (position < 0) {
        return;
    }
    HeldMaterial before = HeldAt(position);
    content_.materials[static_cast<std::size_t>(position)].reset();
    RecordChange(position, std::move(before));
    services_.window.ShowMaterialAgain();
}

void LibraryController::MoveMaterial(std::string targetCategoryKey) {
    const LibraryNode* target = tree_.Find(targetCategoryKey);
    const int position = PositionOfNode(tree_.Find(dragSourceKey_));
    if (target == nullptr || !target->isCategory() || position < 0) {
        return;
    }
    // Taken out of its place, then added as the last material, in its new category.
    HeldMaterial moved = HeldAt(position);
    moved.entry.categoryKey = targetCategoryKey;
    moved.material.setMaterialType(targetCategoryKey);
    moved.twin.setMaterialType(targetCategoryKey);
    const std::string nameText = moved.entry.nameText;
    const int last = LastPosition();
    EditStep step;
    step.splices.push_back({position, {HeldAt(position)}, {}});
    step.splices.push_back({last, {}, {std::move(moved)}});
    step.shownBefore = position;
    step.shownAfter = last;
    Perform(std::move(step));

    FillTree();
    SelectAndShow(MaterialKey(targetCategoryKey, nameText, last));
}

void LibraryController::SelectAndShow(const std::string& key) {
    tree_.Select(key);
    if (tree_.Selected() != nullptr) {
        services_.window.NodeClick(key);
    }
}

void LibraryController::SelectFirstMaterial() {
    if (content_.entries.empty()) {
        tree_.ClearSelection();
        return;
    }
    const MaterialEntry& first = content_.entries.front();
    tree_.Select(MaterialKey(first.categoryKey, first.nameText, 0));
}

// ---- Changes, undo and redo -----------------------------------------------------

HeldMaterial LibraryController::HeldAt(int position) const {
    const auto at = static_cast<std::size_t>(position);
    return {content_.entries[at], content_.materials[at], content_.twins[at]};
}

void LibraryController::RecordChange(int position, HeldMaterial before, int mergeKey) {
    EditStep step;
    step.splices.push_back({position, {std::move(before)}, {HeldAt(position)}});
    step.mergeKey = mergeKey;
    step.shownBefore = step.shownAfter = position;
    history_.Record(std::move(step));
    ShowEditState();
}

void LibraryController::RecordAdded() {
    const int last = LastPosition();
    EditStep step;
    step.splices.push_back({last, {}, {HeldAt(last)}});
    step.shownBefore = SelectedMaterialPosition() == last ? last - 1 : SelectedMaterialPosition();
    step.shownAfter = last;
    history_.Record(std::move(step));
    ShowEditState();
}

void LibraryController::EnterGridValue(int gridRow, std::string_view text) {
    const int position = SelectedMaterialPosition();
    const PropertySlot slot = ResolveRow(TypeListPosition(), gridRow);
    if (position < 0 || slot == kNoSlot) {
        return;
    }
    clsMaterial& record = content_.materials[static_cast<std::size_t>(position)];
    const auto valueOf = [&record, slot] {
        record.setProperty(clsMaterial::GetNthProperty(slot));
        return record.value();
    };
    ValueEdit edit;
    edit.position = position;
    edit.slot = slot;
    edit.hadValue = record.HasValue(slot);
    edit.oldValue = valueOf();
    clsMaterial(this).Map(gridRow, text);
    edit.hasValue = record.HasValue(slot);
    edit.newValue = valueOf();
    if (edit.hadValue == edit.hasValue && edit.oldValue == edit.newValue) {
        return;
    }
    EditStep step;
    step.value = edit;
    step.shownBefore = step.shownAfter = position;
    history_.Record(std::move(step));
    ShowEditState();
}

void LibraryController::Perform(EditStep step) {
    ApplyStep(step, content_);
    history_.Record(std::move(step));
    ShowEditState();
}

bool LibraryController::Undo() {
    if (!CanUndo()) {
        return false;
    }
    services_.window.EndGridEdit();  // an entry being typed is a step of its own
    const EditStep* step = history_.Undo();
    if (step == nullptr) {
        return false;
    }
    RevertStep(*step, content_);
    ShowAfterStep(*step, step->shownBefore);
    ShowEditState();
    return true;
}

bool LibraryController::Redo() {
    if (!CanRedo()) {
        return false;
    }
    services_.window.EndGridEdit();
    const EditStep* step = history_.Redo();
    if (step == nullptr) {
        return false;
    }
    ApplyStep(*step, content_);
    ShowAfterStep(*step, step->shownAfter);
    ShowEditState();
    return true;
}

void LibraryController::ShowAfterStep(const EditStep& step, int shown) {
    rememberedPosition_ = -1;
    if (step.changesStructure()) {
        FillTree();
    }
    const int last = LastPosition();
    if (last < 0) {
        tree_.ClearSelection();
        services_.window.SetPanelTexts({}, {}, {});
        services_.window.ShowMaterialAgain();
        return;
    }
    shown = shown < 0 || shown > last ? last : shown;
    if (!step.changesStructure() && SelectedMaterialPosition() == shown) {
        services_.window.ShowMaterialAgain();
        return;
    }
    const MaterialEntry& entry = content_.entries[static_cast<std::size_t>(shown)];
    SelectAndShow(MaterialKey(entry.categoryKey, entry.nameText, shown));
}

void LibraryController::ShowEditState() {
    if (open_) {
        services_.window.ShowEditState(Modified(), CanUndo(), CanRedo());
    }
}

// ---- Tree, lists and panel -------------------------------------------------------

void LibraryController::FillTree() {
    tree_.Rebuild([this] {
        for (int p = 0; p <= LastPosition(); ++p) {
            const MaterialEntry& entry = content_.entries[static_cast<std::size_t>(p)];
            tree_.AddCategory(entry.categoryKey, entry.categoryKey);
            tree_.AddMaterial(entry.categoryKey, MaterialKey(entry.categoryKey, entry.nameText, p),
                              entry.nameText);
        }
    });
}

void LibraryController::FillTreeImages() {
    LibraryWindow& window = services_.window;
    window.LoadTreeImage(kImageOpenBook, "OPENBOOK");
    window.LoadTreeImage(kImageClosedBook, "CLOSEDBOOK");
    window.LoadTreeImage(kImageLeaf, "LEAF");
    window.LoadTreeImage(kImageSelectedLeaf, "LEAF1");
}

void LibraryController::ClearLibrary() {
    content_ = LibraryContent{};
    services_.window.ClearTreeImages();
    tree_.Clear();
    services_.window.ShowValuePanel(false);
}

void LibraryController::FillTypeList() {
    services_.window.FillTypeList({kModelTypeNames.begin(), kModelTypeNames.end()});
}

void LibraryController::FillUnitList() {
    services_.window.FillUnitList({kUnitListTexts.begin(), kUnitListTexts.end()});
}

void LibraryController::FillPanelUnitTables() {
    services_.window.SetPanelUnitTables(PanelUnitLabels(), PanelSiPerIps(), PanelMksPerIps());
}

void LibraryController::FillPanelTexts() {
    const int position = SelectedMaterialPosition();
    if (tree_.Empty() || position < 0) {
        return;
    }
    const MaterialEntry& entry = content_.entries[static_cast<std::size_t>(position)];
    services_.window.SetPanelTexts(entry.categoryKey, entry.nameText, entry.description);
}

void LibraryController::ApplySavedUnitSystem() {
    const int position = services_.settings.GetValue();
    if (position >= 0 && position < static_cast<int>(kUnitListTexts.size())) {
        services_.window.SelectUnitListPosition(position);
    }
}

double LibraryController::ParseNumber(std::string_view text) const {
    return numbers_.Parse(text).value_or(0.0);
}

int LibraryController::SelectedMaterialPosition() const {
    return PositionOfNode(tree_.Selected());
}

int LibraryController::PositionOfNode(const LibraryNode* node) const {
    if (node == nullptr || node->isCategory()) {
        return -1;
    }
    const int position = PositionInKey(node->key);
    return position <= LastPosition() ? position : -1;
}

MessageAnswer LibraryController::Tell(std::string_view text, MessageButtons buttons,
                                      MessageIcon icon) {
    return services_.prompts.Message(std::string(text), buttons, icon);
}

// ---- MaterialHost ----------------------------------------------------------------

std::string LibraryController::CurrentUnitSystem() const {
    // Records of a library being read or created hold SI values, whatever the window
    // of the library before it shows.
    if (creatingRecords_ || !windowShown_) {
        return std::string(kSi);
    }
    return services_.window.ShownUnitSystem();
}

int LibraryController::UnitListPosition() const {
    return services_.window.UnitListPosition();
}

int LibraryController::TypeListPosition() const {
    return services_.window.TypeListPosition();
}

std::optional<MaterialHost::TreeNode> LibraryController::SelectedNode() const {
    const LibraryNode* node = tree_.Selected();
    if (node == nullptr) {
        return std::nullopt;
    }
    MaterialHost::TreeNode selected;
    selected.key = node->key;
    selected.hasChildren = !node->children.empty();
    selected.isCategory = node->isCategory();
    return selected;
}

clsMaterial* LibraryController::MaterialAt(int position) {
    if (position < 0 || position > LastPosition()) {
        return nullptr;
    }
    return &content_.materials[static_cast<std::size_t>(position)];
}

}  // namespace material
