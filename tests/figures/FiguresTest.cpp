// The chart data of a run read the same numbers as the result lists and the solver.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "criteria/ResponseType.h"
#include "figures/FigureData.h"
#include "reliability/AnalysisRun.h"
#include "reliability/RunPreparation.h"
#include "reliability/SolverResponseModel.h"
#include "solver/LayeredElasticSolver.h"
#include "support/ExampleProjects.h"
#include "support/FakeResponseModels.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Layer-1 moduli of 100000 × (season + 1) without variability: the season model then gives a
// deflection of exactly 10, 20, 30 or 40 milli-in, so a 20 milli-in limit meets ties.
CStenorDoc tiedDeflection() {
    CStenorDoc doc = testing::perpetualInterstateExample();
    for (int s = 0; s < kSeasonCount; ++s)
        doc.seasonalModulus[0][at(s)] = 100000.0 * (s + 1);
    doc.modulusCov[0] = 0.0;
    doc.criteria[0].threshold = 20.0;
    return doc;
}

struct RunCase {
    const char* name;
    CStenorDoc (*project)();
    bool seasonModel;
};

AnalysisRunOutcome run(CStenorDoc& work, bool seasonModel) {
    prepareViewOutput(work);
    const AnalysisRunOptions o{.cycles = 600, .seed = 7, .threads = 2, .keepCycleRecords = true};
    const ResponseModelFactory models = seasonModel
                                            ? testing::factoryOf<testing::SeasonResponseModel>()
                                            : testing::factoryOf<testing::SmoothResponseModel>();
    return runAnalysis(work, models, o);
}

const ResponseDistribution& distributionOf(const std::vector<ResponseDistribution>& all, int slot) {
    for (const ResponseDistribution& d : all) {
        if (d.name.slot == slot)
            return d;
    }
    throw std::runtime_error("no distribution for slot " + std::to_string(slot));
}

double curveAt(const ResponseDistribution& d, double x) {
    for (const ChartPoint& p : d.curve) {
        if (p.x == x)
            return p.y;
    }
    return NAN;
}

class RunFiguresTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunFiguresTest, CurvesReadTheListedPercentilesAndSharesAddUp) {
    CStenorDoc work = GetParam().project();
    const AnalysisRunOutcome outcome = run(work, GetParam().seasonModel);
    ASSERT_EQ(outcome.status, AnalysisStatus::Completed);
    const auto distributions = responseDistributions(work, outcome.results);
    ASSERT_FALSE(distributions.empty());
    const auto check = [&](int slot, int level, double listed) {
        const ResponseDistribution& d = distributionOf(distributions, slot);
        const LimitMark& mark = d.limits.at(at(std::max(level, 0)));
        EXPECT_EQ(mark.actualPercentile, listed) << "slot " << slot << " level " << level;
        EXPECT_EQ(curveAt(d, mark.value), listed) << "slot " << slot << " level " << level;
        for (std::size_t i = 1; i < d.curve.size(); ++i) {
            EXPECT_LT(d.curve[i - 1].x, d.curve[i].x);
            EXPECT_LE((d.largerExceeds ? 1 : -1) * (d.curve[i - 1].y - d.curve[i].y), 0.0);
        }
    };
    for (const PercentileRow& row : outcome.lists.percentile)
        check(row.slot, row.level, row.actualPercentile);
    for (const TransferFunctionRow& row : outcome.lists.transferFunction)
        check(row.slot, -1, row.percentBelowCritical);

    for (const LoadShares& s : loadShares(work, outcome.results)) {
        double exceedance = 0.0, damage = 0.0;
        for (int c = 0; c < kConfigurationCount; ++c) {
            const auto& e = s.exceedancePercent[at(c)];
            const auto& d = s.damagePercent[at(c)];
            exceedance = std::accumulate(e.begin(), e.end(), exceedance);
            damage = std::accumulate(d.begin(), d.end(), damage);
        }
        EXPECT_NEAR(exceedance, s.exceedances > 0 ? 100.0 : 0.0, 1e-9) << s.name.title;
        EXPECT_NEAR(damage, s.hasDamage ? 100.0 : 0.0, 1e-9) << s.name.title;
        const CriterionSlot& c = work.criteria[at(s.name.slot)];
        if (c.responseType != HorizontalStrainDistribution) {
            EXPECT_EQ(s.level, -1);
            EXPECT_EQ(s.exceedances, outcome.results.exceedCount[at(s.name.slot)]);
        } else {
            // One block per level, counted against that level's own limit.
            EXPECT_EQ(s.exceedances,
                      outcome.results.limitExceedCount[at(s.level)][at(s.name.slot)]);
            EXPECT_EQ(s.limit, c.distribution[at(s.level)]);
        }
    }
}

TEST(LoadSharesFigure, AStrainDistributionHasOneNamedBlockPerLevel) {
    CStenorDoc work = testing::perpetualInterstateExample();
    const AnalysisRunOutcome outcome = run(work, false);
    std::vector<std::string> levels;
    for (const LoadShares& s : loadShares(work, outcome.results)) {
        if (s.level >= 0)
            levels.push_back(s.levelName);
    }
    EXPECT_EQ(levels,
              (std::vector<std::string>{
                  "95th percentile, -121.1 microstrain", "85th percentile, -91.7 microstrain",
                  "75th percentile, -74.2 microstrain", "65th percentile, -61.6 microstrain",
                  "55th percentile, -51.8 microstrain"}));
}

// Where a label says %, the spectra are percentages of each configuration's axle groups: the
// ESAL route's axle counts become shares, a distribution in percent stays as entered.
TEST(LoadSpectraFigure, ShowsPercentOfAxleGroupsForEveryRoute) {
    const LoadSpectraFigure esal = loadSpectraFigure(testing::esalRouteExample());
    for (int c = 0; c < kConfigurationCount; ++c) {
        const double sum =
            std::accumulate(esal.percent[at(c)].begin(), esal.percent[at(c)].end(), 0.0);
        EXPECT_NEAR(sum, esal.configurationUsed[at(c)] ? 100.0 : 0.0, 1e-9) << c;
    }
    EXPECT_EQ(std::pair(esal.percent[Single][8], esal.percent[Single][9]), std::pair(50.0, 50.0));

    const CStenorDoc interstate = testing::perpetualInterstateExample();
    EXPECT_EQ(loadSpectraFigure(interstate).percent, interstate.loadSpectra);
}

// A metric project's figures read stresses in kPa and deflections in mm.
TEST(ResponseDistributionFigure, MetricProjectsShowSiUnits) {
    CStenorDoc work = testing::metricInterstateExample();
    const AnalysisRunOutcome outcome = run(work, false);
    const auto distributions = responseDistributions(work, outcome.results);
    const ResponseDistribution& deflection = distributionOf(distributions, 0);
    EXPECT_EQ(deflection.name.units, "mm");
    EXPECT_DOUBLE_EQ(deflection.limits[0].value, 15.0 * 0.0254);
    EXPECT_EQ(distributionOf(distributions, 5).name.units, "microstrain");
    EXPECT_EQ(reportResponseName(VerticalStress, Metric).units, "kPa");
    EXPECT_DOUBLE_EQ(reportResponseValue(VerticalStress, Metric, 10.0), 68.94757293168361);
    EXPECT_EQ(reportResponseName(VerticalStress, English).units, "psi");
}

INSTANTIATE_TEST_SUITE_P(
    Projects, RunFiguresTest,
    ::testing::Values(RunCase{"Interstate", testing::perpetualInterstateExample, false},
                      RunCase{"EsalRoute", testing::esalRouteExample, false},
                      RunCase{"MetricInterstate", testing::metricInterstateExample, false},
                      RunCase{"TiedDeflection", tiedDeflection, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The damage curve crosses 0.1 and 1.0 at the listed years.
TEST(DamageOverTimeFigure, CrossesTheDamageLevelsAtTheListedYears) {
    struct Case {
        double growthPercent, damagePerMillion;
    };
    for (const Case k : {Case{4, 6.6648e-3}, Case{0, 1e-2}, Case{12, 3e-4}, Case{-3, 0.5}}) {
        CStenorDoc work = testing::perpetualInterstateExample();
        work.truckGrowthPercent = k.growthPercent;
        AnalysisResults results;
        results.cycles = 1;
        results.damagePerMillion[6] = k.damagePerMillion;  // layer 3 top, transfer function
        const auto figures = damageOverTime(work, results);
        ASSERT_EQ(figures.size(), 1u);
        const DamageOverTime& f = figures[0];
        for (const auto& [level, listed] :
             {std::pair{0.1, f.yearsToDamage01}, std::pair{1.0, f.yearsToDamage10}}) {
            ASSERT_TRUE(std::isfinite(listed)) << k.growthPercent;
            double crossing = NAN;
            for (std::size_t i = 1; i < f.curve.size() && std::isnan(crossing); ++i) {
                const ChartPoint a = f.curve[i - 1], b = f.curve[i];
                if (a.y < level && b.y >= level)
                    crossing = a.x + (level - a.y) * (b.x - a.x) / (b.y - a.y);
            }
            EXPECT_NEAR(crossing, listed, 0.01) << k.growthPercent << " D=" << level;
        }
    }
}

// Each season's profile is the solver's answer at the seasonal moduli and mean thicknesses,
// under the representative axle, on a grid that passes through every layer.
TEST(DepthProfileFigure, EqualsTheSolverAtMeanInputs) {
    for (CStenorDoc (*project)() :
         {testing::perpetualInterstateExample, testing::metricInterstateExample}) {
        CStenorDoc work = project();
        prepareViewOutput(work);
        const auto profiles = depthProfiles(work, layeredElasticResponses());
        ASSERT_EQ(profiles.size(), 4u);
        const double h1 = 8.0, h2 = 6.0, h3 = 12.0;  // the example's layers, in inches
        for (const DepthProfile& p : profiles) {
            ASSERT_EQ(p.interfaceDepthsInches.size(), 3u);
            EXPECT_NEAR(p.interfaceDepthsInches[2], h1 + h2 + h3, 1e-9);
            LayerSystem system;
            for (int i = 0; i < kLayerCount; ++i)
                system.modulus[at(i)] = work.seasonalModulus[at(std::min(i, 3))][at(p.season)];
            system.thickness = {
                h1, h2, h3, work.valuesInEnglish ? work.thickness[3] : work.thickness[3] / 2.54};
            system.poisson = work.poisson;
            system.bond = {work.slipValue[0], work.slipValue[1], work.slipValue[2]};
            const int tires = kTiresPerConfiguration[at(p.configuration)];
            const double radius = std::sqrt(p.axleLoadPounds / tires / (100.0 * M_PI));
            const std::array<CircularLoad, 2> dual{
                {{100.0, radius, 0.0, 0.0}, {100.0, radius, 13.5, 0.0}}};
            ASSERT_EQ(p.configuration, Single);
            std::vector<EvaluationPoint> points;
            std::array<bool, kLayerCount> layerSeen{};
            for (const DepthProfilePoint& q : p.points) {
                points.push_back({0.0, 0.0, q.depthInches, q.layer});
                layerSeen[at(q.layer - 1)] = true;
            }
            EXPECT_EQ(layerSeen, (std::array<bool, kLayerCount>{true, true, true, true, false}));
            LayeredElasticSolver solver;
            const ResponseTable t = solver.computeResponses(system, dual.data(), 2, points.data(),
                                                            static_cast<int>(points.size()));
            for (int i = 0; i < static_cast<int>(points.size()); ++i) {
                const DepthProfilePoint& q = p.points[at(i)];
                EXPECT_NEAR(q.epsX, t.at(EpsX, i) * 1e6, 1e-6);
                EXPECT_NEAR(q.epsZ, t.at(EpsZ, i) * 1e6, 1e-6);
                EXPECT_NEAR(q.deflectionMils, -t.at(DispZ, i) * 1000.0, 1e-6);
            }
        }
    }
}

}  // namespace
}  // namespace ardelon
