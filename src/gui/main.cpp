// ardelon: the desktop application. One optional argument, a project file to open.

#include <QApplication>
#include <QSettings>

#include "gui/MainWindow.h"
#include "gui/ModuleForms.h"
#include "gui/PdfReportForm.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ardelon"));
    QApplication::setOrganizationName(QStringLiteral("Ardelon"));

    // The recent file list lives in an INI file named after the program.
    const QString settingsFile = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("Ardelon"), QStringLiteral("ardelon"))
                                     .fileName();
    ardelon::gui::PdfReportForm::setSettingsFile(settingsFile);
    ardelon::gui::MainWindow window(settingsFile);
    ardelon::gui::installModuleForms(window);
    window.show();
    QStringList files = QApplication::arguments();
    files.removeFirst();
    window.startUp(files.mid(0, 1));
    return app.exec();
}
