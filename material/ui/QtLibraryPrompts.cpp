#include "QtLibraryPrompts.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "TextCodec.h"

namespace material {

namespace {

const QString kBoxTitle = QStringLiteral("Korvex/M Material Browser");

QMessageBox::StandardButtons standardButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer answerOf(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Retry:
            return MessageAnswer::Retry;
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Cancel:
            return MessageAnswer::Cancel;
        default:
            // Closed without a button: Cancel where there is one, else No or Ok.
            if (buttons == MessageButtons::YesNo) {
                return MessageAnswer::No;
            }
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

}  // namespace

QStringList dialogNameFilters(std::string_view filter) {
    const QStringList parts = fromLibraryText(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        QString patterns = parts.at(i + 1).trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The dialog reads the patterns from the text's closing parentheses, so a
        // description that shows them already stays as it is.
        const QString shown = description.trimmed();
        if (shown.endsWith(QLatin1Char(')')) && shown.contains(QLatin1Char('('))) {
            filters.append(description);
        } else {
            filters.append(description + QStringLiteral(" (") + patterns + QStringLiteral(")"));
        }
    }
    return filters;
}

MessageAnswer QtLibraryPrompts::Message(const std::string& text, MessageButtons buttons,
                                        MessageIcon icon) {
    QMessageBox box(boxIcon(icon), kBoxTitle, fromLibraryText(text), standardButtons(buttons),
                    QApplication::activeWindow());
    return answerOf(box.exec(), buttons);
}

std::optional<std::string> QtLibraryPrompts::OpenFile(const FileDialogRequest& request) {
    return AskForFile(request, false);
}

std::optional<std::string> QtLibraryPrompts::SaveFile(const FileDialogRequest& request) {
    return AskForFile(request, true);
}

std::optional<std::string> QtLibraryPrompts::AskForFile(const FileDialogRequest& request,
                                                        bool forSaving) {
    QFileDialog dialog(QApplication::activeWindow(), fromLibraryText(request.title));
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(dialogNameFilters(request.filter));
    dialog.setDefaultSuffix(fromLibraryText(request.defaultSuffix));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    // The dialog never offers opening a file read-only, so hideReadOnly needs nothing.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

}  // namespace material
