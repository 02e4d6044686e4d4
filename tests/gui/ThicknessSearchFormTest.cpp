// The Find Thicknesses form bound to CThicknessSearchDlg: a search on the worker thread fills the
// sortable table, and "Use This Design" hands the winner back to the Output and Design module.

#include <QSignalSpy>
#include <QtTest>

#include "GuiTestSupport.h"
#include "design/DepthResponseModel.h"
#include "gui/OutputDesignForm.h"
#include "gui/ThicknessSearchForm.h"
#include "project/ProjectJson.h"
#include "reliability/OutputModuleCopy.h"

using namespace ardelon;
using namespace ardelon::gui;
using testing::interstateProject;

namespace {}  // namespace

class ThicknessSearchFormTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void moduleOffersTheSearchBesidePerformAnalysis() {
        COutputDesignDlg dialog(interstateProject(), testing::depthModel());
        OutputDesignForm form(dialog);
        QCOMPARE(form.findThicknessesButton()->text(), QStringLiteral("Find Thicknesses..."));
        QVERIFY(form.findThicknessesButton()->isEnabled());
    }

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

QTEST_MAIN(ThicknessSearchFormTest)
#include "ThicknessSearchFormTest.moc"
