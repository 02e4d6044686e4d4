#include "traffic/WeightClassLabels.h"

#include <gtest/gtest.h>

namespace ardelon {
namespace {

struct LabelCase {
    int unitSystem;
    int bin;
    const char* label;
};

// Every bin is named in the project's units: metric labels give the kN range of each 2-kip bin
// (54 kips = 240.2 kN, 56 kips = 249.1 kN, 58 kips = 258.0 kN, 110 kips = 489.3 kN).
TEST(WeightClassLabels, ChartLabelsEveryBinInTheProjectsUnits) {
    const LabelCase cases[] = {
        {English, 0, "0-2"},     {English, 27, "54-56"},  {English, 55, "110+"},
        {Metric, 0, "0-9"},      {Metric, 27, "240-249"}, {Metric, 28, "249-258"},
        {Metric, 54, "480-489"}, {Metric, 55, "489+"},
    };
    for (const LabelCase& c : cases) {
        const auto labels = binLabelsFor(c.unitSystem);
        EXPECT_EQ(labels[static_cast<std::size_t>(c.bin)], c.label)
            << "units " << c.unitSystem << ", bin " << c.bin;
        // The report prints the English labels in both unit systems.
        if (c.unitSystem == English) {
            EXPECT_EQ(englishBinLabel(c.bin), c.label);
        }
    }
}

}  // namespace
}  // namespace ardelon
