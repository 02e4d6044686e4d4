#include "reliability/AnalysisRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "criteria/ResponseType.h"
#include "project/Units.h"
#include "reliability/AnalysisInputRanges.h"
#include "reliability/ResultFormat.h"
#include "support/FakeResponseModels.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {

using testing::CallLog;
using testing::factoryOf;
using testing::readBytes;
using testing::RecordingModel;
using testing::scratchDir;
using testing::SeasonResponseModel;
using testing::SmoothResponseModel;
using testing::splitCrLf;

// Damage sums are accumulated in a different order by the independent check below.
constexpr double kSumOrderTolerance = 1e-12;

// The season project (see SeasonResponseModel) with a deflection limit of 30 milli-in, all axles
// Single. Slot 3 is active without a type and slot 13 is active: neither is evaluated.
CStenorDoc seasonProject() {
    CStenorDoc doc = testing::seasonProject(30);
    doc.axleTypeFraction = {1, 0, 0, 0};
    doc.criteria[3].active = 1;  // no response type chosen
    doc.criteria[13] = {.active = 1, .responseType = VerticalStrain, .threshold = 200};
    return doc;
}

// The seasons a run draws, replayed independently: one deviate for the season, then twelve more
// (five normal pairs, the configuration and the load) per cycle.
std::array<int, kSeasonCount> replaySeasons(std::uint32_t seed, int cycles,
                                            const std::array<int, kSeasonCount>& weeks,
                                            std::vector<int>* order = nullptr) {
    MonteCarloSampler sampler(seed);
    std::array<int, kSeasonCount> counts{};
    for (int c = 0; c < cycles; ++c) {
        const int season = MonteCarloSampler::pickSeason(sampler.uniformDeviate(), weeks);
        ++counts[static_cast<std::size_t>(season)];
        if (order)
            order->push_back(season);
        for (int i = 0; i < 12; ++i)
            sampler.uniformDeviate();
    }
    return counts;
}

AnalysisRunOptions options(int cycles, std::uint32_t seed, int threads = 1) {
    // A fixed date line.
    return {.cycles = cycles, .seed = seed, .threads = threads, .startTime = 1796448000};
}

using Rows = std::vector<std::vector<std::string>>;

// Every cell of both lists, the transfer-function rows first.
Rows texts(const ResultLists& lists) {
    Rows rows;
    for (const TransferFunctionRow& r : lists.transferFunction)
        rows.emplace_back(r.cells.begin(), r.cells.end());
    for (const PercentileRow& r : lists.percentile)
        rows.emplace_back(r.cells.begin(), r.cells.end());
    return rows;
}

// A run on the season model, which must complete.
AnalysisRunOutcome seasonRun(CStenorDoc& work, const AnalysisRunOptions& o) {
    AnalysisRunOutcome out = runAnalysis(work, factoryOf<SeasonResponseModel>(), o);
    EXPECT_EQ(out.status, AnalysisStatus::Completed);
    return out;
}

// Runs `work` and records the inputs of every solver call in `log`.
template <typename Model = SeasonResponseModel>
void recordRun(CStenorDoc& work, const AnalysisRunOptions& o, CallLog& log) {
    const ResponseModelFactory factory = [&log] {
        return std::make_unique<RecordingModel<Model>>(log);
    };
    ASSERT_EQ(runAnalysis(work, factory, o).status, AnalysisStatus::Completed);
}

TEST(AnalysisRun, HandCheckableCountsDamageAndLists) {
    CStenorDoc work = seasonProject();
    const int n = 2000;
    const auto seasons = replaySeasons(11, n, work.seasonWeeks);
    ASSERT_GT(seasons[2], 0);  // the ties at season 2 must occur to be tested

    const AnalysisRunOutcome out = seasonRun(work, options(n, 11));
    const AnalysisResults& r = out.results;
    // Deflection 10 (s + 1) milli-in against 30: seasons 3 and 4 exceed. Strain −(60 + 20 s)
    // against −100: season 2 gives exactly −100, a tie, which does not count. The lists below
    // give both counts as percentages, and those of the distribution levels.
    const int hot = seasons[3] + seasons[4];
    // Damage of the exceeding point: Nf = k1 (1/|ε|)^k2 with ε = 120 or 140 microstrain.
    const double nf3 = 1e-3 * std::pow(1.0 / 120e-6, 2), nf4 = 1e-3 * std::pow(1.0 / 140e-6, 2);
    const double damage = (seasons[3] / nf3 + seasons[4] / nf4) * 1e6 / n;
    EXPECT_NEAR(r.damagePerMillion[2], damage, damage * kSumOrderTolerance);
    EXPECT_EQ(r.damagePerMillion[0], 0.0);  // deflections do no damage
    EXPECT_EQ(work.criteria[2].damagePerMillion, r.damagePerMillion[2]);
    // Strain distribution −10 s against −5, −15, −25, −35, −45: levels only. Slots 3 (no type)
    // and 13 (no location) are not evaluated.
    EXPECT_EQ(std::tuple(r.exceedCount[5], r.exceedCount[3], r.exceedCount[13]),
              std::tuple(0, 0, 0));
    EXPECT_EQ(std::tuple(r.pointCount, r.loadCount, work.output.pointCount, work.output.loadCount),
              std::tuple(15, 2, 15, 2));

    // Percentages of the cycles at or below a level, as the distribution rows list them.
    const auto percent = [&](int count) { return formatSignificant(count * 100.0 / n); };
    const auto passes = [&](int count, double target) {
        return count * 100.0 / n > target ? "Pass" : "Fail";
    };
    const double a = 1000 * r.damagePerMillion[2] * 0.000365;
    const int early = seasons[0] + seasons[1];
    const std::string below = formatSignificant(100.0 - hot * 100.0 / n);
    EXPECT_EQ(texts(out.lists),
              (Rows{{"1", "Bottom", "Horizontal Strain", "-100.", "microstrain", below,
                     formatSignificant(r.damagePerMillion[2]),
                     formatSignificant(std::log10(1 + 0.04 * (0.1 / a)) / std::log10(1.04)),
                     formatSignificant(std::log10(1 + 0.04 * (1.0 / a)) / std::log10(1.04))},
                    {"1", "Top", "Vertical Deflection", "milli-in", "30.", "50.", below, "Pass"},
                    {"2", "Bottom", "Tensile Strain", "microstrain", "-5.", "95",
                     percent(seasons[0]), "Fail"},
                    {"", "", "", "", "-15.", "85", percent(early), passes(early, 85)},
                    {"", "", "", "", "-25.", "75", percent(n - hot), passes(n - hot, 75)},
                    {"", "", "", "", "-35.", "65", percent(n - seasons[4]), "Pass"},
                    {"", "", "", "", "-45.", "55", "100.", "Pass"}}));
}

// The wheels and the layer system of a fixed cycle are checked against a direct solver call in
// SolverAnalysisTest.
TEST(AnalysisRun, PointsGivenToTheSolver) {
    CStenorDoc work = seasonProject();
    CallLog log;
    recordRun(work, options(3, 5), log);
    // Three cycles, then the last one again whole for the module's table of the last cycle.
    ASSERT_EQ(log.points.size(), 4u);
    const double depth[3] = {0.0, 10.0, 10.0 + 999.0};  // slots 0, 2, 5
    const int layer[3] = {1, 1, 2};
    // Each cycle asks only for what its criteria read: the deflection, the horizontal strains.
    const ResponseMask asked[3] = {responseBit(DispZ), responseBit(EpsX) | responseBit(EpsY),
                                   responseBit(EpsX) | responseBit(EpsY)};
    for (std::size_t call = 0; call < 4; ++call) {
        const auto& pts = log.points[call];
        ASSERT_EQ(pts.size(), 15u);
        for (int k = 0; k < 3; ++k) {
            for (int j = 0; j < 5; ++j) {
                const EvaluationPoint& p = pts[static_cast<std::size_t>(5 * k + j)];
                EXPECT_EQ(p.x, kEvaluationPlanPositions[static_cast<std::size_t>(j)][0]);
                EXPECT_EQ(p.y, kEvaluationPlanPositions[static_cast<std::size_t>(j)][1]);
                EXPECT_EQ(p.depth, depth[k]);
                EXPECT_EQ(p.layer, layer[k]);
                EXPECT_EQ(p.responses, call < 3 ? asked[k] : kAllResponses) << call << " " << k;
            }
        }
    }
}

TEST(AnalysisRun, SlotDepths) {
    const std::array<double, 4> h{2, 4, 6, 8};
    const double expected[13] = {0, 1, 2, 2, 4, 6, 6, 9, 12, 12, 16, 20, 20.01};
    for (int slot = 0; slot < 13; ++slot)
        EXPECT_DOUBLE_EQ(slotDepth(slot, h), expected[slot]) << slot;
}

// Two layers with variability: the drawn bottom modulus is copied down, the thickness COVs below
// layer 1 are zeroed; a thin layer and a soft modulus are raised to their floors. A first cycle
// without a bin above its load deviate takes the heaviest loaded bin, not a zero load.
TEST(AnalysisRun, TwoLayerCopiesModuliDownAndFloorsRaiseThinLayersAndSoftModuli) {
    CStenorDoc work = seasonProject();
    work.modulusCov = {30, 50, 50, 50, 50};
    work.thicknessCov = {5, 3, 3, 3};
    CStenorDoc floors = seasonProject();
    floors.thickness[0] = 0.5;
    floors.seasonalModulus[1] = {500, 500, 500, 500, 500};
    MonteCarloSampler replay(1);  // the 13th deviate of seed 1 is the first cycle's load deviate
    for (int i = 0; i < 12; ++i)
        replay.uniformDeviate();
    const double u = replay.uniformDeviate();
    auto& cdf = floors.loadCdf[Single];
    cdf = {};
    for (int k = 3; k < kBinCount; ++k)
        cdf[static_cast<std::size_t>(k)] = k < 5 ? u / 4 : u / 2;
    CallLog log, floorLog;
    recordRun<SmoothResponseModel>(work, options(50, 2), log);
    recordRun<SmoothResponseModel>(floors, options(5, 1), floorLog);
    for (const LayerSystem& s : log.systems) {
        EXPECT_EQ(std::tuple(s.modulus[2], s.modulus[3], s.modulus[4], s.thickness[1]),
                  std::tuple(s.modulus[1], s.modulus[1], s.modulus[1], 999.0));
    }
    EXPECT_EQ(work.thicknessCov, (std::array<double, 4>{5, 0, 0, 0}));
    for (const LayerSystem& s : floorLog.systems)
        EXPECT_EQ(std::pair(s.thickness[0], s.modulus[1]), std::pair(1.0, 1000.0));
    // Bin 5 (11000 lb) over four tires.
    EXPECT_EQ(floorLog.loads[0][0].radius,
              std::sqrt(2750.0 * MonteCarloSampler::kContactAreaFactor));
}

// A strain distribution at the middle of layer 2 still names its layer and location.
TEST(AnalysisRun, ExceedanceTiesAndPassOnlyWhenStrictlyGreater) {
    CStenorDoc work = seasonProject();
    auto& c = work.criteria;
    c[0].threshold = 20;  // season 1 gives exactly 20: a tie, not an exceedance
    c[2].useTransferFunction = 0;
    std::swap(c[4], c[5]);
    const int n = 1000;
    const auto seasons = replaySeasons(3, n, work.seasonWeeks);
    const int exceeding = n - seasons[0] - seasons[1];
    const double actual = 100.0 - exceeding * 100.0 / n;
    c[0].targetPercentile = actual;  // a tie fails
    c[2].targetPercentile = std::nextafter(actual, 0.0);
    const AnalysisRunOutcome out = seasonRun(work, options(n, 3));
    EXPECT_EQ(out.results.exceedCount[0], exceeding);
    const auto& p = out.lists.percentile;
    ASSERT_EQ(std::tuple(out.lists.transferFunction.size(), p.size()), std::tuple(0u, 7u));
    EXPECT_EQ(std::tuple(p[0].cells[7], p[1].cells[7]), std::tuple("Fail", "Pass"));
    // The bottom of layer 1 reads "Bot" in the percentile list.
    EXPECT_EQ(std::vector(p[1].cells.begin(), p[1].cells.begin() + 5),
              (std::vector<std::string>{"1", "Bot", "Horizontal Strain", "microstrain", "-100."}));
    EXPECT_EQ(p[2].cells[0] + " " + p[2].cells[1], "2 Middle");
}

// A stress criterion with a transfer function does no damage and never reaches a damage level; a
// negative ESAL factor empties the damage column; zero growth gives the years as the damage level
// over the first year's damage.
TEST(AnalysisRun, StressHasInfiniteYearsAndZeroGrowthGivesLinearYears) {
    CStenorDoc work = seasonProject();
    auto& c = work.criteria[0];
    c.responseType = VerticalStress;
    c.threshold = 60;
    c.useTransferFunction = 1;
    work.esalFactor = -1;
    work.truckGrowthPercent = 0;
    const AnalysisRunOutcome out = seasonRun(work, options(500, 4));
    ASSERT_EQ(out.lists.transferFunction.size(), 2u);
    const auto& stress = out.lists.transferFunction[0].cells;
    const auto& strain = out.lists.transferFunction[1];
    const double a = 1000 * strain.damagePerMillion * 0.000365;
    ASSERT_GT(a, 0);
    const Rows expected{{"Vertical Stress", "psi", "", "Infinite", "Infinite"},
                        {"Horizontal Strain", "microstrain", "", formatSignificant(0.1 / a),
                         formatSignificant(1.0 / a)}};
    EXPECT_EQ((Rows{{stress[2], stress[4], stress[6], stress[7], stress[8]},
                    {strain.cells[2], strain.cells[4], strain.cells[6], strain.cells[7],
                     strain.cells[8]}}),
              expected);
}

// ---- Raw-data file ----

// Metric thicknesses are written in inches: 25.4 cm over the soil writes the English file.
// Without an evaluated location the lines end after the weight.
TEST(AnalysisRawData, HeaderLinesColumnsAndCrLf) {
    const auto dir = scratchDir("raw");
    CStenorDoc work = seasonProject(), metric = seasonProject(), none = seasonProject();
    metric.valuesInEnglish = 0;
    metric.thickness = {25.4, 2537.46, 2537.46, 2537.46};
    for (auto& c : none.criteria)
        c.active = 0;
    AnalysisRunOptions o = options(7, 21);
    std::vector<AnalysisRunOutcome> outs;
    for (auto [name, doc] :
         {std::pair{"metric.ad", &metric}, {"none.ad", &none}, {"run.ad", &work}}) {
        o.rawDataPath = (dir / name).string();
        outs.push_back(seasonRun(*doc, o));
    }
    EXPECT_TRUE(outs[1].lists.empty());
    const auto noneLines = splitCrLf(readBytes(dir / "none.ad"));
    ASSERT_EQ(noneLines.size(), 11u);
    EXPECT_EQ(noneLines[3].substr(noneLines[3].size() - 7), "Weight\t");
    EXPECT_EQ(std::count(noneLines[5].begin(), noneLines[5].end(), '\t'), 13);
    const std::string text = readBytes(dir / "run.ad");
    EXPECT_EQ(readBytes(dir / "metric.ad"), text);
    // Every line below is compared whole, so no bare CR or LF hides in one.
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    const auto lines = splitCrLf(text);
    ASSERT_EQ(lines.size(), 7u + 4u);
    EXPECT_EQ(lines[0], "Ardelon 4.3 - Probabilistic Simulation");
    EXPECT_EQ(lines[1], "Date:\t" + rawDataDate(o.startTime));
    // Weekday, month, day, time and year of the start, as the C library writes them.
    const std::string date = rawDataDate(o.startTime);
    ASSERT_EQ(date.size(), 24u);
    EXPECT_EQ(std::tuple(date.substr(3, 5), std::string({date[10], date[13], date[16], date[19]}),
                         date.substr(20), lines[2]),
              std::tuple(" Dec ", " :: ", "2026", ""));
    EXPECT_EQ(lines[3],
              "Run\tSeason\tE1\tE2\tE3\tE4\tE5\tH1\tH2\tH3\tH4\tAxle Type\tWeight\t"
              "Location1\tLocation2\tLocation3\t");
    std::vector<int> order;
    replaySeasons(21, 7, work.seasonWeeks, &order);
    for (int c = 0; c < 7; ++c) {
        const int s = order[static_cast<std::size_t>(c)];
        // The soil's seasonal moduli, copied into layers 3 to 5 of the two-layer structure.
        const double soil[5] = {12000, 15000, 24000, 15000, 13200};
        char expected[512];
        std::snprintf(expected, sizeof expected,
                      "%d\t%d\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t10.00\t999.00\t999.00\t"
                      "999.00\t0\t5250.00\t%.2f\t%.2f\t%.2f\t",
                      c + 1, s, 100000.0 * (s + 1), soil[s], soil[s], soil[s], soil[s],
                      10.0 * (s + 1), -(60.0 + 20.0 * s), -10.0 * s);
        EXPECT_EQ(lines[static_cast<std::size_t>(c + 4)], expected) << c;
    }
    // The three raw-data files and no temporary beside them.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 3);
}

// ---- Refusals, cancel and threads ----

// Refused before the first cycle (no model is made) or when the raw-data file cannot be written.
TEST(AnalysisRefusals, NothingChangesAndTheMessageSaysWhy) {
    const auto dir = scratchDir("refused");
    const std::string unwritable = (dir / "missing-folder" / "x.ad").string();
    struct Case {
        std::string caption;
        std::string text;
        std::function<void(CStenorDoc&)> change;
        int cycles = 10;
        std::string rawDataPath{};
    };
    const std::vector<Case> cases = {
        {"Monte Carlo Cycles", "Please enter a number of Monte Carlo cycles of at least 1.",
         [](CStenorDoc&) {}, 0},
        {"Too Many Criteria",
         "The analysis evaluates at most 10 criterion locations at a time (five points each), but "
         "11 are active. Please deactivate some criteria in the Structure module.",
         [](CStenorDoc& d) {
             for (int i = 0; i < 11; ++i)
                 d.criteria[static_cast<std::size_t>(i)] = {1, VerticalStress};
         }},
        {"Load Spectra Missing",
         "The Tandem axles carry 50. % of the axle groups but their cumulative load distribution "
         "is empty. Please open the Load Spectra module and accept it to compute the load "
         "distributions.",
         [](CStenorDoc& d) {
             d.axleTypeFraction = {0.5, 0.5, 0, 0};
         }},
        {"Load Spectra Missing",
         "The axle configuration shares add up to less than 100 %, so the remainder is analysed as "
         "Steer axles, whose cumulative load distribution is empty. Please correct the shares in "
         "the Load Spectra module and accept it.",
         [](CStenorDoc& d) {
             d.axleTypeFraction = {0.9, 0, 0, 0};
         }},
        {std::string(kInputOutOfRangeCaption),
         "poisson[0] (layer 1): Poisson's ratio must lie between 0.05 and 0.5 (got 7).",
         [](CStenorDoc& d) { d.poisson[0] = 7; }},
        {"Raw Data File",
         "Cannot write the raw data file \"" + unwritable + "\": No such file or directory.",
         [](CStenorDoc&) {}, 10, unwritable},
    };
    for (const Case& c : cases) {
        CStenorDoc work = seasonProject();
        work.thicknessCov = {5, 3, 3, 3};
        c.change(work);
        AnalysisRunOptions o = options(c.cycles, 1);
        o.rawDataPath = c.rawDataPath;
        const CStenorDoc before = work;
        int calls = 0;
        const ResponseModelFactory factory = [&] {
            ++calls;
            return std::make_unique<SeasonResponseModel>();
        };
        const AnalysisRunOutcome out = runAnalysis(work, factory, o);
        EXPECT_EQ(std::tuple(out.status, out.refusal.caption, out.refusal.text, calls),
                  std::tuple(AnalysisStatus::Refused, c.caption, c.text, 0));
        EXPECT_EQ(work, before) << c.caption;
    }
}

TEST(AnalysisRefusals, TenLocationsAndUnevaluatedSlotsAreAccepted) {
    CStenorDoc work = seasonProject();
    for (int i = 0; i < kSlotCount; ++i) {
        auto& c = work.criteria[static_cast<std::size_t>(i)];
        c.active = 1;
        c.responseType = i < 10 ? VerticalStress : -1;  // 10, 11, 12: no type; 13, 14: no place
    }
    work.criteria[13].responseType = work.criteria[14].responseType = VerticalStress;
    EXPECT_FALSE(checkAnalysisInputs(work, 1).has_value());
}

// A project with every kind of variability and all four configurations.
CStenorDoc variableProject() {
    CStenorDoc doc;
    doc.layerCountIndex = 2;
    doc.thickness = {6, 4, 12, 999};
    doc.thicknessCov = {8, 10, 15, 0};
    doc.thicknessDistribution = {0, 1, 0, 0};
    doc.seasonWeeks = {20, 10, 12, 6, 4};
    doc.axleTypeFraction = {0.4, 0.3, 0.2, 0.1};
    for (int c = 0; c < kConfigurationCount; ++c) {
        for (int k = 0; k < kBinCount; ++k) {
            doc.loadCdf[static_cast<std::size_t>(c)][static_cast<std::size_t>(k)] =
                std::min(1.0, (k + 1) / (30.0 + 5 * c));
        }
    }
    doc.loadCdf[Tridem][55] = 0.999;  // some draws keep the previous load
    auto& c = doc.criteria;
    c[2] = {1, HorizontalStrain, -70, 2.83e-6, 3.2, 1, 0, {}, 50};
    c[5] = {1, HorizontalStrainDistribution, 0, 0, 0, 0, 0, {-80, -70, -60, -50, -40}, 50};
    c[9] = {1, VerticalStrain, 200, 5.5e15 * 1e-9, 3.9, 1, 0, {}, 50};
    c[0] = {1, VerticalDeflection, 15, 0, 0, 0, 0, {}, 90};
    c[1] = {1, HorizontalStress, -50, 0, 0, 0, 0, {}, 80};
    c[12] = {1, PrincipalStrain, 100, 0, 0, 0, 0, {}, 70};
    return doc;
}

// The same seed gives the same run on any number of threads, progress in blocks of 256 cycles up
// to the last; another seed gives another run.
TEST(AnalysisThreads, ResultsListsAndRawFileAreIdenticalForAnyThreadCount) {
    const auto dir = scratchDir("threads");
    std::vector<AnalysisRunOutcome> outcomes;
    std::vector<CStenorDoc> works;
    std::vector<std::string> files;
    for (int threads : {1, 2, 3, 8}) {
        CStenorDoc work = variableProject();
        AnalysisRunOptions o = options(1100, 77, threads);
        o.rawDataPath = (dir / ("t" + std::to_string(threads) + ".ad")).string();
        std::vector<int> progress;
        o.progress = [&](int done, int) { progress.push_back(done); };
        outcomes.push_back(runAnalysis(work, factoryOf<SmoothResponseModel>(), o));
        ASSERT_EQ(outcomes.back().status, AnalysisStatus::Completed);
        EXPECT_EQ(progress, (std::vector<int>{256, 512, 768, 1024, 1100}));
        works.push_back(work);
        files.push_back(readBytes(o.rawDataPath));
    }
    ASSERT_GT(outcomes[0].results.exceedCount[2], 0);
    ASSERT_GT(outcomes[0].results.damagePerMillion[2], 0.0);
    ASSERT_EQ(outcomes[0].lists.transferFunction.size(), 2u);
    for (std::size_t k = 1; k < outcomes.size(); ++k) {
        EXPECT_TRUE(outcomes[k].results == outcomes[0].results && works[k] == works[0]) << k;
        EXPECT_EQ(std::pair(files[k], texts(outcomes[k].lists)),
                  std::pair(files[0], texts(outcomes[0].lists)));
    }
    EXPECT_EQ(splitCrLf(files[0]).size(), 1104u);
    CStenorDoc other = variableProject();
    const auto reseeded =
        runAnalysis(other, factoryOf<SmoothResponseModel>(), options(1100, 78, 2));
    EXPECT_NE(reseeded.results.damagePerMillion, outcomes[0].results.damagePerMillion);
}

TEST(AnalysisCancel, LeavesTheWorkingCopyAndNoRawFile) {
    const auto dir = scratchDir("cancel");
    const auto path = dir / "old.ad";
    std::ofstream(path, std::ios::binary) << "earlier run";
    CStenorDoc work = variableProject();
    const CStenorDoc before = work;
    std::atomic<bool> cancel{false};
    std::vector<int> progress;
    AnalysisRunOptions o = options(2000, 8, 2);
    o.rawDataPath = path.string();
    o.cancel = &cancel;
    o.progress = [&](int done, int total) {
        progress.push_back(done);
        EXPECT_EQ(total, 2000);
        if (done >= 512)
            cancel = true;
    };
    const AnalysisRunOutcome out = runAnalysis(work, factoryOf<SmoothResponseModel>(), o);
    EXPECT_EQ(std::tuple(out.status, work == before, out.results == AnalysisResults{},
                         out.lists.empty(), readBytes(path)),
              std::tuple(AnalysisStatus::Cancelled, true, true, true, "earlier run"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary
    EXPECT_EQ(progress, (std::vector<int>{256, 512}));
}

}  // namespace
}  // namespace ardelon
