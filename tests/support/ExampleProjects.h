#pragma once
// The example projects of examples/, built from their engineering description so that the stored
// files can be checked against (and regenerated from) it.

#include "project/CStenorDoc.h"

namespace ardelon::testing {

// A four-layer perpetual pavement on a rural interstate: 8 in. of PG 76-22 AC over 6 in. of
// PG 64-22 rich-bottom AC, 12 in. of granular base on soil; traffic from the Rural Interstate
// vehicle class mix (30000 AADT, 25 % trucks); criteria: the endurance-limit strain distribution
// at the bottom of layer 1, horizontal strain with the fatigue transfer function at the bottom of
// the lower AC layer, vertical strain at the top of the soil against the 95th percentile and the
// surface deflection against the 85th. Costs: AC of 145 pcf at $95 (surface) and $85 (rich
// bottom) a ton, base of 135 pcf at $30 a ton.
CStenorDoc perpetualInterstateExample();
// The same in metric units, its thicknesses held in centimetres.
CStenorDoc metricInterstateExample();

// A two-layer pavement (8 in. of AC on soil) whose traffic is given as 2 million ESALs.
CStenorDoc esalRouteExample();

}  // namespace ardelon::testing
