#include "support/ProjectCompare.h"

#include <type_traits>

#include "project/ProjectFields.h"

namespace ardelon::testing {

namespace {

// Adds 1 to a number, 1 to 7 to the values of an array and a mark to a text, so that each
// differs from its default.
template <typename T>
requires std::is_arithmetic_v<T>
void shift(T& value) {
    value += 1;
}

void shift(std::string& text) {
    text += "x";
}

void shift(CriterionSlot& slot);
void shift(OutputModuleState& state);
void shift(ReportDetails& details);
void shift(ResponseTable& table);

template <typename T, std::size_t N>
void shift(std::array<T, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        if constexpr (std::is_arithmetic_v<T>)
            values[i] += static_cast<T>(1 + i % 7);
        else
            shift(values[i]);
    }
}

template <typename Doc, typename... Fields>
void shiftAll(Doc& doc, Fields... fields) {
    (shift(doc.*fields), ...);
}

void shift(CriterionSlot& slot) {
    shiftAll(slot, &CriterionSlot::active, &CriterionSlot::responseType, &CriterionSlot::threshold,
             &CriterionSlot::k1, &CriterionSlot::k2, &CriterionSlot::useTransferFunction,
             &CriterionSlot::damagePerMillion, &CriterionSlot::distribution,
             &CriterionSlot::targetPercentile);
}

void shift(OutputModuleState& state) {
    shiftAll(state, &OutputModuleState::pointX, &OutputModuleState::pointY,
             &OutputModuleState::pointDepth, &OutputModuleState::pointLayer,
             &OutputModuleState::responses, &OutputModuleState::loadCount,
             &OutputModuleState::pointCount, &OutputModuleState::doNotWarn);
}

void shift(ReportDetails& details) {
    shiftAll(details, &ReportDetails::title, &ReportDetails::description, &ReportDetails::client,
             &ReportDetails::engineer);
}

void shift(ResponseTable& table) {
    shift(table.values);
}

}  // namespace

CStenorDoc everyFieldChanged() {
    CStenorDoc doc;
    forEachProjectField([&doc](const auto& field) { shift(doc.*field.member); });
    // Flags and choices take another valid value.
    doc.unitSystem = Metric;
    doc.valuesInEnglish = 0;
    doc.layerCountIndex = 3;
    doc.seasonEnabled = {0, 0, 0, 0, 1};
    doc.currentSeason = Winter;
    doc.temperatureCorrection = 0;
    doc.configurationEnabled = {0, 1, 1, 1};
    doc.configurationPercent = {10, 20, 30, 40};
    doc.currentConfiguration = Tridem;
    doc.useLoadSpectra = 0;
    doc.trials = R"([{"name":"kept"}])";  // carried as text, saved as JSON
    return doc;
}

std::string projectDifferences(const CStenorDoc& actual, const CStenorDoc& expected) {
    std::string text;
    for (const std::string& name : differingFields(actual, expected))
        text += (text.empty() ? "differs in " : ", ") + name;
    return text;
}

}  // namespace ardelon::testing
