#include "design/CThicknessSearchDlg.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "output/CMonteCarloCyclesDlg.h"
#include "project/ShownUnits.h"
#include "reliability/AnalysisRun.h"
#include "reliability/ResultFormat.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

int control(CThicknessSearchDlg::Control first, int layerIndex) {
    return static_cast<int>(first) + layerIndex;
}

std::string number(double value) {
    std::ostringstream out;
    out.precision(10);
    out << value;
    return out.str();
}

}  // namespace

CThicknessSearchDlg::CThicknessSearchDlg(const CStenorDoc& moduleWork, ResponseModelFactory models)
    : work_(moduleWork), models_(std::move(models)) {}

void CThicknessSearchDlg::onInitDialog(DialogHost& host) {
    const bool english = heldInEnglish(work_);
    unit = layerThicknessUnit(!english);
    const double stepDefault = defaultThicknessStep(work_);
    const double low = english ? kMinLayerThicknessInches : kMinLayerThicknessCm;
    const double reach = english ? 4.0 : 10.0;  // the default range around today's thickness
    variableLayers = std::min(work_.layerCountIndex + 1, kThicknessCount);
    for (int i = 0; i < kThicknessCount; ++i) {
        const bool can = i < variableLayers;
        const double t = work_.thickness[at(i)];
        step[at(i)] = stepDefault;
        minThickness[at(i)] =
            can ? std::max(low, std::floor((t - reach) / stepDefault) * stepDefault) : 0.0;
        maxThickness[at(i)] = can ? std::ceil((t + reach) / stepDefault) * stepDefault : 0.0;
        vary[at(i)] = can && i == 0;
        for (Control c : {Control::Vary1, Control::Min1, Control::Max1, Control::Step1})
            host.setEnabled(control(c, i), can);
    }
    host.setEnabled(static_cast<int>(Control::UseDesign), false);
    host.setEnabled(static_cast<int>(Control::CancelSearch), false);
    host.refresh();
}

std::optional<ThicknessSearchOptions> CThicknessSearchDlg::prepareSearch(DialogHost& host) {
    ThicknessSearchOptions o;
    for (int i = 0; i < variableLayers; ++i) {
        if (vary[at(i)])
            o.vary.push_back({i + 1, minThickness[at(i)], maxThickness[at(i)], step[at(i)]});
    }
    std::string why = checkDesignGrid(work_, o.vary);
    if (why.empty() && designLifeYears < 0)
        why = "The design life must be a positive number of years (0: none).";
    if (why.empty() && cycles < kMinCycles)
        why = "Please enter a number of Monte Carlo cycles of at least 1.";
    if (!why.empty()) {
        host.showMessage(why, kCaption, MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (designLifeYears > 0)
        o.designLifeYears = designLifeYears;
    o.cycles = cycles;
    o.seed = seed;
    o.cancel = &cancelRequested;
    cancelRequested = false;
    chosenVary = o.vary;
    return o;
}

void CThicknessSearchDlg::runSearch(const ThicknessSearchOptions& options,
                                    ThicknessSearchResult& searched,
                                    std::optional<SearchVerification>& verified) const {
    searched = searchThicknesses(work_, options, models_);
    if (verify && searched.status == ThicknessSearchStatus::Found)
        verified = verifyWinner(work_, options, searched, models_);
}

void CThicknessSearchDlg::finishSearch(DialogHost& host, ThicknessSearchResult searched,
                                       std::optional<SearchVerification> verified) {
    if (searched.status == ThicknessSearchStatus::Cancelled ||
        (verified && !verified->completed && cancelRequested)) {
        summary = "Search cancelled; nothing changed.";
        host.refresh();
        return;
    }
    if (searched.status == ThicknessSearchStatus::Refused ||
        searched.status == ThicknessSearchStatus::Failed) {
        host.showMessage(searched.message, kCaption, MessageIcon::Exclamation);
        return;
    }
    std::vector<int> layers;
    for (int i = 0; i < variableLayers; ++i) {
        if (vary[at(i)])
            layers.push_back(i);
    }
    auto thicknessText = [&](const DesignCandidate& c) {
        std::string text;
        for (int i : layers)
            text += (text.empty() ? "" : ", ") + std::string("layer ") + std::to_string(i + 1) +
                    " = " + number(c.thickness[at(i)]) + " " + unit;
        return text;
    };
    columns.clear();
    for (int i : layers)
        columns.push_back("Layer " + std::to_string(i + 1) + " (" + unit + ")");
    for (const char* c : {"Cost", "Pass/Fail?", "Cycles Run", "Fails"})
        columns.emplace_back(c);
    std::vector<const EvaluatedCandidate*> sorted;
    for (const EvaluatedCandidate& e : searched.evaluated)
        sorted.push_back(&e);
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) {
        if (a->pass != b->pass)
            return a->pass;
        return preferredCandidate(a->candidate, b->candidate);
    });
    rows.clear();
    for (const EvaluatedCandidate* e : sorted) {
        std::vector<std::string> row;
        for (int i : layers)
            row.push_back(number(e->candidate.thickness[at(i)]));
        std::string fails;
        for (const std::string& f : e->failedCriteria)
            fails += (fails.empty() ? "" : "; ") + f;
        row.push_back(number(e->candidate.cost));
        row.push_back(e->pass ? "Pass" : "Fail");
        row.push_back(std::to_string(e->cyclesRun));
        row.push_back(fails);
        rows.push_back(std::move(row));
    }
    const EvaluatedCandidate& best = *searched.best;
    std::string text;
    if (searched.status == ThicknessSearchStatus::Found) {
        text = "Cheapest passing design: " + thicknessText(best.candidate) + " (cost " +
               number(best.candidate.cost) + ").";
    } else {
        text = "No candidate passes every criterion. The best failing candidate, " +
               thicknessText(best.candidate) + ", fails: ";
        for (std::size_t i = 0; i < best.failedCriteria.size(); ++i)
            text += (i ? "; " : "") + best.failedCriteria[i];
        text += ".";
    }
    text += "\r\n" + std::to_string(searched.evaluated.size()) + " of " +
            std::to_string(searched.candidateCount) + " candidates analysed, " +
            std::to_string(searched.cyclesRun) + " cycles run.";
    if (verified && verified->completed) {
        text += "\r\nVerification (seed " + std::to_string(verified->seed) + ", " +
                std::to_string(verified->cycles) + " cycles): ";
        if (verified->robust) {
            text += "robust, every row is settled Pass at " + confidenceText(verified->confidence) +
                    " confidence.";
        } else {
            text += "not robust; not settled Pass: ";
            for (std::size_t i = 0; i < verified->marginal.size(); ++i)
                text += (i ? "; " : "") + verified->marginal[i];
            text +=
                ". Next thicker candidate: " +
                (verified->nextThicker ? thicknessText(*verified->nextThicker)
                                       : std::string("none in the grid")) +
                ". Next candidate that settles every row Pass: " +
                (verified->nextSettled ? thicknessText(*verified->nextSettled)
                                       : "none among the next " +
                                             std::to_string(verified->candidatesTried) + " tried") +
                ".";
        }
    }
    summary = text;
    const bool found = searched.status == ThicknessSearchStatus::Found;
    result = std::move(searched);
    host.setEnabled(static_cast<int>(Control::UseDesign), found);
    host.refresh();
}

void CThicknessSearchDlg::search(DialogHost& host) {
    const std::optional<ThicknessSearchOptions> options = prepareSearch(host);
    if (!options)
        return;
    ThicknessSearchResult searched;
    std::optional<SearchVerification> verified;
    runSearch(*options, searched, verified);
    finishSearch(host, std::move(searched), std::move(verified));
}

bool CThicknessSearchDlg::onUseDesign(DialogHost& host) {
    (void)host;
    if (!result || result->status != ThicknessSearchStatus::Found)
        return false;
    chosenThickness = result->best->candidate.thickness;
    chosenProject = candidateProject(work_, result->best->candidate.thickness, chosenVary);
    return true;
}

FieldHint CThicknessSearchDlg::hint(Control control) const {
    const bool metric = !heldInEnglish(work_);
    const int first[] = {static_cast<int>(Control::Min1), static_cast<int>(Control::Max1),
                         static_cast<int>(Control::Step1)};
    const char* quantity[] = {" least thickness", " greatest thickness", " thickness step"};
    for (std::size_t row = 0; row < 3; ++row) {
        const int layer = static_cast<int>(control) - first[row] + 1;
        if (layer < 1 || layer > kThicknessCount)
            continue;
        // The search refuses a range outside the layer thicknesses and a step of 0 or less.
        const HintRange range = row < 2 ? layerThicknessRange(metric) : HintRange{0.0, {}, true};
        return fieldHint("Layer " + std::to_string(layer) + quantity[row],
                         layerThicknessUnit(metric), range);
    }
    switch (control) {
        case Control::DesignLife:
            return fieldHint("Design life", "years", kNotNegative, "0: none");
        case Control::Cycles:
            return CMonteCarloCyclesDlg::hint(CMonteCarloCyclesDlg::Control::Cycles);
        case Control::Seed:
            return fieldHint("Seed", "", {0.0, kMaxSeed}, "the same seed repeats a search");
        default:
            return {};
    }
}

}  // namespace ardelon
