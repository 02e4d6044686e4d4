#include "cli/ProjectAnalysis.h"

#include <cmath>

#include "cli/CliSupport.h"
#include "reliability/ResultFormat.h"
#include "reliability/RunPreparation.h"
#include "reliability/SolverResponseModel.h"

namespace ardelon::cli {
namespace {

nlohmann::json numberOrNull(double value) {
    return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

nlohmann::json intervalJson(int successes, int trials) {
    const PercentInterval i = wilsonInterval95(successes, trials);
    return {i.low, i.high};
}

constexpr const char* kLocationWords[] = {"Top", "Middle", "Bottom"};

nlohmann::json pairJson(double low, double high) {
    return {numberOrNull(low), numberOrNull(high)};
}

}  // namespace

nlohmann::json analysisJson(std::uint32_t seed, int cycles, const CStenorDoc& work,
                            const AnalysisRunOutcome& outcome) {
    nlohmann::json conventional = nlohmann::json::array();
    for (const TransferFunctionRow& r : outcome.lists.transferFunction) {
        const CriterionSlot& c = work.criteria[static_cast<std::size_t>(r.slot)];
        conventional.push_back({
            {"layer", slotLayer(r.slot)},
            {"location", kLocationWords[slotPosition(r.slot)]},
            {"criteria", r.cells[2]},
            {"units", r.cells[4]},
            {"responseType", c.responseType},
            {"threshold", r.threshold},
            {"exceedances", r.exceedCount},
            {"percentBelowCritical", r.percentBelowCritical},
            {"percentBelowCriticalInterval95", intervalJson(cycles - r.exceedCount, cycles)},
            {"damagePerMillion", r.damageShown ? numberOrNull(r.damagePerMillion) : nullptr},
            {"yearsToDamage0_1", numberOrNull(r.yearsToDamage01)},
            {"yearsToDamage1_0", numberOrNull(r.yearsToDamage10)},
            {"yearsToDamage1_0Interval", pairJson(r.settledYears.low, r.settledYears.high)},
            {"verdict", r.lifeChecked ? nlohmann::json(verdictWord(r.settledYears.verdict))
                                      : nlohmann::json(nullptr)},
            {"texts", r.cells},
        });
    }
    nlohmann::json percentile = nlohmann::json::array();
    for (const PercentileRow& r : outcome.lists.percentile) {
        const CriterionSlot& c = work.criteria[static_cast<std::size_t>(r.slot)];
        nlohmann::json row = {
            {"layer", slotLayer(r.slot)},
            {"location", kLocationWords[slotPosition(r.slot)]},
            {"responseType", c.responseType},
            {"targetValue", r.targetValue},
            {"targetPercentile", r.targetPercentile},
            {"exceedances", r.exceedCount},
            {"actualPercentile", r.actualPercentile},
            {"actualPercentileInterval95", intervalJson(cycles - r.exceedCount, cycles)},
            {"pass", r.pass},
            {"verdict", verdictWord(r.settled.verdict)},
            {"actualPercentileInterval", pairJson(r.settled.low, r.settled.high)},
            {"texts", r.cells},
        };
        if (r.level >= 0)
            row["distributionLevel"] = r.level;
        percentile.push_back(std::move(row));
    }
    nlohmann::json json = {{"seed", seed},
                           {"cycles", cycles},
                           {"cyclesRun", outcome.results.cycles},
                           {"settled", outcome.lists.settled()},
                           {"confidence", outcome.lists.rules.confidence},
                           {"conventionalDesign", std::move(conventional)},
                           {"percentileResponses", std::move(percentile)}};
    if (outcome.lists.rules.designLifeYears)
        json["designLifeYears"] = *outcome.lists.rules.designLifeYears;
    return json;
}

ProjectAnalysis analyzeProject(const CStenorDoc& project, const AnalysisRunOptions& options,
                               const std::string& source) {
    ProjectRun prepared = runProjectAnalysis(project, layeredElasticResponses(), options);
    ProjectAnalysis run{std::move(prepared.work), std::move(prepared.outcome)};
    if (run.outcome.status == AnalysisStatus::Cancelled) {
        throw CommandError(kFailure, "analysis interrupted; no results and no raw data file.");
    }
    if (run.outcome.status == AnalysisStatus::Failed)
        throw CommandError(kFailure, source + ": " + run.outcome.refusal.text);
    if (run.outcome.status == AnalysisStatus::Refused) {
        const bool fileProblem = run.outcome.refusal.caption == kRawDataCaption;
        throw CommandError(fileProblem ? kFailure : kBadInput,
                           source + ": " + run.outcome.refusal.text);
    }
    return run;
}

nlohmann::json sensitivityJson(const CStenorDoc& work,
                               const std::vector<CriterionSensitivity>& measures) {
    nlohmann::json list = nlohmann::json::array();
    for (const CriterionSensitivity& criterion : measures) {
        nlohmann::json inputs = nlohmann::json::array();
        for (const InputSensitivity& input : criterion.inputs) {
            inputs.push_back(
                {{"input", input.input},
                 {"rankCorrelation", input.rankCorrelation ? nlohmann::json(*input.rankCorrelation)
                                                           : nlohmann::json(nullptr)},
                 {"share", input.share}});
        }
        list.push_back(
            {{"layer", slotLayer(criterion.slot)},
             {"location", kLocationWords[slotPosition(criterion.slot)]},
             {"responseType", work.criteria[static_cast<std::size_t>(criterion.slot)].responseType},
             {"inputs", std::move(inputs)}});
    }
    return list;
}

void refusePdfWithoutQt(const std::string& pdfPath) {
#ifndef ARDELON_HAVE_PDF
    if (!pdfPath.empty()) {
        throw CommandError(kBadInput,
                           "--pdf is not available: this ardelon-cli was built without the "
                           "desktop's Qt libraries, which draw the PDF report.");
    }
#else
    (void)pdfPath;
#endif
}

void checkDesignLife(const std::optional<double>& lifeYears) {
    if (lifeYears && !(std::isfinite(*lifeYears) && *lifeYears > 0))
        throw CommandError(kBadInput,
                           "--life: the design life must be a positive number of years.");
}

}  // namespace ardelon::cli
