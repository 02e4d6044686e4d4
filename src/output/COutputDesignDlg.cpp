#include "output/COutputDesignDlg.h"

#include <algorithm>
#include <thread>

#include <ctime>
#include <filesystem>

#include "criteria/ResponseType.h"
#include "output/CCostAnalysisDlg.h"
#include "output/CDisclaimerDlg.h"
#include "output/CMonteCarloCyclesDlg.h"
#include "output/CPleaseNoteDlg.h"
#include "output/RunNotes.h"
#include "project/FileExtension.h"
#include "project/NumberField.h"
#include "project/ProjectJson.h"
#include "project/Rounding.h"
#include "project/ShownUnits.h"
#include "reliability/ResultFormat.h"
#include "reliability/RunPreparation.h"

namespace ardelon {
namespace {

int control(COutputDesignDlg::Control c) {
    return static_cast<int>(c);
}

void fillColumns(ReportListView& list, const auto& headings, const auto& widths) {
    list.clear();
    for (std::size_t i = 0; i < headings.size(); ++i)
        list.insertColumn(headings[i], widths[i]);
}

// The desktop shows a metric project's stress and deflection limits in kPa and mm (the rows
// keep the project's psi and milli-inches, as the workbook prints them).
std::vector<std::string> shownCells(const auto& row, double held, const CStenorDoc& work,
                                    std::size_t valueCell, std::size_t unitCell) {
    std::vector<std::string> cells(row.cells.begin(), row.cells.end());
    const ShownUnit unit =
        shownUnit(work.criteria[static_cast<std::size_t>(row.slot)].responseType, work.unitSystem);
    if (!unit.label.empty() && !cells[unitCell].empty()) {
        cells[valueCell] = formatSignificant(held * unit.factor);
        cells[unitCell] = std::string(unit.label);
    }
    return cells;
}

}  // namespace

std::string outputMaterialName(int layer, int materialIndex) {
    if (materialIndex < 0 || materialIndex >= materialListSize(layer))
        return "";
    const MaterialType material = materialOf(layer, materialIndex);
    if (material == MaterialType::GranBase && layer >= 4)
        return "GB";
    return std::string(materialName(material));
}

COutputDesignDlg::COutputDesignDlg(const CStenorDoc& project, ResponseModelFactory models)
    : work(project), models_(std::move(models)) {}

void COutputDesignDlg::onInitDialog(DialogHost& host) {
    exportEnabled = false;
    host.setEnabled(control(Control::ExportExcel), false);
    cycles = kDefaultCycles;
    thicknessUnit = heldInEnglish(work) ? "in." : "cm";
    roundModuleThicknesses(work);
    layerCountText = std::to_string(work.layerCountIndex + 2);
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        host.setEnabled(control(Control::Thickness1) + layer - 1,
                        layer <= work.layerCountIndex + 1);
    }
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        materialNames[static_cast<std::size_t>(layer - 1)] =
            outputMaterialName(layer, work.materialIndex[static_cast<std::size_t>(layer - 1)]);
    }
    openedInputs_ = inputsText(work);
    host.refresh();
}

std::string COutputDesignDlg::inputsText(const CStenorDoc& project) {
    // The kept trials are saved with the project whatever is loaded: not an input.
    CStenorDoc inputs = project;
    inputs.trials.clear();
    return projectToJson(inputs);
}

bool COutputDesignDlg::hasUnsavedChanges() const {
    return projectModified || inputsText(work) != openedInputs_;
}

void COutputDesignDlg::replaceDesign(DialogHost& host, const CStenorDoc& inputs, std::string note) {
    work = inputs;
    inputsReplaced = true;
    thicknessUnit = work.valuesInEnglish == 1 ? "in." : "cm";
    layerCountText = std::to_string(work.layerCountIndex + 2);
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        materialNames[static_cast<std::size_t>(layer - 1)] =
            outputMaterialName(layer, work.materialIndex[static_cast<std::size_t>(layer - 1)]);
    }
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        host.setEnabled(control(Control::Thickness1) + layer - 1,
                        layer <= work.layerCountIndex + 1);
    }
    // The results shown were of another design: none until this one is analysed.
    results = {};
    resultRows = {};
    transferFunctionList.clear();
    percentileList.clear();
    analysedThickness.reset();
    lastSeed.reset();
    runNote = std::move(note);
    designChanged(host);
}

void COutputDesignDlg::onThicknessKillFocus(DialogHost& host, int layer) {
    if (layer < 1 || layer > kThicknessCount)
        return;
    double& t = work.thickness[static_cast<std::size_t>(layer - 1)];
    const bool english = heldInEnglish(work);
    const double low = english ? kMinHeightInches : kMinHeightCm;
    const double high = english ? kMaxHeightInches : kMaxHeightCm;
    if (t < low || t > high) {
        host.showMessage(english ? kHeightEnglish : kHeightMetric, kHeightCaption,
                         MessageIcon::Exclamation);
        host.setFocus(control(Control::Thickness1) + layer - 1);
    }
    t = roundHalfUpTwoDecimals(t);
    designChanged(host);
}

void COutputDesignDlg::designChanged(DialogHost& host) {
    exportEnabled = analysedThickness.has_value() && !resultsStale();
    host.setEnabled(control(Control::ExportExcel), exportEnabled);
    host.refresh();
}

void COutputDesignDlg::useDesign(DialogHost& host,
                                 const std::array<double, kThicknessCount>& thickness,
                                 const CStenorDoc* followedModuli) {
    work.thickness = thickness;
    if (followedModuli) {
        // The asphalt moduli that follow the design's thicknesses (Temperature Correction on).
        work.seasonalModulus = followedModuli->seasonalModulus;
        work.layerModulus = followedModuli->layerModulus;
    }
    designChanged(host);
}

std::string COutputDesignDlg::staleResultsText() const {
    if (!resultsStale())
        return "";
    std::string layers;
    for (int layer = 1; layer <= work.layerCountIndex + 1 && layer <= kThicknessCount; ++layer) {
        if (!layers.empty())
            layers += " / ";
        layers += formatFieldNumber((*analysedThickness)[static_cast<std::size_t>(layer - 1)]);
    }
    return std::string(kStaleResultsText[0]) + layers + std::string(kStaleResultsText[1]) +
           thicknessUnit + std::string(kStaleResultsText[2]);
}

void COutputDesignDlg::onThicknessSetFocus(DialogHost& host, int /*layer*/) {
    // The results shown no longer belong to the thicknesses being edited.
    exportEnabled = false;
    host.setEnabled(control(Control::ExportExcel), false);
    host.refresh();
}

void COutputDesignDlg::onSetMonteCarloCycles(DialogHost& host) {
    CMonteCarloCyclesDlg dialog;
    dialog.cycles = cycles;
    dialog.seedText = fixedSeed ? std::to_string(*fixedSeed) : "";
    dialog.seed = fixedSeed;
    dialog.untilSettled = untilSettled;
    dialog.maxCycles = maxCycles;
    if (host.runModal(dialog)) {
        untilSettled = dialog.untilSettled;
        maxCycles = dialog.maxCycles;
        if (dialog.cycles < kMinCycles) {
            host.showMessage(kCyclesTooFewText, kCyclesCaption, MessageIcon::Exclamation);
        } else {
            cycles = dialog.cycles;
        }
        fixedSeed = dialog.seed;
    }
    host.refresh();
}

void COutputDesignDlg::performAnalysis(DialogHost& host) {
    std::optional<AnalysisRunOptions> options = prepareAnalysis(host);
    if (!options)
        return;
    options->progress = [&](int done, int total) { host.setProgress(done, total); };
    CStenorDoc runWork = work;
    AnalysisRunOutcome outcome = runAnalysis(runWork, models_, *options);
    finishAnalysis(host, std::move(outcome), *options, std::move(runWork));
}

std::string COutputDesignDlg::untypedCriteria(const CStenorDoc& project) {
    static constexpr std::array<std::string_view, 3> kPositions = {"Top", "Middle", "Bottom"};
    std::string names;
    const int layers = project.layerCountIndex + 2;
    for (int layer = 1; layer <= layers; ++layer) {
        for (int position = Top; position <= Bottom; ++position) {
            const CriterionSlot& slot =
                project.criteria[static_cast<std::size_t>(slotIndex(layer, position))];
            const bool typed = slot.responseType >= 0 && slot.responseType < kResponseTypeCount;
            if (slot.active != 1 || typed)
                continue;
            if (!names.empty())
                names += ", ";
            names += "layer " + std::to_string(layer) + " " +
                     std::string(kPositions[static_cast<std::size_t>(position)]);
        }
    }
    return names;
}

std::optional<AnalysisRunOptions> COutputDesignDlg::prepareAnalysis(DialogHost& host) {
    if (auto refusal = checkAnalysisInputs(work, cycles)) {
        host.showMessage(refusal->text, refusal->caption, MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (const std::string untyped = untypedCriteria(work); !untyped.empty()) {
        const std::string text =
            std::string(kUntypedCriteriaText[0]) + untyped + std::string(kUntypedCriteriaText[1]);
        if (host.showMessage(text, kUntypedCriteriaCaption, MessageIcon::Exclamation,
                             MessageButtons::OkCancel) != MessageAnswer::Ok)
            return std::nullopt;
    }
    if (work.output.doNotWarn != 1) {
        CPleaseNoteDlg confirm;
        confirm.doNotWarn = work.output.doNotWarn == 1;
        if (!host.runModal(confirm))
            return std::nullopt;
        work.output.doNotWarn = confirm.doNotWarn ? 1 : 0;
    }
    const std::string rawDataExtension = chooserExtension(kRawDataFilter);
    auto path = host.chooseFileToSave(kRawDataFilter, kRawDataInitialName, rawDataExtension);
    if (!path || path->empty())
        return std::nullopt;  // no file chosen: no run
    *path = withDefaultExtension(*path, rawDataExtension);

    AnalysisRunOptions options;
    options.cycles = untilSettled ? maxCycles : cycles;
    if (untilSettled)
        options.settledWhen = [](const ResultLists& lists) { return lists.settled(); };
    options.startTime = std::time(nullptr);
    options.seed = fixedSeed ? *fixedSeed : static_cast<std::uint32_t>(options.startTime);
    options.threads = threads;
    options.rawDataPath = *path;
    options.keepCycleRecords = true;  // the charts and the workbook draw every cycle
    options.cancel = &cancelRequested;
    cancelRequested = false;
    resultsOutdated = true;
    runNote.clear();
    host.setProgress(0, options.cycles);
    runStarted_ = std::chrono::steady_clock::now();
    return options;
}

void COutputDesignDlg::finishAnalysis(DialogHost& host, AnalysisRunOutcome outcome,
                                      const AnalysisRunOptions& options, CStenorDoc runWork) {
    resultsOutdated = false;
    if (outcome.status == AnalysisStatus::Refused || outcome.status == AnalysisStatus::Failed) {
        host.showMessage(outcome.refusal.text, outcome.refusal.caption, MessageIcon::Exclamation);
        host.setProgress(0, options.cycles);
        return;
    }
    if (outcome.status == AnalysisStatus::Cancelled) {
        runNote = lastSeed ? kRunCancelledKeptText : kRunCancelledNoResultsText;
        host.setProgress(0, options.cycles);
        host.refresh();
        return;
    }
    work = std::move(runWork);
    lastSeed = options.seed;
    lastRun.projectFileName = projectFileName;
    lastRun.startTime = options.startTime;
    lastRun.seed = options.seed;
    lastRun.threads = workerThreadCount(options.threads);
    lastRun.models = models_;
    lastRun.verdicts = options.verdicts;
    lastRun.elapsedSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - runStarted_).count();
    runNote = completedRunText(outcome.results.cycles, options.seed,
                               static_cast<long long>(std::time(nullptr) - options.startTime));
    results = outcome.results;
    resultRows = std::move(outcome.lists);
    fillColumns(transferFunctionList, kTransferFunctionColumns, kTransferFunctionColumnWidths);
    fillColumns(percentileList, kPercentileColumns, kPercentileColumnWidths);
    // The settled verdict follows the lists' own columns.
    const double confidence = resultRows.rules.confidence;
    transferFunctionList.insertColumn(
        verdictColumnHeading(kTransferFunctionVerdictColumn, confidence), kVerdictColumnWidth);
    percentileList.insertColumn(verdictColumnHeading(kPercentileVerdictColumn, confidence),
                                kVerdictColumnWidth);
    for (const TransferFunctionRow& row : resultRows.transferFunction) {
        std::vector<std::string> texts = shownCells(row, row.threshold, work, 3, 4);
        texts.push_back(verdictCell(row));
        addListRow(transferFunctionList, static_cast<int>(transferFunctionList.rows.size()), texts);
    }
    for (const PercentileRow& row : resultRows.percentile) {
        std::vector<std::string> texts = shownCells(row, row.targetValue, work, 4, 3);
        texts.push_back(verdictCell(row));
        addListRow(percentileList, static_cast<int>(percentileList.rows.size()), texts);
    }
    analysedThickness = work.thickness;
    designChanged(host);
}

void COutputDesignDlg::onCostAnalysis(DialogHost& host) {
    CCostAnalysisDlg dialog;
    const CStenorDoc& handedOver = work;
    CCostAnalysisDlg::forEachWorkingField(dialog, handedOver,
                                          [](auto& mine, const auto& project) { mine = project; });
    if (host.runModal(dialog)) {
        const CCostAnalysisDlg& accepted = dialog;
        CCostAnalysisDlg::forEachWorkingField(
            accepted, work, [](const auto& mine, auto& project) { project = mine; });
    }
    designChanged(host);
}

void COutputDesignDlg::onDisclaimer(DialogHost& host) {
    CDisclaimerDlg dialog;
    host.runModal(dialog);
}

std::optional<std::string> COutputDesignDlg::onExportExcel(DialogHost& host) {
    if (!exportEnabled)
        return std::nullopt;  // no results that match the thicknesses shown
    const std::string reportExtension = chooserExtension(kReportFileFilter);
    auto path = host.chooseFileToSave(kReportFileFilter, kReportInitialName, reportExtension);
    if (!path || path->empty())
        return std::nullopt;
    *path = withDefaultExtension(*path, reportExtension);
    if (!exportReport)
        return std::nullopt;
    if (FileResult result = exportReport(work, results, *path, lastRun); !result.ok()) {
        host.showMessage(result.error, kExportFailedCaption, MessageIcon::Exclamation);
        return std::nullopt;
    }
    // The full path, so that the engineer can find the workbook when nothing opens it.
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(*path, ec);
    return ec ? *path : full.lexically_normal().string();
}

std::optional<std::string> COutputDesignDlg::onExportPdf(DialogHost& host,
                                                         const ReportDetails& details) {
    if (!exportEnabled)
        return std::nullopt;  // no results that match the thicknesses shown
    work.reportDetails = details;
    const std::string extension = chooserExtension(kPdfReportFileFilter);
    auto path = host.chooseFileToSave(kPdfReportFileFilter, kPdfReportInitialName, extension);
    if (!path || path->empty() || !exportPdf)
        return std::nullopt;
    *path = withDefaultExtension(*path, extension);
    if (FileResult result = exportPdf(work, results, *path, lastRun); !result.ok()) {
        host.showMessage(result.error, kPdfExportCaption, MessageIcon::Exclamation);
        return std::nullopt;
    }
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(*path, ec);
    return ec ? *path : full.lexically_normal().string();
}

void COutputDesignDlg::onWorkbookNotOpened(DialogHost& host, const std::string& path) {
    host.showMessage(
        std::string(kWorkbookNotOpenedText[0]) + path + std::string(kWorkbookNotOpenedText[1]),
        kExportFailedCaption, MessageIcon::Information);
}

bool COutputDesignDlg::onLeaveModule(DialogHost& /*host*/) {
    return true;
}

}  // namespace ardelon
