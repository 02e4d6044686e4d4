// The Transfer Functions form bound to its dialog class, through the real widgets.

#include <QPushButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/TransferFunctionsForm.h"

using namespace ardelon;
using namespace ardelon::gui;
using Control = TransferFunctionsDialog::Control;

class TransferFunctionsFormTest : public QObject {
    Q_OBJECT

    static QPushButton* button(QWidget& form, Control control) {
        return form.findChild<QPushButton*>(QStringLiteral("control%1").arg(int(control)));
    }

  private Q_SLOTS:
    void warningComesFirstAndCancelKeepsTheCoefficients() {
        testing::MessageRecorder recorder;
        CStenorDoc working;
        working.transferCoefficient = {1e-6, 3, 4e15, 4};
        const auto before = working.transferCoefficient;
        testing::whenDialogOpens([](QDialog* form) {
            auto* edit = static_cast<TransferFunctionsForm*>(form)->coefficientEdit(0);
            edit->setText(QStringLiteral("5e-06"));
        });
        QVERIFY(!runTransferFunctions(nullptr, working));
        QCOMPARE(working.transferCoefficient, before);
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages[0].caption, QStringLiteral("WARNING!"));
        QCOMPARE(recorder.messages[0].text,
                 QStringLiteral("The transfer functions must be handled with care.\n"
                                "Since they operate on a log scale, seemingly small\n"
                                "changes in the coefficients can lead to large\n"
                                "differences in damage and reliability calculations.\n"
                                "Consult the Help file for further details."));
    }

    void okCopiesTheTypedCoefficientsBack() {
        testing::MessageRecorder recorder;
        CStenorDoc working;
        testing::whenDialogOpens([](QDialog* dialog) {
            auto* form = static_cast<TransferFunctionsForm*>(dialog);
            form->coefficientEdit(1)->setText(QStringLiteral("3.5"));
            form->coefficientEdit(2)->setText(QStringLiteral("6e15"));
            button(*form, Control::Ok)->click();
        });
        QVERIFY(runTransferFunctions(nullptr, working));
        QCOMPARE(working.transferCoefficient, (std::array<double, 4>{2.83e-06, 3.5, 6e15, 3.929}));
    }

    void resetDefaultsRestoresOneGroup() {
        TransferFunctionsDialog dialog(1, 2, 3, 4);
        TransferFunctionsForm form(dialog);
        button(form, Control::ResetRutting)->click();
        QCOMPARE(form.coefficientEdit(0)->text(), QStringLiteral("1"));
        QCOMPARE(form.coefficientEdit(2)->number(), std::optional<double>(5.5e15));
        QCOMPARE(form.coefficientEdit(3)->text(), QStringLiteral("3.929"));
        button(form, Control::ResetFatigue)->click();
        QCOMPARE(form.coefficientEdit(0)->number(), std::optional<double>(2.83e-06));
        QCOMPARE(form.coefficientEdit(1)->text(), QStringLiteral("3.20596"));
    }

    void textThatIsNotANumberIsRefusedOnFocusLoss() {
        testing::MessageRecorder recorder;
        TransferFunctionsDialog dialog(1, 2, 3, 4);
        TransferFunctionsForm form(dialog);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        testing::typeAndLeave(form.coefficientEdit(0), QStringLiteral("K1"),
                              form.coefficientEdit(1));
        QCOMPARE(testing::onlyMessage(recorder), QStringLiteral("Ardelon: Please enter a number."));
        QCOMPARE(QApplication::focusWidget(), form.coefficientEdit(0));

        // OK refuses it as well and the form stays open; Cancel is free to leave.
        button(form, Control::Ok)->click();
        QVERIFY(form.isVisible());
        QCOMPARE(dialog.coefficient[0], 1.0);
        recorder.messages.clear();
        button(form, Control::Cancel)->setFocus(Qt::MouseFocusReason);
        QVERIFY(recorder.messages.isEmpty());
    }
};

QTEST_MAIN(TransferFunctionsFormTest)
#include "TransferFunctionsFormTest.moc"
