#include "PurgeDialogController.h"

#include "HelpViewer.h"
#include "Strings.h"
#include "WindowMenu.h"

namespace spapp {

PurgeDialogController::PurgeDialogController(PurgeDialogView& view, DialogServices services)
    : view_(view), services_(std::move(services)) {}

void PurgeDialogController::updateData(bool saveAndValidate) {
    if (saveAndValidate) {
        data_ = view_.controlValues();
    } else {
        view_.showControlValues(data_);
    }
}

void PurgeDialogController::presetFilePath(const std::string& path) {
    data_.filePath = path;
    view_.showFilePath(data_.filePath);
}

void PurgeDialogController::OnBrowse() {
    if (auto path = services_.files.openFile(view_.ownerWindow(), openFileFilter())) {
        data_.filePath = *path;
        view_.showFilePath(data_.filePath);
    }
    // A new choice, or none, makes an earlier clean's success text stale.
    view_.setStatusLine({});
}

void PurgeDialogController::OnHelp() {
    services_.help.show(view_.ownerWindow());
}

void PurgeDialogController::OnCleanFile() {
    updateData(true);
    if (data_.filePath.empty()) {
        showMessage(loadString(IDS_NO_FILE));
        return;
    }
    if (!data_.anyProductTicked()) {
        showMessage(loadString(IDS_NO_PRODUCT));
        return;
    }
    // The purge writes the success text only when it succeeds; a success line left
    // from an earlier clean must not stand beside a clean that did nothing.
    view_.setStatusLine({});
    services_.purge(*this);
}

bool PurgeDialogController::OnSysCommand(unsigned id) {
    if (!spdialog::isAboutCommandId(id)) {
        return false;
    }
    view_.showAboutBox();
    return true;
}

void PurgeDialogController::reset() {
    data_ = DialogData{};
    updateData(false);
}

void PurgeDialogController::setStatusText(const std::string& text) {
    view_.setStatusLine(text);
}

void PurgeDialogController::showMessage(const std::string& text) {
    services_.messages.show(view_.ownerWindow(), text);
}

}  // namespace spapp
