#pragma once
// A trial design: a named snapshot of a project's inputs together with the results of one
// analysis of them and the record of that run, kept with the project so that alternatives can
// be set side by side.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "project/CStenorDoc.h"
#include "reliability/ResultLists.h"
#include "reliability/RunPreparation.h"

namespace ardelon {

// How the results were produced.
struct TrialRecord {
    std::uint32_t seed = 0;
    int cycles = 0;       // the cycles the results are of
    std::string date;     // when the run started, UTC: "2026-12-07T03:15:00Z"
    std::string version;  // the program that ran it

    bool operator==(const TrialRecord&) const = default;
};

struct Trial {
    std::string name;
    // The project's saved fields as analysed (layers, materials, thicknesses, seasonal moduli,
    // variability, traffic, criteria, costs); no report texts and no trials of its own.
    CStenorDoc inputs;
    TrialRecord run;
    ResultLists lists;  // both lists with their settled verdicts and intervals
    // The structure's material cost per lane-mile (English values) or lane-km (metric), as the
    // Cost Analysis dialog totals it; `priced` is false when no layer has a cost per ton.
    double costPerLane = 0.0;
    bool priced = false;
    double asphaltThickness = 0.0;  // AC and cracked AC layers, in. or cm
};

// The trial of a completed run of `project` (its saved fields are the trial's inputs).
Trial makeTrial(std::string name, const CStenorDoc& project, const ProjectRun& run,
                std::uint32_t seed, std::time_t startTime);

// The shortest text of a thickness to 0.01 in. or cm: 8, 7.5, 7.25.
std::string thicknessText(double value);

// The default name of a trial: the thicknesses of the layers above the last, "8/6/12 in.".
std::string defaultTrialName(const CStenorDoc& project);

// The total thickness of the asphalt layers (AC, cracked AC) in the project's display units.
double asphaltThickness(const CStenorDoc& project);

// Why `name` cannot name a trial among `trials` (empty: it can): a name must have a visible
// character and differ from every other trial's (`except`: the trial being renamed, or -1).
std::string checkTrialName(const std::vector<Trial>& trials, const std::string& name,
                           int except = -1);

// The project with a trial's inputs put back: every saved field from the trial; the project's
// report texts and kept trials stay.
CStenorDoc projectWithTrialInputs(const CStenorDoc& project, const Trial& trial);

// "in." or "cm"; "$/lane-mile" or "$/lane-km".
const char* trialThicknessUnit(const CStenorDoc& project);
const char* trialCostUnit(const CStenorDoc& project);

}  // namespace ardelon
