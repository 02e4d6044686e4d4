#include "trials/Trial.h"

#include <cstdio>

#include "output/LaneCost.h"
#include "project/Enumerations.h"
#include "project/ProjectJson.h"
#include "project/Rounding.h"

#ifndef ARDELON_VERSION
#define ARDELON_VERSION "0"
#endif

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Layers 1 to the one above the last: the layers that have a thickness.
int thicknessLayers(const CStenorDoc& project) {
    return std::min(project.layerCountIndex + 1, kThicknessCount);
}

std::string utcDate(std::time_t time) {
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

}  // namespace

std::string thicknessText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

const char* trialThicknessUnit(const CStenorDoc& project) {
    return project.valuesInEnglish != 0 ? "in." : "cm";
}

const char* trialCostUnit(const CStenorDoc& project) {
    return project.valuesInEnglish != 0 ? "$/lane-mile" : "$/lane-km";
}

double asphaltThickness(const CStenorDoc& project) {
    double total = 0.0;
    for (int i = 0; i < thicknessLayers(project); ++i) {
        const MaterialType m = materialOf(i + 1, project.materialIndex[at(i)]);
        if (m == MaterialType::AC || m == MaterialType::CrackedAC)
            total += project.thickness[at(i)];
    }
    return total;
}

std::string defaultTrialName(const CStenorDoc& project) {
    std::string name;
    for (int i = 0; i < thicknessLayers(project); ++i)
        name += (i > 0 ? "/" : "") + thicknessText(project.thickness[at(i)]);
    return name + " " + trialThicknessUnit(project);
}

Trial makeTrial(std::string name, const CStenorDoc& project, const ProjectRun& run,
                std::uint32_t seed, std::time_t startTime) {
    Trial trial;
    trial.name = std::move(name);
    // Only what a project file keeps: the snapshot reads back exactly as it was taken.
    CStenorDoc inputs;
    projectFromJsonObject(projectJsonObject(project), inputs);
    inputs.trials.clear();
    inputs.reportDetails = {};
    trial.inputs = std::move(inputs);
    trial.run = {seed, run.outcome.results.cycles, utcDate(startTime), ARDELON_VERSION};
    trial.lists = run.outcome.lists;
    const CStenorDoc& work = run.work;
    const LaneCost cost = laneCost(work);
    trial.priced = cost.priced;
    trial.costPerLane = cost.total;
    trial.asphaltThickness = asphaltThickness(work);
    return trial;
}

std::string checkTrialName(const std::vector<Trial>& trials, const std::string& name, int except) {
    if (name.find_first_not_of(" \t\r\n") == std::string::npos)
        return "Please enter a name for the trial.";
    for (std::size_t i = 0; i < trials.size(); ++i) {
        if (static_cast<int>(i) != except && trials[i].name == name)
            return "A trial named \"" + name + "\" is already kept. Please choose another name.";
    }
    return {};
}

CStenorDoc projectWithTrialInputs(const CStenorDoc& project, const Trial& trial) {
    CStenorDoc loaded = project;
    projectFromJsonObject(projectJsonObject(trial.inputs), loaded);
    loaded.trials = project.trials;
    loaded.reportDetails = project.reportDetails;
    return loaded;
}

}  // namespace ardelon
