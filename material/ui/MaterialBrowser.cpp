#include "MaterialBrowser.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "PropertyPanel.h"
#include "Resources.h"
#include "TextCodec.h"
#include "units/UnitSystems.h"

namespace material {

namespace {

// The caption with the place of the desktop's modified mark.
QString captionText(const std::string& caption) {
    return QFile::decodeName(QByteArray::fromStdString(caption)) + QStringLiteral("[*]");
}

}  // namespace

MaterialBrowser::MaterialBrowser(BrowserServices services)
    : library_(LibraryServices{services.prompts, *this, services.files, services.separator,
                               services.settings, std::move(services.readWorkbook)}),
      editor_(library_, services.prompts),
      frame_(std::make_unique<MainFrame>(*this, std::move(services.helpViewer))) {}

MaterialBrowser::~MaterialBrowser() {
    frame_.reset();  // the window goes with the frame, while the library it shows exists
}

bool MaterialBrowser::libraryHasNoFile() const {
    return library_.IsOpen() && library_.FileName().empty();
}

bool MaterialBrowser::closeLibraryWindow() {
    if (form_ == nullptr) {
        return true;
    }
    QMdiSubWindow* sub = form_->subWindow();
    return sub != nullptr ? sub->close() : form_->close();
}

LibraryWindowWidget& MaterialBrowser::loadedForm() {
    if (form_ == nullptr) {
        form_ = new LibraryWindowWidget(library_, editor_, *frame_);
        QMdiSubWindow* sub = frame_->workspace()->addSubWindow(form_);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowIcon(resources::icon(QStringLiteral("CLOSEDBOOK")));
        form_->setUnloadedHandler([this] { form_ = nullptr; });
        library_.Tree().SetListener(form_);
        form_->TreeRebuilt();
    }
    return *form_;
}

void MaterialBrowser::Show(const std::string& caption) {
    LibraryWindowWidget& window = loadedForm();
    window.setWindowTitle(captionText(caption));
    window.subWindow()->showMaximized();
    window.show();
}

void MaterialBrowser::SetCaption(const std::string& caption) {
    if (form_ != nullptr) {
        form_->setWindowTitle(captionText(caption));
    }
}

void MaterialBrowser::Close() {
    if (form_ != nullptr) {
        form_->unload();
    }
}

void MaterialBrowser::ShowTree() {
    loadedForm().showTree();
}

void MaterialBrowser::LoadTreeImage(std::string_view key, std::string_view resource) {
    loadedForm().loadTreeImage(fromLibraryText(key), fromLibraryText(resource));
}

void MaterialBrowser::ClearTreeImages() {
    if (form_ != nullptr) {
        form_->clearTreeImages();
    }
}

void MaterialBrowser::SetPanelTexts(const std::string& category, const std::string& name,
                                    const std::string& description) {
    loadedForm().setPanelTexts(fromLibraryText(category), fromLibraryText(name),
                               fromLibraryText(description));
}

void MaterialBrowser::ShowValuePanel(bool shown) {
    if (form_ != nullptr) {
        form_->showValuePanel(shown);
    }
}

void MaterialBrowser::HidePanelCommands() {
    loadedForm().hidePanelCommands();
}

void MaterialBrowser::SetPanelUnitTables(const std::array<PanelLabelRow, kPanelRowCount>& labels,
                                         const std::array<double, kPanelFactorCount>& siPerIps,
                                         const std::array<double, kPanelFactorCount>& mksPerIps) {
    loadedForm().setPanelUnitTables(labels, siPerIps, mksPerIps);
}

void MaterialBrowser::FillUnitList(const std::vector<std::string>& texts) {
    loadedForm().fillUnitList(texts);
}

void MaterialBrowser::FillTypeList(const std::vector<std::string>& texts) {
    loadedForm().fillTypeList(texts);
}

int MaterialBrowser::UnitListPosition() const {
    return form_ != nullptr ? form_->unitListPosition() : -1;
}

int MaterialBrowser::TypeListPosition() const {
    return form_ != nullptr ? form_->typeListPosition() : 0;
}

void MaterialBrowser::SelectUnitListPosition(int position) {
    loadedForm().selectUnitListPosition(position);
}

std::string MaterialBrowser::ShownUnitSystem() const {
    return form_ != nullptr ? form_->shownUnitSystem() : std::string(kSi);
}

void MaterialBrowser::RefreshUnitDisplay() {
    if (form_ != nullptr) {
        form_->typeCombo_Click();
    }
}

void MaterialBrowser::EndGridEdit() {
    if (form_ != nullptr) {
        form_->propertyPanel()->endGridEdit();
    }
}

void MaterialBrowser::ShowMaterialAgain() {
    if (form_ != nullptr) {
        form_->typeCombo_Click();
    }
}

void MaterialBrowser::NodeClick(const std::string& key) {
    loadedForm().TreeView1_NodeClick(key);
}

void MaterialBrowser::ShowEditState(bool modified, bool canUndo, bool canRedo) {
    if (form_ != nullptr) {
        form_->showEditState(modified, canUndo, canRedo);
    }
}

}  // namespace material
