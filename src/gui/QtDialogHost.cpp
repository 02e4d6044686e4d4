#include "gui/QtDialogHost.h"

#include <QFileDialog>
#include <QMessageBox>

namespace ardelon::gui {

namespace {

MessageHandler& messageHandler() {
    static MessageHandler handler;
    return handler;
}

FileHandler& fileHandler() {
    static FileHandler handler;
    return handler;
}

std::vector<NestedForm>& nestedForms() {
    static std::vector<NestedForm> forms;
    return forms;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void setMessageHandler(MessageHandler handler) {
    messageHandler() = std::move(handler);
}
void setFileHandler(FileHandler handler) {
    fileHandler() = std::move(handler);
}
void registerNestedForm(NestedForm form) {
    nestedForms().push_back(std::move(form));
}
bool registerNestedForms(std::initializer_list<NestedForm> forms) {
    for (const NestedForm& form : forms)
        registerNestedForm(form);
    return true;
}

MessageAnswer showMessageBox(QWidget* parent, const MessageRequest& request) {
    MessageRequest shown = request;
    shown.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (messageHandler())
        return messageHandler()(parent, shown);

    QMessageBox box(boxIcon(shown.icon), shown.caption, shown.text, boxButtons(shown.buttons),
                    parent);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        default:
            break;
    }
    // Esc or the close box of a Yes/No box means No; of any other box, Cancel.
    return shown.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
}

QString qtFileFilter(const QString& filter) {
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    // "Name (*.x) |*.x|All Files (*.*) |*.*||": names and patterns alternate. Qt filters on the
    // pattern in the name's brackets, so the name takes the pattern that really applies (the raw
    // data chooser names "(*.xls)" but lists "*.ad" files).
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        const qsizetype bracket = name.lastIndexOf(QLatin1Char('('));
        if (bracket > 0)
            name = name.left(bracket).trimmed();
        entries << name + QStringLiteral(" (") + parts[i + 1].trimmed() + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

std::optional<QString> chooseFile(QWidget* parent, const FileRequest& request) {
    if (fileHandler())
        return fileHandler()(parent, request);
    if (request.folder) {
        const QString folder =
            QFileDialog::getExistingDirectory(parent, QStringLiteral("Choose a Folder"));
        return folder.isEmpty() ? std::nullopt : std::optional<QString>(folder);
    }

    QFileDialog dialog(parent, request.save ? QStringLiteral("Save As") : QStringLiteral("Open"),
                       QString(), qtFileFilter(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    // An initial name such as "*.xlsx" is a pattern, not a file to propose.
    if (!request.initialName.isEmpty() && !request.initialName.contains(QLatin1Char('*')))
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

QWidget* QtDialogHost::control(int control) const {
    auto it = controls_.find(control);
    return it == controls_.end() ? nullptr : it->second;
}

MessageAnswer QtDialogHost::showMessage(std::string_view text, std::string_view caption,
                                        MessageIcon icon, MessageButtons buttons) {
    return showMessageBox(owner_, {toQString(text), toQString(caption), icon, buttons});
}

void QtDialogHost::setFocus(int id) {
    if (QWidget* widget = control(id))
        widget->setFocus(Qt::OtherFocusReason);
}

void QtDialogHost::setEnabled(int id, bool enabled) {
    if (QWidget* widget = control(id))
        widget->setEnabled(enabled);
}

void QtDialogHost::setVisible(int id, bool visible) {
    if (QWidget* widget = control(id))
        widget->setVisible(visible);
}

std::optional<std::string> QtDialogHost::chooseFileToOpen(std::string_view filter,
                                                          std::string_view initialName) {
    auto file = chooseFile(owner_, {false, toQString(filter), toQString(initialName), {}});
    if (!file)
        return std::nullopt;
    return file->toStdString();
}

std::optional<std::string> QtDialogHost::chooseFileToSave(std::string_view filter,
                                                          std::string_view initialName,
                                                          std::string_view defaultExtension) {
    QString suffix = toQString(defaultExtension);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    auto file = chooseFile(owner_, {true, toQString(filter), toQString(initialName), suffix});
    if (!file)
        return std::nullopt;
    return file->toStdString();
}

bool QtDialogHost::runModal(ModalDialog& dialog) {
    for (const NestedForm& form : nestedForms()) {
        if (auto accepted = form(dialog, owner_))
            return *accepted;
    }
    showMessage("The dialog \"" + std::string(dialog.caption()) +
                    "\" has no form in this build of the application.",
                kApplicationTitle, MessageIcon::Exclamation);
    return false;
}

}  // namespace ardelon::gui
