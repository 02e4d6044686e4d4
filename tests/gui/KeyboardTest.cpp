// Enter and Escape in every form: Enter in a field presses the form's own default button (OK,
// Accept Changes, Leave Module) and nothing else; Escape closes the form keeping nothing.

#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "GuiTestSupport.h"
#include "criteria/ResponseType.h"
#include "gui/CriteriaForms.h"
#include "gui/OutputDesignForm.h"
#include "gui/StructureForm.h"
#include "gui/TrafficForms.h"
#include "gui/TransferFunctionsForm.h"
#include "reliability/OutputModuleCopy.h"
#include "reliability/SolverResponseModel.h"

using namespace ardelon;
using namespace ardelon::gui;

namespace {

constexpr std::array<double, kDistributionLevels> kSavedDistribution{-121.1, -91.7, -75.3, -62.8,
                                                                     -52.4};

// One form over its dialog; `unchanged` tells whether the dialog still holds what it was given.
struct FormCase {
    const char* name;
    std::function<std::unique_ptr<FormBase>(std::shared_ptr<void>& keep)> make;
};

template <typename Dialog, typename Form, typename... Args>
std::unique_ptr<FormBase> formOver(std::shared_ptr<void>& keep, Args&&... args) {
    auto dialog = std::make_shared<Dialog>(std::forward<Args>(args)...);
    keep = dialog;
    return std::make_unique<Form>(*dialog);
}

CStenorDoc loadSpectraProject() {
    CStenorDoc project;
    project.loadSpectra[Single][8] = 40;
    project.loadSpectra[Single][9] = 35;
    project.loadSpectra[Single][10] = 25;
    return project;
}

std::vector<FormCase> everyForm() {
    return {
        {"structure",
         [](auto& keep) {
             auto dialog = std::make_shared<CStructureDlg>();
             dialog->loadFrom(CStenorDoc{});
             keep = dialog;
             return std::make_unique<StructureForm>(*dialog);
         }},
        {"input variability",
         [](auto& keep) { return formOver<CInputVariabilityDlg, InputVariabilityForm>(keep); }},
        {"layer criteria",
         [](auto& keep) {
             CriterionSlots slots{};
             slots[slotIndex(1, Bottom)] = {1, HorizontalStrainDistribution, 0, 0, 0, 0,
                                            0, kSavedDistribution,           50};
             return formOver<LayerCriteriaDialog, LayerCriteriaForm>(keep, 1, false, slots, 0.0);
         }},
        {"endurance limit",
         [](auto& keep) {
             return formOver<EnduranceLimitDialog, EnduranceLimitForm>(keep, -100.0);
         }},
        {"transfer functions",
         [](auto& keep) {
             return formOver<TransferFunctionsDialog, TransferFunctionsForm>(keep, 2.83e-06, 3.2,
                                                                             5.5e15, 3.929);
         }},
        {"load spectra",
         [](auto& keep) {
             return formOver<CLoadingConditionsDlg, LoadSpectraForm>(keep, loadSpectraProject());
         }},
        {"vehicle types",
         [](auto& keep) {
             return formOver<CVehicleTypeDlg, VehicleTypeForm>(keep, 0,
                                                               CStenorDoc{}.vehicleTypeValue);
         }},
        {"esal data",
         [](auto& keep) { return formOver<CEsalDataDlg, EsalDataForm>(keep, CStenorDoc{}); }},
        {"output and design",
         [](auto& keep) {
             CStenorDoc project;
             prepareViewOutput(project);
             return formOver<COutputDesignDlg, OutputDesignForm>(keep, project,
                                                                 layeredElasticResponses());
         }},
        {"monte carlo cycles",
         [](auto& keep) { return formOver<CMonteCarloCyclesDlg, MonteCarloCyclesForm>(keep); }},
        {"please note", [](auto& keep) { return formOver<CPleaseNoteDlg, PleaseNoteForm>(keep); }},
        {"cost analysis",
         [](auto& keep) { return formOver<CCostAnalysisDlg, CostAnalysisForm>(keep); }},
    };
}

// Presses `key` in the form's first field and returns the form's result; `nested` tells whether
// another dialog opened meanwhile (it is closed so that the test goes on).
int press(FormBase& form, Qt::Key key, bool& nested) {
    form.show();
    QWidget* field = &form;
    for (QWidget* child : form.findChildren<QLineEdit*>()) {
        if (child->isVisible() && child->isEnabled() &&
            !static_cast<QLineEdit*>(child)->isReadOnly()) {
            field = child;
            break;
        }
    }
    field->setFocus();
    nested = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            open && open != &form) {
            nested = true;
            open->reject();
        }
    });
    closer.start(20);
    QTest::keyClick(field, key);
    return form.result();
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void enterAcceptsAndEscapeCancelsEveryForm() {
        for (const FormCase& c : everyForm()) {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
                testing::MessageRecorder recorder;
                std::shared_ptr<void> keep;
                std::unique_ptr<FormBase> form = c.make(keep);
                QPushButton* button = form->defaultButton();
                QVERIFY2(button != nullptr, c.name);
                bool nested = false;
                const int result = press(*form, key, nested);
                const int expected = key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected;
                QVERIFY2(result == expected && !nested, c.name);
                QVERIFY2(recorder.messages.isEmpty(),
                         qPrintable(QString::fromLatin1(c.name) + QStringLiteral(": ") +
                                    recorder.messages.value(0).text));
                if (QString::fromLatin1(c.name) == QStringLiteral("layer criteria")) {
                    auto* criteria = static_cast<LayerCriteriaDialog*>(keep.get());
                    QCOMPARE(criteria->slots[slotIndex(1, Bottom)].distribution,
                             kSavedDistribution);
                }
            }
        }
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
