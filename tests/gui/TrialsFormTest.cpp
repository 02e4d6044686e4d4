// The trials of the Output and Design module through their real widgets and keys: Keep as Trial
// with a name typed (and the offered one taken with Enter), the Trials view with a column per
// trial, Ctrl+A to select for Compare, F2 to rename, Delete to delete, and Load Trial, which asks
// over the edited design and puts the trial's thicknesses back in the module.

#include <QApplication>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/OutputDesignForm.h"
#include "gui/TrialsView.h"
#include "reliability/SolverResponseModel.h"
#include "trials/TrialFile.h"

using namespace ardelon;
using namespace ardelon::gui;
using Control = COutputDesignDlg::Control;
using TrialsControl = CTrialsDlg::Control;

namespace {

// A run of this many cycles ends in seconds even under the sanitizers.
constexpr int kSmallRunCycles = 50;
// Upper bound on a small run under the sanitizers on a loaded two-core machine.
constexpr int kRunTimeoutMs = 240000;

// The name form that opens next: `keys` typed into its name (the offered name selected, so they
// replace it), then Enter.
void answerNameForm(const QString& keys) {
    // Polls until the name form is the modal dialog on top (the Trials view may be under it).
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, keys] {
        auto* form = qobject_cast<TrialNameForm*>(QApplication::activeModalWidget());
        if (form == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        if (!keys.isEmpty())
            QTest::keyClicks(form->nameEdit(), keys);
        QTest::keyClick(form->nameEdit(), Qt::Key_Return);
    });
    timer->start();
}

std::vector<std::string> keptNames(const CStenorDoc& work) {
    std::vector<Trial> trials;
    if (!projectTrials(work, trials).ok())
        return {"unreadable"};
    std::vector<std::string> names;
    for (const Trial& t : trials)
        names.push_back(t.name);
    return names;
}

}  // namespace

class TrialsFormTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void keepShowRenameDeleteAndLoadWithTheKeyboard() {
        testing::MessageRecorder recorder;
        QTemporaryDir dir;
        CStenorDoc project = testing::interstateProject();
        project.output.doNotWarn = 1;
        COutputDesignDlg dialog(project, layeredElasticResponses());
        dialog.fixedSeed = 3;
        OutputDesignForm form(dialog);
        dialog.cycles = kSmallRunCycles;  // after the form opened with the default
        testing::activate(form);
        const auto analyse = [&] {
            recorder.files.push_back(dir.filePath(QStringLiteral("raw.ad")));
            form.button(Control::PerformAnalysis)->click();
            QTRY_VERIFY_WITH_TIMEOUT(!form.running(), kRunTimeoutMs);
            QVERIFY2(recorder.messages.isEmpty(), qPrintable(recorder.messages.value(0).text));
        };

        QVERIFY(!form.keepTrialButton()->isEnabled());  // nothing analysed yet
        analyse();
        QVERIFY(form.keepTrialButton()->isEnabled());
        answerNameForm(QStringLiteral("Two lifts"));
        form.keepTrialButton()->click();
        const QString analysedInches = form.thicknessEdit(1)->text();
        testing::activate(form);  // back from the name form
        testing::typeAndLeave(form.thicknessEdit(1), QStringLiteral("6"),
                              form.button(Control::LeaveModule));
        QVERIFY(!form.keepTrialButton()->isEnabled());  // the results are of another design
        analyse();
        answerNameForm({});  // the thicknesses offered as the name
        form.keepTrialButton()->click();
        // The interstate example's layers 2 and 3 are 6 and 12 in.
        QCOMPARE(keptNames(dialog.work), (std::vector<std::string>{"Two lifts", "6/6/12 in."}));

        // The Trials view: a column per trial, Compare offered once Ctrl+A selects both, the
        // selected one renamed with F2 and the other deleted with Del (the comparison itself is
        // run in the view's screenshot test).
        bool inspected = false;
        testing::whenDialogOpens([&](QDialog* shown) {
            auto* view = qobject_cast<TrialsView*>(shown);
            QVERIFY(view);
            testing::activate(*view);
            QTableWidget* table = view->table();
            QCOMPARE(table->columnCount(), 2);
            QCOMPARE(table->horizontalHeaderItem(0)->text().section(QLatin1Char('\n'), 0, 0),
                     QStringLiteral("Two lifts"));
            QCOMPARE(table->verticalHeaderItem(0)->text(), QStringLiteral("Cost ($/lane-mile)"));
            QVERIFY(!view->button(TrialsControl::Compare)->isEnabled());
            table->setFocus();
            QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);  // both columns
            QVERIFY(view->button(TrialsControl::Compare)->isEnabled());
            table->clearSelection();  // a column selected again would be toggled off
            table->selectColumn(1);
            answerNameForm(QStringLiteral("Thin"));
            QTest::keyClick(table, Qt::Key_F2);
            QCOMPARE(table->horizontalHeaderItem(1)->text().section(QLatin1Char('\n'), 0, 0),
                     QStringLiteral("Thin"));
            testing::activate(*view);  // back from the name form
            table->clearSelection();
            table->selectColumn(0);
            QTest::keyClick(table, Qt::Key_Delete);
            QCOMPARE(recorder.messages.size(), 1);
            QCOMPARE(recorder.messages.back().text, QStringLiteral("Delete trial \"Two lifts\"?"));
            QCOMPARE(table->columnCount(), 1);

            // Load Trial over the design shown, which differs from the one the module opened
            // with: asked first, then the view closes.
            table->selectColumn(0);
            view->button(TrialsControl::LoadTrial)->click();
            QCOMPARE(recorder.messages.size(), 2);
            QCOMPARE(recorder.messages.back().caption, QStringLiteral("Load Trial"));
            inspected = true;
        });
        form.trialsButton()->click();
        QVERIFY(inspected);
        QCOMPARE(keptNames(dialog.work), (std::vector<std::string>{"Thin"}));
        QCOMPARE(form.thicknessEdit(1)->text(), QStringLiteral("6"));
        QVERIFY(!form.keepTrialButton()->isEnabled());  // not analysed since it was loaded
        QCOMPARE(
            form.runStatusLabel()->text(),
            QStringLiteral("Trial \"Thin\" loaded. Perform Analysis to see its results here."));
        QVERIFY(analysedInches != QStringLiteral("6"));
    }
};

QTEST_MAIN(TrialsFormTest)
#include "TrialsFormTest.moc"
