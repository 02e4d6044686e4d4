// The Output and Design module's form bound to COutputDesignDlg, driven through its real widgets:
// the nested dialogs, a run on the worker thread, its cancellation, the export of the formatted
// report and the thickness search.

#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "GuiTestSupport.h"
#include "design/DepthResponseModel.h"
#include "gui/OutputDesignForm.h"
#include "gui/ThicknessSearchForm.h"
#include "project/ProjectJson.h"
#include "reliability/OutputModuleCopy.h"
#include "reliability/SolverResponseModel.h"

using namespace ardelon;
using namespace ardelon::gui;
using testing::interstateProject;
using Control = COutputDesignDlg::Control;

namespace {

// A run of this many cycles ends in seconds even under the sanitizers.
constexpr int kSmallRunCycles = 50;
// Long enough that the run is still going when Cancel is clicked.
constexpr int kLongRunCycles = 2000000;
// Upper bound on a small run under the sanitizers on a loaded two-core machine.
constexpr int kRunTimeoutMs = 240000;

// A shown, active form over `project`.
struct OpenForm {
    COutputDesignDlg dialog;
    std::unique_ptr<OutputDesignForm> form;
    explicit OpenForm(const CStenorDoc& project = CStenorDoc())
        : dialog(project, layeredElasticResponses()) {
        registerOutputDesignNestedForms();
        dialog.fixedSeed = 7;
        form = std::make_unique<OutputDesignForm>(dialog);
        testing::activate(*form);
    }
};

}  // namespace

class OutputDesignFormTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void opensWithItsControlsAndChecksTheThicknesses() {
        CStenorDoc project;
        project.layerCountIndex = 2;  // four layers: three thickness edits
        OpenForm open(project);
        QCOMPARE(open.form->windowTitle(), QStringLiteral("Output & Design Module (F1 for Help)"));
        QStringList titles;
        for (QGroupBox* box : open.form->findChildren<QGroupBox*>())
            titles << box->title();
        QCOMPARE(
            titles,
            (QStringList{QStringLiteral("Thickness Design"), QStringLiteral("Reliability Analysis"),
                         QStringLiteral("Perpetual Pavement Design Results: Conventional "
                                        "Design with Transfer Functions"),
                         QStringLiteral("Perpetual Pavement Design Results: Percentile "
                                        "Responses")}));
        const std::pair<Control, const char*> buttons[] = {
            {Control::SetMonteCarloCycles, "Set Monte Carlo Cycles"},
            {Control::PerformAnalysis, "Perform Analysis"},
            {Control::Disclaimer, "Disclaimer"},
            {Control::CostAnalysis, "Cost Analysis"},
            {Control::LeaveModule, "Leave Module"},
            {Control::ExportExcel, "Export Formatted Data to EXCEL"},
        };
        for (const auto& [control, text] : buttons)
            QCOMPARE(open.form->button(control)->text(), QLatin1String(text));
        QVERIFY(!open.form->button(Control::ExportExcel)->isEnabled());
        QVERIFY(!open.form->cancelRunButton()->isEnabled());
        QVERIFY(open.form->thicknessEdit(3)->isEnabled());
        QVERIFY(!open.form->thicknessEdit(4)->isEnabled());
        // A thickness out of range is refused with the dialog's message and keeps the focus, even
        // from the thickness edit it was leaving for.
        testing::MessageRecorder recorder;
        testing::typeAndLeave(open.form->thicknessEdit(2), QStringLiteral("0.99"),
                              open.form->thicknessEdit(3));
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral(
                     "Height Out of Range: Please enter a height between 1.0 in. and 999.0 in."));
        QCOMPARE(QApplication::focusWidget(), open.form->thicknessEdit(2));
        // No columns before the first run of the module.
        QCOMPARE(open.form->transferFunctionList()->columnCount(), 0);
        QCOMPARE(open.form->percentileList()->columnCount(), 0);
        QStringList labels;
        for (QLabel* label : open.form->findChildren<QLabel*>())
            labels << label->text();
        for (const char* label : {"Infinite", "in.", "Number of Pavement Layers:"})
            QVERIFY2(labels.contains(QLatin1String(label)), label);
        QCOMPARE(open.form->findThicknessesButton()->text(), QStringLiteral("Find Thicknesses..."));
        QVERIFY(open.form->findThicknessesButton()->isEnabled());
    }

    // Set Monte Carlo Cycles keeps what its dialog accepts; Cost Analysis, in English units, keeps
    // the costs when cancelled.
    void nestedDialogsOpenFromTheirButtons() {
        CStenorDoc project;
        project.layerCountIndex = 0;  // two layers: only layer 1 is priced
        OpenForm open(project);
        QString caption;
        testing::whenDialogOpens([&](QDialog* dialog) {
            caption = dialog->windowTitle();
            auto* form = qobject_cast<MonteCarloCyclesForm*>(dialog);
            QVERIFY(form);
            QCOMPARE(form->cyclesEdit()->text(), QStringLiteral("5000"));
            form->cyclesEdit()->setText(QStringLiteral("250"));
            form->accept();
        });
        open.form->button(Control::SetMonteCarloCycles)->click();
        QCOMPARE(caption, QStringLiteral("Monte Carlo Cycles"));
        QCOMPARE(open.dialog.cycles, 250);

        const auto costsBefore = open.dialog.work.layerCost;
        testing::whenDialogOpens([&](QDialog* dialog) {
            auto* form = qobject_cast<CostAnalysisForm*>(dialog);
            QVERIFY(form);
            QCOMPARE(form->windowTitle(), QStringLiteral("Cost Analysis"));
            QStringList labels;
            for (QLabel* l : form->findChildren<QLabel*>())
                labels << l->text();
            for (const char* unit : {"ft", "pcf", "English Ton", "Lane-mile"})
                QVERIFY2(labels.contains(QString::fromLatin1(unit)), unit);
            QVERIFY(form->densityEdit(1)->isEnabled());
            QVERIFY(!form->densityEdit(2)->isEnabled());
            QCOMPARE(form->costPerTonEdit(2)->text(), QStringLiteral("0"));
            form->reject();
        });
        open.form->button(Control::CostAnalysis)->click();
        QCOMPARE(open.dialog.work.layerCost, costsBefore);
    }

    void runFillsBothListsCancelKeepsThemAndExportOpensTheWorkbook() {
        testing::MessageRecorder recorder;
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        CStenorDoc project = interstateProject();
        project.output.doNotWarn = 0;
        OpenForm open(project);
        open.dialog.cycles = kSmallRunCycles;

        // "Please Note..." first: tick the box and go on.
        bool confirmed = false;
        testing::whenDialogOpens([&](QDialog* dialog) {
            auto* note = qobject_cast<PleaseNoteForm*>(dialog);
            QVERIFY(note);
            QCOMPARE(note->windowTitle(), QStringLiteral("Please Note..."));
            note->doNotWarnBox()->setChecked(true);
            note->accept();
            confirmed = true;
        });
        recorder.files.push_back(dir.filePath(QStringLiteral("raw.xls")));
        open.form->button(Control::PerformAnalysis)->click();
        QVERIFY(confirmed);
        QVERIFY(open.form->running());
        // While the cycles run, only Cancel answers.
        QVERIFY(open.form->cancelRunButton()->isEnabled());
        QVERIFY(!open.form->button(Control::PerformAnalysis)->isEnabled());
        QVERIFY(!open.form->button(Control::LeaveModule)->isEnabled());
        QVERIFY(!open.form->thicknessEdit(1)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!open.form->running(), kRunTimeoutMs);
        QVERIFY2(recorder.messages.isEmpty(), qPrintable(recorder.messages.value(0).text));
        QCOMPARE(open.form->progressBar()->maximum(), kSmallRunCycles);
        QCOMPARE(open.form->progressBar()->value(), kSmallRunCycles);
        QCOMPARE(open.dialog.work.output.doNotWarn, 1);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("raw.xls"))));

        QTreeWidget* first = open.form->transferFunctionList();
        QTreeWidget* second = open.form->percentileList();
        QVERIFY(first->topLevelItemCount() + second->topLevelItemCount() > 0);
        // The lists show the dialog's columns and rows, each column at least as wide as the dialog
        // sets it; every cell shows its whole text, and tells it in a tooltip as well.
        const std::pair<QTreeWidget*, const ReportListView*> lists[] = {
            {first, &open.dialog.transferFunctionList}, {second, &open.dialog.percentileList}};
        for (const auto& [list, view] : lists) {
            QCOMPARE(list->columnCount(), static_cast<int>(view->columns.size()));
            QCOMPARE(list->topLevelItemCount(), static_cast<int>(view->rows.size()));
            for (int c = 0; c < list->columnCount(); ++c) {
                const ListColumn& column = view->columns[static_cast<std::size_t>(c)];
                QCOMPARE(list->headerItem()->text(c), QString::fromStdString(column.heading));
                QVERIFY(list->columnWidth(c) >= column.widthPixels);  // wider for a long text
                for (int r = 0; r < list->topLevelItemCount(); ++r) {
                    const QTreeWidgetItem* item = list->topLevelItem(r);
                    QCOMPARE(
                        item->text(c),
                        QString::fromStdString(
                            view->rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
                    QVERIFY(list->fontMetrics().horizontalAdvance(item->text(c)) <
                            list->columnWidth(c));
                    QCOMPARE(item->toolTip(c), item->text(c));
                }
            }
        }
        QVERIFY(open.form->button(Control::ExportExcel)->isEnabled());
        QVERIFY(open.form->button(Control::LeaveModule)->isEnabled());
        QVERIFY(open.form->thicknessEdit(1)->isEnabled());

        // A long run cancelled: the results and working copy of the first run stay.
        const auto rowsBefore = open.dialog.percentileList.rows;
        const auto thicknessBefore = open.dialog.work.thickness;
        open.dialog.cycles = kLongRunCycles;
        recorder.files.push_back(dir.filePath(QStringLiteral("raw-long.xls")));
        open.form->button(Control::PerformAnalysis)->click();
        QVERIFY(open.form->running());
        QVERIFY(!second->isEnabled());  // the previous results greyed meanwhile
        QVERIFY(open.form->runStatusLabel()->text().contains(QStringLiteral(" cycles done, ")));
        open.form->cancelRunButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!open.form->running(), kRunTimeoutMs);
        QVERIFY(second->isEnabled());
        QCOMPARE(open.form->runStatusLabel()->text(),
                 QStringLiteral("Run cancelled. The previous results were kept."));
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(open.dialog.percentileList.rows, rowsBefore);
        QCOMPARE(open.dialog.work.thickness, thicknessBefore);
        QCOMPARE(second->topLevelItemCount(), static_cast<int>(rowsBefore.size()));
        QCOMPARE(open.form->progressBar()->value(), 0);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("raw-long.xls"))));
        QVERIFY(open.form->button(Control::ExportExcel)->isEnabled());

        // Export: the workbook is written, then handed to the desktop.
        QList<QUrl> opened;
        setOpenDocumentHandler([&](const QUrl& url) {
            opened << url;
            return true;
        });
        const QString workbook = dir.filePath(QStringLiteral("report.xlsx"));
        recorder.files.push_back(workbook);
        open.form->button(Control::ExportExcel)->click();
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(QFile::exists(workbook));
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(workbook)});

        // A workbook that cannot be written is reported and nothing is opened.
        recorder.files.push_back(dir.filePath(QStringLiteral("missing/report.xlsx")));
        open.form->button(Control::ExportExcel)->click();
        QCOMPARE(recorder.messages.size(), 1);  // its text is checked with the dialog
        QCOMPARE(opened.size(), 1);

        // A desktop without a program for workbooks: the user learns where the file is.
        setOpenDocumentHandler([](const QUrl&) { return false; });
        recorder.files.push_back(workbook);
        open.form->button(Control::ExportExcel)->click();
        QCOMPARE(recorder.messages.size(), 2);
        QCOMPARE(recorder.messages[1].text,
                 QStringLiteral("The workbook %1 was written, but no program is registered to "
                                "open it.")
                     .arg(workbook));
        setOpenDocumentHandler({});

        // Entering a thickness edit disables the export again.
        open.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(open.form.get()));
        open.form->button(Control::LeaveModule)->setFocus(Qt::TabFocusReason);
        QVERIFY(open.form->button(Control::ExportExcel)->isEnabled());
        open.form->thicknessEdit(1)->setFocus(Qt::MouseFocusReason);
        QVERIFY(!open.form->button(Control::ExportExcel)->isEnabled());
    }

    // Find Thicknesses: a search on the worker thread fills the sortable table, and "Use This
    // Design" hands the winner back to the module.
    void searchFillsTheTableAndUseThisDesignHandsTheWinnerBack() {
        CThicknessSearchDlg dialog(interstateProject(), testing::depthModel());
        ThicknessSearchForm form(dialog);
        form.show();
        QVERIFY(!form.useDesignButton()->isEnabled());
        auto* cycles = form.findChild<NumberEdit*>(
            QStringLiteral("control%1")
                .arg(static_cast<int>(CThicknessSearchDlg::Control::Cycles)));
        QVERIFY(cycles);
        cycles->setText(QStringLiteral("200"));
        QSignalSpy ended(&form, &ThicknessSearchForm::searchEnded);
        form.searchButton()->click();
        QVERIFY(ended.wait(120000));
        QVERIFY(dialog.result.has_value());
        QCOMPARE(dialog.result->status, ThicknessSearchStatus::Found);
        QTableWidget* table = form.candidateTable();
        QCOMPARE(table->rowCount(), static_cast<int>(dialog.result->evaluated.size()));
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Layer 1 (in.)"));
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("Pass"));
        QVERIFY(form.summaryLabel()->text().startsWith(QStringLiteral("Cheapest passing design")));
        QVERIFY(form.useDesignButton()->isEnabled());
        form.useDesignButton()->click();
        QCOMPARE(form.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(dialog.chosenThickness->at(0), dialog.result->best->candidate.thickness[0]);
    }
};

QTEST_MAIN(OutputDesignFormTest)
#include "OutputDesignFormTest.moc"
