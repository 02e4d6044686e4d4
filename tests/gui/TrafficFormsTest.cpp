// The Load Spectra and ESAL Data forms bound to their dialog classes, through the real widgets.

#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/TrafficForms.h"

using namespace ardelon;
using namespace ardelon::gui;
using ardelon::testing::activate;
constexpr auto type = ardelon::testing::typeAndLeave;

class TrafficFormsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void binEditsFollowTheFiveColumnLayoutAndLabels() {
        testing::MessageRecorder recorder;
        CLoadingConditionsDlg dialog(CStenorDoc{});
        LoadSpectraForm form(dialog);
        activate(form);
        // Bins 0 to 11 in the first column, 48 to 55 in the fifth, top to bottom.
        QCOMPARE(form.binEdit(11)->x(), form.binEdit(0)->x());
        QVERIFY(form.binEdit(12)->x() > form.binEdit(11)->x());
        QVERIFY(form.binEdit(12)->y() < form.binEdit(11)->y());
        QVERIFY(form.binEdit(55)->y() > form.binEdit(48)->y());
        QCOMPARE(form.aadtEdit()->text(), QStringLiteral("1000"));
        QVERIFY(recorder.messages.isEmpty());
    }

    void negativeBinIsRefusedAndKeptForCorrection() {
        testing::MessageRecorder recorder;
        CLoadingConditionsDlg dialog(CStenorDoc{});
        LoadSpectraForm form(dialog);
        activate(form);
        type(form.binEdit(3), QStringLiteral("-5"), form.binEdit(4));
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Number Out of Range: Please do not enter negative values."));
        QCOMPARE(QApplication::focusWidget(), form.binEdit(3));
        QCOMPARE(dialog.loadSpectra[Single][3], 0.0);
    }

    void binsAddUpInTheTotal() {
        testing::MessageRecorder recorder;
        CLoadingConditionsDlg dialog(CStenorDoc{});
        LoadSpectraForm form(dialog);
        activate(form);
        type(form.binEdit(8), QStringLiteral("60"), form.binEdit(9));
        type(form.binEdit(9), QStringLiteral("40.4"), form.binEdit(10));
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(form.totalField()->text(), QStringLiteral("100"));  // rounded half up
        QCOMPARE(dialog.loadSpectra[Single][9], 40.4);
    }

    void aadtOutsideItsRangeIsRefusedWithTheRange() {
        testing::MessageRecorder recorder;
        CLoadingConditionsDlg dialog(CStenorDoc{});
        LoadSpectraForm form(dialog);
        activate(form);
        type(form.aadtEdit(), QStringLiteral("0"), form.percentTrucksEdit());
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Ardelon: Please enter an integer between 1 and 500000."));
        QCOMPARE(QApplication::focusWidget(), form.aadtEdit());
    }

    void acceptedModuleDerivesTheCumulativeDistribution() {
        testing::MessageRecorder recorder;
        CStenorDoc working;
        testing::whenDialogOpens([](QDialog* dialog) {
            auto* form = static_cast<LoadSpectraForm*>(dialog);
            activate(*form);
            type(form->binEdit(8), QStringLiteral("50"), form->binEdit(9));
            type(form->binEdit(9), QStringLiteral("50"), form->binEdit(10));
            form->acceptButton()->click();
        });
        QVERIFY(runLoadSpectraModule(nullptr, working));
        QCOMPARE(working.loadSpectra[Single][8], 50.0);
        QCOMPARE(working.loadCdf[Single][8], 0.5);
        QCOMPARE(working.loadCdf[Single][55], 1.0);
        QCOMPARE(working.axleTypeFraction[Single], 1.0);
    }

    void cancelledModuleKeepsTheTraffic() {
        testing::MessageRecorder recorder;
        CStenorDoc working;
        testing::whenDialogOpens([](QDialog* dialog) {
            auto* form = static_cast<LoadSpectraForm*>(dialog);
            form->binEdit(8)->setText(QStringLiteral("70"));
            form->aadtEdit()->setText(QStringLiteral("5000"));
        });
        QVERIFY(!runLoadSpectraModule(nullptr, working));
        QVERIFY(working == CStenorDoc());
    }

    void vehicleShareAbove100IsRefused() {
        testing::MessageRecorder recorder;
        CVehicleTypeDlg dialog(0, CStenorDoc{}.vehicleTypeValue);
        VehicleTypeForm form(dialog);
        activate(form);
        type(form.valueEdit(shareIndex(5)), QStringLiteral("150"), form.valueEdit(shareIndex(6)));
        QCOMPARE(
            testing::onlyMessage(recorder),
            QStringLiteral("Percentage Out of Range: Please enter a value between 0% and 100%."));
        QCOMPARE(QApplication::focusWidget(), form.valueEdit(shareIndex(5)));
    }

    void vehicleTypesFillTheSpectraOfTheModule() {
        testing::MessageRecorder recorder;
        CLoadingConditionsDlg dialog(CStenorDoc{});
        LoadSpectraForm form(dialog);
        testing::whenDialogOpens([](QDialog* opened) {
            auto* vehicles = static_cast<VehicleTypeForm*>(opened);
            QCOMPARE(vehicles->totalField()->text(), QStringLiteral("100"));
            vehicles->acceptButton()->click();
        });
        form.findChild<QPushButton*>(
                QStringLiteral("control%1")
                    .arg(int(CLoadingConditionsDlg::Control::InputByVehicleType)))
            ->click();
        QVERIFY(recorder.messages.isEmpty());
        QVERIFY(dialog.configurationPercent[Tandem] > 0);
        QVERIFY(form.configurationCheck(Tandem)->isChecked());
        QVERIFY(form.totalField()->text() != QStringLiteral("0"));
    }

    void esalDataRefusesTextAndNegativeNumbers() {
        testing::MessageRecorder recorder;
        CEsalDataDlg dialog(CStenorDoc{});
        EsalDataForm form(dialog);
        activate(form);
        type(form.esalsEdit(), QStringLiteral("1e6x"), form.okButton());
        QCOMPARE(testing::onlyMessage(recorder), QStringLiteral("Ardelon: Please enter a number."));
        QCOMPARE(QApplication::focusWidget(), form.esalsEdit());

        form.esalsEdit()->setText(QStringLiteral("-1"));
        form.okButton()->click();
        QCOMPARE(recorder.messages.size(), 2);
        QCOMPARE(recorder.messages[1].text,
                 QStringLiteral("The expected number of ESALs cannot be negative."));
        QVERIFY(form.isVisible());
    }

    void esalDataOkReplacesTheTraffic() {
        testing::MessageRecorder recorder;
        CStenorDoc working;
        testing::whenDialogOpens([](QDialog* dialog) {
            auto* form = static_cast<EsalDataForm*>(dialog);
            form->esalsEdit()->setText(QStringLiteral("2000000"));
            form->okButton()->click();
        });
        QVERIFY(runEsalData(nullptr, working));
        QCOMPARE(working.expectedEsals, 2000000.0);
        QCOMPARE(working.loadSpectra[Single][8], 1000000.0);
        QCOMPARE(working.loadSpectra[Single][9], 1000000.0);
    }
};

QTEST_MAIN(TrafficFormsTest)
#include "TrafficFormsTest.moc"
