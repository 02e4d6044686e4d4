#pragma once
// Every form of the application over a dialog holding a small design, for the tests that go through
// all of them (keys, field hints, window sizes).

#include <functional>
#include <memory>
#include <vector>

#include "criteria/ResponseType.h"
#include "gui/CriteriaForms.h"
#include "gui/OutputDesignForm.h"
#include "gui/StructureForm.h"
#include "gui/TrafficForms.h"
#include "gui/TransferFunctionsForm.h"
#include "output/OutputModuleCopy.h"
#include "project/ProjectFile.h"
#include "reliability/RunPreparation.h"
#include "reliability/SolverResponseModel.h"

namespace ardelon::testing {

using namespace ardelon::gui;

inline constexpr std::array<double, kDistributionLevels> kSavedDistribution{-121.1, -91.7, -75.3,
                                                                            -62.8, -52.4};

// One form over its dialog; `make` leaves the dialog in `keep`, to live as long as the form.
// `saved` (for the modules that hand a project back) is the project file the dialog would save.
struct FormCase {
    const char* name;
    std::function<std::unique_ptr<FormBase>(std::shared_ptr<void>& keep)> make;
    std::function<std::string(const std::shared_ptr<void>& keep)> saved = {};
};

inline std::string projectBytes(const CStenorDoc& doc) {
    const std::vector<std::uint8_t> bytes = encodeProject(doc);
    return std::string(bytes.begin(), bytes.end());
}

template <typename Dialog>
std::string copiedProject(const std::shared_ptr<void>& keep) {
    CStenorDoc doc;
    static_cast<const Dialog*>(keep.get())->copyToProject(doc);
    return projectBytes(doc);
}

template <typename Dialog, typename Form, typename... Args>
std::unique_ptr<FormBase> formOver(std::shared_ptr<void>& keep, Args&&... args) {
    auto dialog = std::make_shared<Dialog>(std::forward<Args>(args)...);
    keep = dialog;
    return std::make_unique<Form>(*dialog);
}

inline CStenorDoc loadSpectraProject() {
    CStenorDoc project;
    project.loadSpectra[Single][8] = 40;
    project.loadSpectra[Single][9] = 35;
    project.loadSpectra[Single][10] = 25;
    return project;
}

inline std::vector<FormCase> everyForm() {
    return {
        {"structure",
         [](auto& keep) {
             auto dialog = std::make_shared<CStructureDlg>();
             dialog->loadFrom(CStenorDoc{});
             keep = dialog;
             return std::make_unique<StructureForm>(*dialog);
         },
         [](const auto& keep) {
             CStenorDoc doc;
             static_cast<const CStructureDlg*>(keep.get())->storeTo(doc);
             return projectBytes(doc);
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
             return formOver<TransferFunctionsDialog, TransferFunctionsForm>(
                 keep, 2.83e-06, 3.20596, 5.5e15, 3.929);
         }},
        {"load spectra",
         [](auto& keep) {
             return formOver<CLoadingConditionsDlg, LoadSpectraForm>(keep, loadSpectraProject());
         },
         copiedProject<CLoadingConditionsDlg>},
        {"vehicle types",
         [](auto& keep) {
             return formOver<CVehicleTypeDlg, VehicleTypeForm>(keep, 0,
                                                               CStenorDoc{}.vehicleTypeValue);
         }},
        {"esal data",
         [](auto& keep) { return formOver<CEsalDataDlg, EsalDataForm>(keep, CStenorDoc{}); },
         copiedProject<CEsalDataDlg>},
        {"output and design",
         [](auto& keep) {
             CStenorDoc project;
             prepareViewOutput(project);
             return formOver<COutputDesignDlg, OutputDesignForm>(keep, project,
                                                                 layeredElasticResponses());
         },
         [](const auto& keep) {
             return projectBytes(static_cast<const COutputDesignDlg*>(keep.get())->work);
         }},
        {"monte carlo cycles",
         [](auto& keep) { return formOver<CMonteCarloCyclesDlg, MonteCarloCyclesForm>(keep); }},
        {"please note", [](auto& keep) { return formOver<CPleaseNoteDlg, PleaseNoteForm>(keep); }},
        {"cost analysis",
         [](auto& keep) { return formOver<CCostAnalysisDlg, CostAnalysisForm>(keep); }},
    };
}

}  // namespace ardelon::testing
