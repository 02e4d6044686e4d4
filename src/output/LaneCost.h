#pragma once
// The material cost of a layer over a lane, as the Cost Analysis dialog, the thickness search
// and the run sheet price it.

namespace ardelon {

// Cost of one layer over one mile (English: thickness in., lane width ft, density pcf, dollars
// per ton of 2000 lb) or one km (metric: thickness cm, lane width m, density kg/m3, dollars per
// metric ton) of one lane: thickness × lane width × length × density × cost per ton, with every
// quantity brought to miles (tons per cubic mile) or km (metric tons per cubic km).
double costPerLane(double thickness, double laneWidth, double density, double costPerTon,
                   bool english);

}  // namespace ardelon
