// The Structure module's form bound to CStructureDlg, driven through its real widgets.

#include <QLabel>
#include <QtTest>

#include "GuiTestSupport.h"
#include "gui/StructureForm.h"

using namespace ardelon;
using namespace ardelon::gui;

class StructureFormTest : public QObject {
    Q_OBJECT

    // A shown, active form over the default project.
    struct OpenForm {
        CStructureDlg dialog;
        std::unique_ptr<StructureForm> form;
        explicit OpenForm(const CStenorDoc& project = CStenorDoc()) {
            dialog.loadFrom(project);
            form = std::make_unique<StructureForm>(dialog);
            testing::activate(*form);
        }
        void type(NumberEdit* edit, const QString& text, QWidget* next) {
            testing::typeAndLeave(edit, text, next);
        }
    };

  private Q_SLOTS:
    void metricUnitsRelabelLengthsAndModuliButNotAirTemperatures() {
        CStenorDoc project;
        project.unitSystem = Metric;
        OpenForm open(project);
        QStringList texts;
        for (QLabel* label : open.form->findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("(cm)")));
        QVERIFY(texts.contains(QStringLiteral("(MPa)")));
        // Mean air temperatures are held in degrees F whatever the unit system.
        QVERIFY(texts.contains(QStringLiteral("Mean Air Temperature, F")));
        QVERIFY(!texts.contains(QStringLiteral("Mean Air Temperature, C")));
    }
    void thicknessOutOfRangeIsReportedKeptAndKeepsTheFocus() {
        testing::MessageRecorder recorder;
        OpenForm open;
        open.type(open.form->thicknessEdit(1), QStringLiteral("999.01"), open.form->modulusEdit(1));
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral(
                     "Height Out of Range: Please enter a height between 1.0 in. and 999.0 in."));
        QCOMPARE(QApplication::focusWidget(), open.form->thicknessEdit(1));
        QCOMPARE(open.dialog.thickness[0], 999.01);
        QCOMPARE(open.form->thicknessEdit(1)->text(), QStringLiteral("999.01"));
    }

    void thickerAsphaltIsCoolerAndStiffer() {
        testing::MessageRecorder recorder;
        OpenForm open;
        const QString before = open.form->modulusEdit(1)->text();
        QCOMPARE(before, QStringLiteral("522958"));
        open.type(open.form->thicknessEdit(1), QStringLiteral("12.345"), open.form->modulusEdit(2));
        QVERIFY(recorder.messages.isEmpty());
        QCOMPARE(open.form->thicknessEdit(1)->text(), QStringLiteral("12.35"));  // two decimals
        QVERIFY(open.form->modulusEdit(1)->number().value() > 522958);
    }

    void durationThatIsNotAWholeNumberIsRefused() {
        testing::MessageRecorder recorder;
        OpenForm open;
        open.type(open.form->durationEdit(Summer), QStringLiteral("26.5"),
                  open.form->modulusEdit(1));
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Ardelon: Please enter an integer."));
        QCOMPARE(QApplication::focusWidget(), open.form->durationEdit(Summer));
    }

    void acceptRefusesDurationsThatDoNotMakeAYear() {
        testing::MessageRecorder recorder;
        OpenForm open;
        open.type(open.form->durationEdit(Summer), QStringLiteral("27"), open.form->modulusEdit(1));
        open.form->acceptButton()->click();
        QVERIFY(open.form->isVisible());
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Invalid Seasonal Durations - Please Adjust: Seasonal durations do "
                                "not add to 52 weeks/year"));
        QCOMPARE(QApplication::focusWidget(), open.form->durationEdit(Summer));
    }

    void bottomLayerRefusesAPavingMaterial() {
        testing::MessageRecorder recorder;
        OpenForm open;
        QComboBox* material = open.form->materialList(2);
        material->setCurrentIndex(2);  // PCC
        Q_EMIT material->activated(2);
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Improper Material Selection - Please Adjust: PCC is not "
                                "acceptable as 2nd layer in a two layer pavement."));
    }

    void acceptedModuleCopiesTheEditsBackAndCancelDoesNot() {
        testing::MessageRecorder recorder;
        CStenorDoc working;
        testing::whenDialogOpens([](QDialog* dialog) {
            auto* form = static_cast<StructureForm*>(dialog);
            form->thicknessEdit(1)->setText(QStringLiteral("8"));
        });
        QVERIFY(!runStructureModule(nullptr, working));
        QVERIFY(working == CStenorDoc());

        testing::whenDialogOpens([](QDialog* dialog) {
            auto* form = static_cast<StructureForm*>(dialog);
            form->thicknessEdit(1)->setText(QStringLiteral("8"));
            form->acceptButton()->click();
        });
        QVERIFY(runStructureModule(nullptr, working));
        QCOMPARE(working.thickness[0], 8.0);
    }

    void variabilityButtonOpensTheLayersVariability() {
        testing::MessageRecorder recorder;
        OpenForm open;
        QString caption, material;
        testing::whenDialogOpens([&](QDialog* dialog) {
            caption = dialog->windowTitle();
            auto* form = static_cast<InputVariabilityForm*>(dialog);
            material = form->findChild<QLabel*>(
                               QStringLiteral("control%1")
                                   .arg(int(CInputVariabilityDlg::Control::MaterialLabel)))
                           ->text();
            form->modulusCovEdit()->setText(QStringLiteral("45"));
            form->accept();
        });
        auto* button = open.form->findChild<QPushButton*>(
            QStringLiteral("control%1").arg(int(CStructureDlg::variabilityButton(1))));
        button->click();
        QCOMPARE(caption, QStringLiteral("Input Variability"));
        QCOMPARE(material, QStringLiteral("Layer: AC"));
        QCOMPARE(open.dialog.modulusCov[0], 45.0);
    }
};

QTEST_MAIN(StructureFormTest)
#include "StructureFormTest.moc"
