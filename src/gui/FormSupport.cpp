#include "gui/FormSupport.h"

namespace ardelon::gui {

QPushButton* FormBase::defaultButton() const {
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->isDefault())
            return button;
    }
    return nullptr;
}

void FormBase::showEvent(QShowEvent* event) {
    // A button marked default before it was placed in the form is not yet the dialog's own
    // default; and without one, the dialog would make the first button in the tab order its
    // default (a Variability or Load Default Distribution button).
    QPushButton* chosen = defaultButton();
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    if (chosen)
        chosen->setDefault(true);
    QDialog::showEvent(event);
}

QPushButton* FormBase::cancelButton(const QString& text) {
    auto* button = new QPushButton(text);
    button->setProperty(kCancelsForm, true);
    connect(button, &QPushButton::clicked, this, &QDialog::reject);
    return button;
}

bool FormBase::validateNumberEdits() {
    for (NumberEdit* edit : findChildren<NumberEdit*>()) {
        if (edit->isVisible() && edit->isEnabled() && !edit->validate())
            return false;
    }
    return true;
}

}  // namespace ardelon::gui
