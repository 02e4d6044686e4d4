#pragma once
// Projects whose results the tests know in advance: the season names the response (see
// SeasonResponseModel), so a deflection limit decides which seasons stay below it.

#include <string>

#include "project/CStenorDoc.h"
#include "reliability/RunPreparation.h"
#include "trials/Trial.h"

namespace ardelon::testing {

// A two-layer project without variability, every axle a single in one bin, with a surface
// deflection criterion of `limit` milli-in (seasons s with 10 (s + 1) <= limit stay below) at
// the 50th percentile, a transfer-function strain at the bottom of layer 1 and a strain
// distribution at the bottom of layer 2.
CStenorDoc seasonProject(double deflectionLimit);

ProjectRun runSeasonProject(const CStenorDoc& project, int cycles, std::uint32_t seed);

Trial seasonTrial(const std::string& name, double deflectionLimit, std::uint32_t seed = 5);

}  // namespace ardelon::testing
