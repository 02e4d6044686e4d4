#include "gui/NumberEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <cmath>

#include "gui/QtDialogHost.h"
#include "project/NumberField.h"

namespace ardelon::gui {

namespace {
bool reporting = false;  // a refusal message of some field is on screen
}  // namespace

NumberEdit::NumberEdit(Kind kind, QWidget* parent) : QLineEdit(parent), kind_(kind) {}

void NumberEdit::setRange(double minimum, double maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

std::optional<double> NumberEdit::number() const {
    const std::string text = this->text().toStdString();
    if (kind_ == Kind::Integer) {
        auto value = integer();
        return value ? std::optional<double>(*value) : std::nullopt;
    }
    return parseNumberField(text, minimum_, maximum_).value;
}

std::optional<int> NumberEdit::integer() const {
    const std::string text = this->text().toStdString();
    std::optional<int> low, high;
    if (minimum_ && maximum_) {
        low = static_cast<int>(std::ceil(*minimum_));
        high = static_cast<int>(std::floor(*maximum_));
    }
    return parseIntegerField(text, low, high).value;
}

QString numberText(double value) {
    // Plain digits where fifteen significant digits say it exactly ("4000000", not "4e+06");
    // otherwise the shortest text that reads back as the same value.
    const QString plain = QString::number(value, 'g', 15);
    if (!plain.contains(QLatin1Char('e')) && plain.toDouble() == value)
        return plain;
    return QString::fromStdString(formatFieldNumber(value));
}

void NumberEdit::setNumber(double value) {
    showText(numberText(value));
}

void NumberEdit::setInteger(int value) {
    showText(QString::number(value));
}

void NumberEdit::showText(const QString& shown) {
    // The same text again keeps the selection, so that a field entered with Tab (whose rule
    // shows the form's values again) is still replaced by what the user types.
    if (shown != text())
        setText(shown);
}

QString NumberEdit::refusal() const {
    const std::string text = this->text().toStdString();
    if (kind_ == Kind::Integer) {
        std::optional<int> low, high;
        if (minimum_ && maximum_) {
            low = static_cast<int>(std::ceil(*minimum_));
            high = static_cast<int>(std::floor(*maximum_));
        }
        return QString::fromStdString(parseIntegerField(text, low, high).message);
    }
    return QString::fromStdString(parseNumberField(text, minimum_, maximum_).message);
}

bool NumberEdit::validate() {
    const QString message = refusal();
    if (message.isEmpty())
        return true;
    // While one field reports, the others do not judge their own focus loss: taking the focus
    // back must not start a refusal in the field that just received it.
    reporting = true;
    showMessageBox(window(), {message, toQString(kApplicationTitle), MessageIcon::Exclamation,
                              MessageButtons::Ok});
    setFocus(Qt::OtherFocusReason);
    selectAll();
    reporting = false;
    return false;
}

bool NumberEdit::commit() {
    if (!validate())
        return false;
    setModified(false);
    Q_EMIT committed();
    return true;
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !reporting && !commit()) {
        event->accept();  // the text was refused: the form must not accept
        return;
    }
    QLineEdit::keyPressEvent(event);  // Enter goes on to the form's default button
}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Switching to another window or opening a menu is not leaving the field.
    if (reporting || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason) {
        return;
    }
    // Leaving for a Cancel button abandons the whole form, so the field is not judged.
    if (const QWidget* next = QApplication::focusWidget();
        next && next->property(kCancelsForm).toBool()) {
        return;
    }
    commit();
}

void NumberEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (reporting || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason || event->reason() == Qt::OtherFocusReason) {
        return;  // back from a message box or a menu, or put here by a rule
    }
    Q_EMIT entered();
}

}  // namespace ardelon::gui
