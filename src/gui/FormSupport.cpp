#include "gui/FormSupport.h"

namespace ardelon::gui {

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
