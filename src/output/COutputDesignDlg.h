#pragma once
// The Output and Design module: adjust the upper layers' thicknesses, set the number of Monte
// Carlo cycles, run the reliability analysis, read its two result lists, price the layers and
// leave the module. It works on a copy of the project that the View Output command copies back
// only after "Leave Module".

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "output/ReportListView.h"
#include "project/CStenorDoc.h"
#include "project/DialogHost.h"
#include "project/LayerThickness.h"
#include "reliability/AnalysisResults.h"
#include "reliability/AnalysisRun.h"
#include "reliability/ResponseModel.h"
#include "reliability/RunInfo.h"

namespace ardelon {

class COutputDesignDlg : public ModalDialog {
  public:
    enum class Control : int {
        LayerCount,
        Material1,  // Material1 + layer − 1, layers 1 to 5
        Material2,
        Material3,
        Material4,
        Material5,
        ThicknessUnit,
        Thickness1,  // Thickness1 + layer − 1, layers 1 to 4
        Thickness2,
        Thickness3,
        Thickness4,
        SetMonteCarloCycles,
        PerformAnalysis,
        Progress,
        TransferFunctionList,
        PercentileList,
        Disclaimer,
        CostAnalysis,
        ExportExcel,
        LeaveModule,
    };

    static constexpr std::string_view kCaption = "Output & Design Module (F1 for Help)";
    static constexpr int kDefaultCycles = 5000;
    static constexpr std::string_view kHeightCaption = "Height Out of Range";
    static constexpr std::string_view kHeightEnglish =
        "Please enter a height between 1.0 in. and 999.0 in.";
    static constexpr std::string_view kHeightMetric =
        "Please enter a height between 2.54 cm and 2530 cm";
    static constexpr double kMinHeightInches = kMinLayerThicknessInches;
    static constexpr double kMaxHeightInches = kMaxLayerThicknessInches;
    static constexpr double kMinHeightCm = kMinLayerThicknessCm;
    static constexpr double kMaxHeightCm = kMaxLayerThicknessCm;
    static constexpr std::string_view kExportFailedCaption = "Export Formatted Data to EXCEL";
    static constexpr std::string_view kPdfExportCaption = "Export PDF Report";
    // Before a run: active criteria without a response type are left out; the engineer is told.
    static constexpr std::string_view kUntypedCriteriaCaption = "Criteria Without a Response Type";
    static constexpr std::array<std::string_view, 2> kUntypedCriteriaText = {
        "These active criteria have no response type and are left out of the analysis: ",
        ". Run the analysis without them?"};
    // "layer 2 Bottom, layer 3 Top" for the active criteria of `project` without a type; "" when
    // every active criterion has one.
    static std::string untypedCriteria(const CStenorDoc& project);
    // Around the workbook's full path when no program opens it.
    static constexpr std::array<std::string_view, 2> kWorkbookNotOpenedText = {
        "The workbook ", " was written, but no program is registered to open it."};

    // `project` is the project after prepareViewOutput; `models` computes the responses (the
    // layered elastic solver in the program).
    COutputDesignDlg(const CStenorDoc& project, ResponseModelFactory models);

    std::string_view caption() const override { return kCaption; }

    // Working copy and results.
    CStenorDoc work;
    int cycles = kDefaultCycles;
    bool untilSettled = false;  // run until every row is settled, at most maxCycles
    int maxCycles = kDefaultMaxSettleCycles;
    AnalysisResults results;
    ReportListView transferFunctionList;
    ReportListView percentileList;
    ResultLists resultRows;  // the numbers behind the rows of the last run

    // Display fields.
    std::string layerCountText;
    std::array<std::string, kLayerCount> materialNames;
    std::string thicknessUnit;
    bool exportEnabled = false;

    // Run settings: a fixed seed instead of the clock (set in the Monte Carlo Cycles form), the
    // number of worker threads (0: every core).
    std::optional<std::uint32_t> fixedSeed;
    int threads = 0;
    // The seed of the run the results belong to, kept with them for the engineer's record.
    std::optional<std::uint32_t> lastSeed;
    // The run behind the shown results, as the workbook records it.
    RunInfo lastRun;
    // The project's file name for the workbook's record (set by the host; empty when unsaved).
    std::string projectFileName;
    // Writes the workbook; the host (or the application) provides it. Without it the export
    // button writes nothing.
    ReportExporter exportReport;
    // Writes the PDF design report; without it "Export PDF Report..." writes nothing.
    PdfReportExporter exportPdf;
    // A run has started: the results shown are those of the run before, until it completes.
    bool resultsOutdated = false;
    // The thicknesses the shown results were computed for (none before the first run). When the
    // working copy's differ, the results are stale: shown greyed with `staleResultsText`, and
    // neither exported nor charted.
    std::optional<std::array<double, kThicknessCount>> analysedThickness;
    bool resultsStale() const { return analysedThickness && *analysedThickness != work.thickness; }
    std::string staleResultsText() const;
    static constexpr std::array<std::string_view, 3> kStaleResultsText = {
        "Results not of the design shown (they are of layer thicknesses ", " ",
        "): Perform Analysis for the design shown."};
    // How the last run ended: its cycles, seed and time, or that it was cancelled.
    std::string runNote;
    // Set (from any thread, or from the host's progress call) to stop a run; the run then changes
    // nothing.
    std::atomic<bool> cancelRequested{false};

    void onInitDialog(DialogHost& host);
    void onThicknessKillFocus(DialogHost& host, int layer);  // layer 1 to 4
    // The tooltip of a thickness edit.
    FieldHint hint(Control control) const;
    void onThicknessSetFocus(DialogHost& host, int layer);
    // "Use This Design" of Find Thicknesses: the chosen thicknesses become the design shown; the
    // results stay stale until it is analysed.
    void useDesign(DialogHost& host, const std::array<double, kThicknessCount>& thickness,
                   const CStenorDoc* followedModuli = nullptr);
    void onSetMonteCarloCycles(DialogHost& host);
    void performAnalysis(DialogHost& host);
    // The two halves of performAnalysis around the cycles, for a desktop that runs the cycles on
    // a worker thread: prepareAnalysis makes the checks, asks for confirmation and for the raw-data
    // file and returns the run's options (nothing when the run does not start);
    // finishAnalysis takes the outcome of runAnalysis over `runWork` (a copy of `work` made for
    // the run) and, for a completed run only, keeps that copy, the results and both lists.
    std::optional<AnalysisRunOptions> prepareAnalysis(DialogHost& host);
    void finishAnalysis(DialogHost& host, AnalysisRunOutcome outcome,
                        const AnalysisRunOptions& options, CStenorDoc runWork);
    const ResponseModelFactory& models() const { return models_; }
    void onCostAnalysis(DialogHost& host);
    void onDisclaimer(DialogHost& host);
    // "Export Formatted Data to EXCEL": asks for the workbook's name and writes the report of the
    // working copy and the last run. Returns the path written, for the desktop to open with the
    // application registered for .xlsx; nothing when the user cancelled or writing failed (then
    // a message names the path and the reason).
    std::optional<std::string> onExportExcel(DialogHost& host);
    // The workbook at `path` (as onExportExcel returned it) was written but the desktop has no
    // program to open it: the engineer is told where it is.
    void onWorkbookNotOpened(DialogHost& host, const std::string& path);
    // "Export PDF Report...": the report texts the engineer entered go into the working copy
    // (a JSON project keeps them), then the file name is asked for and the report of the last
    // run written. Returns the path written; nothing when there are no matching results, the
    // user cancelled, or writing failed (then a message names the path and the reason).
    std::optional<std::string> onExportPdf(DialogHost& host, const ReportDetails& details);
    // "Leave Module": the dialog ends with OK; the command copies `work` back.
    bool onLeaveModule(DialogHost& host);

    // Load Trial: `inputs` (a kept trial's, with the project's trials and report texts) become
    // the working copy and the design shown, without results until it is analysed; `note` says
    // which trial it is. Leaving the module then hands every input back to the project.
    void replaceDesign(DialogHost& host, const CStenorDoc& inputs, std::string note);
    // The project had unsaved changes when the module opened (set by the host).
    bool projectModified = false;
    // A trial's inputs were loaded: leaving the module hands every input back to the project.
    bool inputsReplaced = false;
    // Whether the working copy's inputs differ from those the module opened with, or the project
    // had unsaved changes: what Load Trial would replace without a saved copy.
    bool hasUnsavedChanges() const;

  private:
    // After any change of the design: the export (and the charts) only for results of it.
    void designChanged(DialogHost& host);
    // The saved fields of `project` but its trials, as JSON text.
    static std::string inputsText(const CStenorDoc& project);

    ResponseModelFactory models_;
    std::chrono::steady_clock::time_point runStarted_{};
    std::string openedInputs_;  // the working copy's saved fields as the module opened
};

// The material a layer position shows in the module ("GB" for granular base in layers 4 and 5),
// or "" for an index outside that layer's list.
std::string outputMaterialName(int layer, int materialIndex);

}  // namespace ardelon
