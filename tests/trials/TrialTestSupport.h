#pragma once
// Runs and trials whose results the tests know in advance: those of seasonProject, where the season
// names the response, so a deflection limit decides which seasons stay below it.

#include <string>

#include "reliability/RunPreparation.h"
#include "support/FakeResponseModels.h"
#include "trials/Trial.h"

namespace ardelon::testing {

ProjectRun runSeasonProject(const CStenorDoc& project, int cycles, std::uint32_t seed);

Trial seasonTrial(const std::string& name, double deflectionLimit, std::uint32_t seed = 5);

}  // namespace ardelon::testing
