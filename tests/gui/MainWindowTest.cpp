// The main window on the offscreen platform: start-up, caption, menu and accelerators, the unit
// check marks, About and Disclaimer, the save-changes prompt and the recent file list.

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/ApplicationTexts.h"
#include "gui/CrossSectionView.h"
#include "gui/MainWindow.h"
#include "project/ProjectFile.h"

using namespace ardelon;
using namespace ardelon::gui;

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;

    QString settingsFile() const { return directory.filePath(QStringLiteral("ardelon.ini")); }
    QString projectFile(const QString& name, int layerCountIndex, double topThickness) {
        CStenorDoc doc;
        doc.layerCountIndex = layerCountIndex;
        doc.thickness[0] = topThickness;
        const QString path = directory.filePath(name);
        if (!saveProjectFile(doc, path.toStdString()).ok())
            qFatal("cannot write test project");
        return path;
    }
    static QAction* action(MainWindow& window, const char* name) {
        auto* found = window.findChild<QAction*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no action %s", name);
        return found;
    }

  private Q_SLOTS:
    void init() { QFile::remove(settingsFile()); }

    // Without a file, or with one that cannot be read (said so), the program starts a new project.
    void startUpWithoutAReadableFileShowsTheDefaults() {
        const QString bad = directory.filePath(QStringLiteral("bad.ard"));
        QFile out(bad);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("tiny");
        out.close();
        for (const QStringList& files : {QStringList(), QStringList{bad}}) {
            testing::MessageRecorder recorder;
            MainWindow window(settingsFile());
            window.startUp(files);
            QCOMPARE(window.windowTitle(), QStringLiteral("Ardelon 4.4"));
            QVERIFY(window.session().project() == CStenorDoc());
            QCOMPARE(testing::onlyMessage(recorder),
                     files.isEmpty()
                         ? QStringLiteral("0 messages")
                         : QStringLiteral("Ardelon: Cannot open \"%1\": Unexpected file format.")
                               .arg(bad));
        }
        const auto bands = sectionBands(CStenorDoc());
        QCOMPARE(bands.size(), std::size_t(2));
        QCOMPARE((QStringList{bands[0].material, bands[0].thickness, bands[0].modulus,
                              bands[1].material, bands[1].thickness}),
                 (QStringList{"AC (PG 70-22)", "10 in", "E = 522958 psi", "Soil", "Infinite"}));
        // Metric units chosen: the drawing shows cm and MPa at once.
        CStenorDoc metric;
        metric.unitSystem = Metric;
        QCOMPARE(sectionBands(metric)[0].thickness, QStringLiteral("25.4 cm"));
        QCOMPARE(sectionBands(metric)[0].modulus, QStringLiteral("E = 3605.67 MPa"));
    }

    void startUpWithFileOpensItAndRemembersIt() {
        testing::MessageRecorder recorder;
        const QString file = projectFile(QStringLiteral("ramp.ard"), 2, 4.5);
        {
            MainWindow window(settingsFile());
            window.startUp({file});
            QCOMPARE(window.windowTitle(), QStringLiteral("ramp.ard - Ardelon"));
            QCOMPARE(window.session().project().layerCountIndex, 2);
            QCOMPARE(sectionBands(window.session().project()).size(), std::size_t(4));
            QVERIFY(
                action(window, "actionRecentFile1")->text().endsWith(QStringLiteral("ramp.ard")));
        }
        QSettings settings(settingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.value(QStringLiteral("Recent File List/File1")).toString(), file);
        // The next start of the program offers the file again.
        MainWindow again(settingsFile());
        QCOMPARE(again.session().recentFiles().entries().front(), file.toStdString());
    }

    void menusAndAcceleratorsAreThoseOfTheProjectCommands() {
        MainWindow window(settingsFile());
        QStringList menus;
        for (QAction* menu : window.menuBar()->actions())
            menus << menu->text();
        QCOMPARE(menus, (QStringList{"&File", "&Input", "&Output", "I&nfo", "&Help"}));
        const std::pair<const char*, QKeySequence> accelerators[] = {
            {"actionNew", QKeySequence(Qt::CTRL | Qt::Key_N)},
            {"actionOpen", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"actionSave", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"actionStructure", QKeySequence(Qt::CTRL | Qt::Key_T)},
            {"actionLoadSpectra", QKeySequence(Qt::CTRL | Qt::Key_L)},
            {"actionViewOutput", QKeySequence(Qt::ALT | Qt::Key_V)},
            {"actionEsalData", QKeySequence(Qt::CTRL | Qt::Key_E)},
            {"actionTransferFunctions", QKeySequence(Qt::CTRL | Qt::Key_F)},
        };
        for (const auto& [name, keys] : accelerators)
            QCOMPARE(action(window, name)->shortcut(), keys);
        QCOMPARE(action(window, "actionSaveAs")->text(), QStringLiteral("Save As"));
        QCOMPARE(action(window, "actionExit")->text(), QStringLiteral("E&xit"));
        QCOMPARE(action(window, "actionAbout")->text(), QStringLiteral("&About Ardelon"));
    }

    void unitCommandsCarryCheckMarks() {
        MainWindow window(settingsFile());
        window.startUp({});
        QAction* english = action(window, "actionEnglishUnits");
        QAction* metric = action(window, "actionMetricUnits");
        QVERIFY(english->isChecked());
        QVERIFY(!metric->isChecked());
        metric->trigger();
        QCOMPARE(window.session().project().unitSystem, int(Metric));
        QVERIFY(metric->isChecked());
        QVERIFY(!english->isChecked());
        metric->trigger();  // choosing the checked unit system again keeps its mark
        QVERIFY(metric->isChecked());
        english->trigger();
        QCOMPARE(window.session().project().unitSystem, int(English));
        QVERIFY(english->isChecked());
        QVERIFY(!metric->isChecked());
    }

    // About (no buttons) and Disclaimer from the Info menu, with their exact texts.
    void infoDialogsShowTheirTexts() {
        MainWindow window(settingsFile());
        QStringList shown;
        testing::whenDialogOpens([&](QDialog* about) {
            shown << about->windowTitle();
            for (const char* name : {"program", "release"})
                shown << about->findChild<QLabel*>(QLatin1String(name))->text();
            QVERIFY(about->findChildren<QAbstractButton*>().isEmpty());
        });
        action(window, "actionAbout")->trigger();
        testing::whenDialogOpens([&](QDialog* disclaimer) {
            shown << disclaimer->windowTitle()
                  << disclaimer->findChild<QLabel*>(QStringLiteral("disclaimerText"))->text();
        });
        action(window, "actionDisclaimer")->trigger();
        QCOMPARE(shown, (QStringList{"About Ardelon 4.4", "Ardelon 4.4", "Release:  September 2017",
                                     "Disclaimer",
                                     "Ardelon is currently intended as a mechanistic\n"
                                     "pavement design tool.  It should be used in\n"
                                     "conjunction with applicable design standards.\n"
                                     "As always, design thicknesses must pass the test\n"
                                     "of reasonableness to ensure an economical\n"
                                     "design that will perform satisfactorily over\n"
                                     "the expected pavement life."}));
    }

    // Ctrl+T opens the Structure module; cancelled, it leaves the project, the caption and the
    // closing of the window alone.
    void acceleratorOpensItsModuleAndCancelChangesNothing() {
        testing::MessageRecorder recorder;
        MainWindow window(settingsFile());
        int opened = 0;
        window.setModuleForm(Module::Structure, [&](QWidget*, CStenorDoc& working) {
            ++opened;
            working.thickness[0] = 3;
            working.layerCountIndex = 3;
            return false;
        });
        window.startUp({});
        testing::activate(window);
        QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(opened, 1);
        QVERIFY(window.session().project() == CStenorDoc());
        QVERIFY(!window.session().isModified());
        QCOMPARE(window.windowTitle(), QStringLiteral("Ardelon 4.4"));
        QVERIFY(window.close());
        QVERIFY(recorder.messages.isEmpty());
    }

    // New asks to save an accepted change and keeps the inputs under no name; Exit asks again after
    // the next one, and Yes saves under the name chosen in the Save As dialog.
    void newAndExitAskToSaveAcceptedChanges() {
        testing::MessageRecorder recorder;
        MainWindow window(settingsFile());
        window.setModuleForm(Module::Structure, [](QWidget*, CStenorDoc& working) {
            working.layerCountIndex = 1;
            working.thickness[0] += 4;
            return true;
        });
        window.startUp({projectFile(QStringLiteral("base.ard"), 0, 8)});
        window.show();
        action(window, "actionStructure")->trigger();
        recorder.answers = {MessageAnswer::No};
        action(window, "actionNew")->trigger();
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Ardelon: Save changes to base.ard?"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Untitled - Ardelon"));
        QCOMPARE(window.session().project().layerCountIndex, 1);
        QCOMPARE(window.session().project().thickness[0], 12.0);

        action(window, "actionStructure")->trigger();
        recorder.messages.clear();
        recorder.answers = {MessageAnswer::Cancel};
        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Ardelon: Save changes to Untitled?"));
        QCOMPARE(recorder.messages[0].buttons, MessageButtons::YesNoCancel);
        recorder.answers = {MessageAnswer::Yes};
        recorder.files = {directory.filePath(QStringLiteral("overlay"))};
        QVERIFY(window.close());
        CStenorDoc saved;
        QVERIFY(
            openProjectFile(directory.filePath(QStringLiteral("overlay.ard")).toStdString(), saved)
                .ok());
        QCOMPARE(saved.thickness[0], 16.0);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
