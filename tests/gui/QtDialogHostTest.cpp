// The screen side of the dialog pattern: what the dialogs' chooser filters become in Qt.

#include <QtTest>

#include "gui/QtDialogHost.h"

using namespace ardelon::gui;

class QtDialogHostTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void windowsStyleFiltersBecomeQtFilters() {
        QCOMPARE(
            qtFileFilter(QStringLiteral("Excel Files (*.xlsx) |*.xlsx|All Files (*.*) |*.*||")),
            QStringLiteral("Excel Files (*.xlsx);;All Files (*.*)"));
        // The raw-data chooser names "(*.xls)" but lists the "*.ad" files it writes.
        QCOMPARE(
            qtFileFilter(QStringLiteral("Ardelon Raw Data (*.xls) |*.ad|All Files (*.*) |*.*||")),
            QStringLiteral("Ardelon Raw Data (*.ad);;All Files (*.*)"));
    }
    void qtFiltersStayAsTheyAre() {
        QCOMPARE(qtFileFilter(QStringLiteral("Ardelon Files (*.ard)")),
                 QStringLiteral("Ardelon Files (*.ard)"));
        QCOMPARE(qtFileFilter(QStringLiteral("Load Spectra Files (*.lsf);;All Files (*.*)")),
                 QStringLiteral("Load Spectra Files (*.lsf);;All Files (*.*)"));
    }
};

QTEST_MAIN(QtDialogHostTest)
#include "QtDialogHostTest.moc"
