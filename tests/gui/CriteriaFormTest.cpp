// The Layer Performance Criteria form bound to LayerCriteriaDialog, through the real widgets.

#include <QtTest>

#include "GuiTestSupport.h"
#include "criteria/ResponseType.h"
#include "gui/CriteriaForms.h"
#include "gui/StructureForm.h"

using namespace ardelon;
using namespace ardelon::gui;
using ardelon::testing::activate;

class CriteriaFormTest : public QObject {
    Q_OBJECT

    static QWidget* control(QWidget& form, LayerCriteriaDialog::Control c) {
        return form.findChild<QWidget*>(QStringLiteral("control%1").arg(int(c)));
    }

  private Q_SLOTS:
    void positionShowsItsControlsAsItIsUsed() {
        testing::MessageRecorder recorder;
        LayerCriteriaDialog dialog(1, false, CriterionSlots{}, 0);
        LayerCriteriaForm form(dialog);
        activate(form);
        using C = LayerCriteriaDialog::Control;
        QVERIFY(!control(form, C::TypeTop)->isVisible());

        form.activeCheck(Top)->click();
        QCOMPARE(dialog.slot(Top).active, 1);
        QVERIFY(control(form, C::TypeTop)->isVisible());
        QVERIFY(control(form, C::TargetPercentileTop)->isVisible());

        form.typeList(Top)->setCurrentIndex(HorizontalStrain);
        Q_EMIT form.typeList(Top)->activated(HorizontalStrain);
        QCOMPARE(dialog.slot(Top).responseType, int(HorizontalStrain));
        QVERIFY(control(form, C::TransferTop)->isVisible());
        QCOMPARE(static_cast<QLabel*>(control(form, C::UnitTop))->text(),
                 QStringLiteral("microstrain"));

        static_cast<QCheckBox*>(control(form, C::TransferTop))->click();
        QVERIFY(control(form, C::K1Top)->isVisible());
        QVERIFY(!control(form, C::TargetPercentileTop)->isVisible());
    }

    void thresholdThatIsNotANumberIsRefused() {
        testing::MessageRecorder recorder;
        LayerCriteriaDialog dialog(1, false, CriterionSlots{}, 0);
        LayerCriteriaForm form(dialog);
        activate(form);
        form.activeCheck(Top)->click();
        testing::typeAndLeave(form.thresholdEdit(Top), QStringLiteral("-100 ue"),
                              form.typeList(Top));
        QCOMPARE(testing::onlyMessage(recorder), QStringLiteral("Ardelon: Please enter a number."));
        QCOMPARE(QApplication::focusWidget(), form.thresholdEdit(Top));
    }

    void acceptRefusesADistributionThatRisesAndFalls() {
        testing::MessageRecorder recorder;
        LayerCriteriaDialog dialog(2, false, CriterionSlots{}, 0);
        LayerCriteriaForm form(dialog);
        activate(form);
        const double values[] = {-200, -150, -160, -120, -110};
        for (int level = 0; level < kDistributionLevels; ++level) {
            form.distributionEdit(level)->setText(QString::number(values[level]));
        }
        form.acceptButton()->click();
        QVERIFY(form.isVisible());
        QCOMPARE(testing::onlyMessage(recorder),
                 QStringLiteral("Invalid Cumulative Strain Distribution - Please Adjust: The "
                                "cumulative strain distribution must be uniformly decreasing or "
                                "increasing."));
    }

    void structureModuleOpensTheLayersCriteriaAndKeepsThemOnAccept() {
        testing::MessageRecorder recorder;
        CStructureDlg structure;
        structure.loadFrom(CStenorDoc());
        StructureForm form(structure);
        QString caption;
        testing::whenDialogOpens([&](QDialog* dialog) {
            caption = dialog->windowTitle();
            auto* criteria = static_cast<LayerCriteriaForm*>(dialog);
            criteria->activeCheck(Top)->click();
            criteria->thresholdEdit(Top)->setText(QStringLiteral("-70"));
            criteria->acceptButton()->click();
        });
        auto* button = form.findChild<QPushButton*>(
            QStringLiteral("control%1").arg(int(CStructureDlg::criteriaButton(1))));
        button->click();
        QCOMPARE(caption, QStringLiteral("Layer Performance Criteria (Press F1 for Help)"));
        QCOMPARE(structure.criteria[slotIndex(1, Top)].active, 1);
        QCOMPARE(structure.criteria[slotIndex(1, Top)].threshold, -70.0);
    }
};

QTEST_MAIN(CriteriaFormTest)
#include "CriteriaFormTest.moc"
