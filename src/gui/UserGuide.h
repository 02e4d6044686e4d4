#pragma once
// The user guide (docs/user-guide.md, built into the program) in a window, opened by F1 and by
// the Help menu at the section of the form that has the focus.

#include <QDialog>
#include <QTextBrowser>

namespace ardelon::gui {

class UserGuideDialog : public QDialog {
    Q_OBJECT
  public:
    explicit UserGuideDialog(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }
    // Scrolls to the heading `section` (its text as written in the guide); false when the guide
    // has no such heading.
    bool openAt(const QString& section);

  private:
    QTextBrowser* browser_;
};

// The guide's heading for `window` (a form or the main window): the window's own section, or
// the start of the guide for a window it does not describe.
QString guideSectionFor(const QWidget* window);

// Opens the guide beside `parent` at the section of the window that holds the focus.
UserGuideDialog* showUserGuide(QWidget* parent);

}  // namespace ardelon::gui
