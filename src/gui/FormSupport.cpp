#include "gui/FormSupport.h"

#include <QScreen>
#include <QShortcut>

#include "gui/UserGuide.h"

namespace ardelon::gui {

QLabel* readOnlyField(int minimumWidth, Qt::Alignment alignment) {
    auto* label = new QLabel;
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(minimumWidth);
    label->setAlignment(alignment);
    label->setStyleSheet(
        QStringLiteral("QLabel { background: palette(window); padding: 1px 3px; }"));
    return label;
}

namespace {
// Room for the title bar and frame the window manager adds, logical pixels.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 40;
}  // namespace

void FormBase::fitIntoScreen() {
    const QScreen* shownOn = screen();
    if (shownOn == nullptr)
        return;
    const QRect area = shownOn->availableGeometry();
    const QSize limit(area.width() - kFrameWidth, area.height() - kFrameHeight);
    if (width() <= limit.width() && height() <= limit.height())
        return;
    resize(size().boundedTo(limit).expandedTo(minimumSizeHint()));
}

FormBase::FormBase(QWidget* parent) : QDialog(parent), host_(this) {
    // Every caption promises "F1 for Help".
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this, [this] { showUserGuide(this); });
}

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
    if (!shownBefore_) {
        shownBefore_ = true;
        fitIntoScreen();
        if (NumberEdit* field = initialField()) {
            field->setFocus(Qt::OtherFocusReason);
            field->selectAll();  // typing replaces the value
        }
    }
    refreshFieldHints();
    QDialog::showEvent(event);
}

QPushButton* FormBase::cancelButton(const QString& text) {
    auto* button = new QPushButton(text);
    button->setProperty(kCancelsForm, true);
    connect(button, &QPushButton::clicked, this, &QDialog::reject);
    return button;
}

void FormBase::refreshFieldHints() {
    if (!fieldHint_)
        return;
    for (const auto& [edit, control] : numberEdits_)
        edit->setToolTip(QString::fromStdString(fieldHint_(control)));
}

NumberEdit* FormBase::initialField() const {
    for (const auto& [edit, control] : numberEdits_) {
        if (edit->isVisibleTo(this) && edit->isEnabled() && !edit->isReadOnly())
            return edit;
    }
    return nullptr;
}

bool FormBase::validateNumberEdits() {
    auto* typing = qobject_cast<NumberEdit*>(focusWidget());
    if (typing && typing->isModified() && !typing->commit())
        return false;
    for (NumberEdit* edit : findChildren<NumberEdit*>()) {
        if (edit->isVisible() && edit->isEnabled() && !edit->validate())
            return false;
    }
    return true;
}

}  // namespace ardelon::gui
