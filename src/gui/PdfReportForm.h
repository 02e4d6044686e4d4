#pragma once
// "PDF Report": the texts of the design report's first page (title, description, client and
// engineer), asked for before "Export PDF Report..." writes the report. The last texts entered
// are remembered in the desktop's settings for the next project.

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>

#include "project/CStenorDoc.h"

namespace ardelon::gui {

class PdfReportForm : public QDialog {
    Q_OBJECT
  public:
    static constexpr const char* kCaption = "PDF Report";

    // Shows `details`, or the remembered texts when the project has none.
    PdfReportForm(const ReportDetails& details, QWidget* parent = nullptr);

    ReportDetails details() const;
    QLineEdit* titleEdit() const { return title_; }
    QLineEdit* clientEdit() const { return client_; }
    QLineEdit* engineerEdit() const { return engineer_; }
    QPlainTextEdit* descriptionEdit() const { return description_; }

    // The desktop's settings file where the texts are remembered (the program's own INI file
    // unless set).
    static void setSettingsFile(const QString& path);
    static QSettings settings();
    static ReportDetails remembered();
    static void remember(const ReportDetails& details);

  private:
    QLineEdit* title_;
    QPlainTextEdit* description_;
    QLineEdit* client_;
    QLineEdit* engineer_;
};

}  // namespace ardelon::gui
