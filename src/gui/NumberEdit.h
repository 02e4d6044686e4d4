#pragma once
// An edit for a number field of a form. When it loses the focus its text is checked with the
// framework's number-entry rules: text that is not a number (or not a whole number, or outside
// the field's range) is refused with "Please enter a number." / "Please enter an integer." and
// the application title as caption, and the focus stays in the edit. A valid text emits
// `committed`, where the form runs the dialog's focus-loss rule. Enter commits the field the same
// way before the form sees the key, so that the default button accepts what was typed.

#include <QLineEdit>
#include <optional>

namespace ardelon::gui {

// Property of a button that closes its form without keeping anything ("Cancel"): moving the
// focus to it does not check the field being left.
inline constexpr char kCancelsForm[] = "ardelonCancelsForm";

// A number as the forms show it.
QString numberText(double value);

class NumberEdit : public QLineEdit {
    Q_OBJECT
  public:
    enum class Kind { Number, Integer };

    explicit NumberEdit(Kind kind = Kind::Number, QWidget* parent = nullptr);

    // Restricts the accepted values; the message then names the range.
    void setRange(double minimum, double maximum);

    // The value of the current text, or std::nullopt when the text is refused.
    std::optional<double> number() const;
    std::optional<int> integer() const;
    void setNumber(double value);
    void setInteger(int value);

    // Checks the text as a focus loss does; shows the message and keeps the focus when it is
    // refused. Returns whether the text was accepted.
    bool validate();
    // Runs the field's commit rule now, as leaving it would: checks the text and, when it is
    // accepted, emits `committed`. Enter does this before the form's default button is pressed.
    bool commit();

  Q_SIGNALS:
    void committed();
    // The user entered the edit (not merely returned to its window).
    void entered();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

  private:
    QString refusal() const;
    void showText(const QString& shown);

    Kind kind_;
    std::optional<double> minimum_;
    std::optional<double> maximum_;
};

}  // namespace ardelon::gui
