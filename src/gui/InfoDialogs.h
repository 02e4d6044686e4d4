#pragma once
// The About box and the Disclaimer dialog.

#include <QDialog>

class QLabel;

namespace ardelon::gui {

// "About Ardelon 4.4": program name, credit line and release. No buttons; Esc or the close box.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

// "Disclaimer": the disclaimer text and an "OK" button. Also shown by the Output module.
class DisclaimerDialog : public QDialog {
    Q_OBJECT
  public:
    explicit DisclaimerDialog(QWidget* parent = nullptr);
    QLabel* textLabel() const { return text_; }

  private:
    QLabel* text_;
};

}  // namespace ardelon::gui
