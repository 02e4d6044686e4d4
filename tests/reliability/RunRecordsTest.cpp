// What a run keeps of every cycle, how a search ends a run early, and a response that is not a
// number.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "criteria/ResponseType.h"
#include "reliability/AnalysisRun.h"
#include "support/ExampleProjects.h"
#include "support/FakeResponseModels.h"

namespace ardelon {
namespace {

using testing::factoryOf;
using testing::SmoothResponseModel;

AnalysisRunOptions options(int cycles, int threads, int block) {
    return {.cycles = cycles, .seed = 12, .threads = threads, .blockCycles = block};
}

bool exceeds(double v, double limit) {
    return limit >= 0 ? v > limit : v < limit;
}

TEST(RunRecords, EveryCycleKeepsItsDrawsCriticalValuesAndDamage) {
    CStenorDoc plain = testing::perpetualInterstateExample();
    CStenorDoc kept = plain;
    const auto a = runAnalysis(plain, factoryOf<SmoothResponseModel>(), options(700, 1, 256));
    AnalysisRunOptions o = options(700, 2, 64);
    o.keepCycleRecords = true;
    const auto b = runAnalysis(kept, factoryOf<SmoothResponseModel>(), o);
    ASSERT_EQ(b.status, AnalysisStatus::Completed);
    ASSERT_EQ(b.results.cycleRecords.size(), 700u);
    EXPECT_TRUE(a.results.cycleRecords.empty());
    // Keeping records, block size and thread count change none of the counts.
    AnalysisResults withoutRecords = b.results;
    withoutRecords.cycleRecords.clear();
    EXPECT_EQ(withoutRecords, a.results);

    CycleDrawer drawer(kept, 12);
    const EvaluatedSlots slots = evaluatedSlots(kept.criteria);
    for (int k = 0; k < slots.count; ++k) {
        const CriterionSlot& c = kept.criteria[static_cast<std::size_t>(slots.slot[k])];
        int exceeded = 0;
        double damage = 0.0;
        for (const CycleRecord& r : b.results.cycleRecords) {
            if (c.responseType != HorizontalStrainDistribution)
                exceeded += exceeds(r.criticalValue[k], c.threshold) ? 1 : 0;
            damage += r.damagePerMillion[k];
        }
        if (c.responseType != HorizontalStrainDistribution) {
            EXPECT_EQ(exceeded, b.results.exceedCount[slots.slot[k]]) << "slot " << slots.slot[k];
        }
        // Summed in the same order, so equal to the last bit.
        EXPECT_EQ(damage, b.results.damagePerMillion[slots.slot[k]]);
    }
    for (const CycleRecord& r : b.results.cycleRecords) {
        EXPECT_EQ(r.sample, drawer.next());
        const int tires = kTiresPerConfiguration[static_cast<std::size_t>(r.sample.configuration)];
        EXPECT_DOUBLE_EQ(r.sample.loadPerTire * tires, 1000.0 + 2000.0 * r.loadBin);
    }
}

TEST(RunRecords, StopWhenEndsTheRunAfterTheCycleThatSettlesIt) {
    CStenorDoc work = testing::perpetualInterstateExample();
    const CStenorDoc before = work;
    const int slot = evaluatedSlots(work.criteria).slot[0];
    AnalysisRunOptions o = options(3000, 2, 32);
    o.keepCycleRecords = true;
    const auto full = runAnalysis(work, factoryOf<SmoothResponseModel>(), o);
    work = before;
    const int limit = full.results.exceedCount[static_cast<std::size_t>(slot)] / 3;
    ASSERT_GT(limit, 1);
    int asked = 0;
    o.stopWhen = [&](const AnalysisResults& r, int cycles) {
        ++asked;
        EXPECT_EQ(cycles, r.cyclesRun);
        return r.exceedCount[static_cast<std::size_t>(slot)] > limit;
    };
    const auto path = std::filesystem::temp_directory_path() / "ardelon-stopped-run.ad";
    std::filesystem::remove(path);
    o.rawDataPath = path.string();
    const auto stopped = runAnalysis(work, factoryOf<SmoothResponseModel>(), o);
    ASSERT_EQ(stopped.status, AnalysisStatus::Stopped);
    EXPECT_EQ(asked, stopped.results.cyclesRun);
    EXPECT_EQ(stopped.results.exceedCount[static_cast<std::size_t>(slot)], limit + 1);
    EXPECT_LT(stopped.results.cyclesRun, 3000);
    EXPECT_TRUE(std::equal(stopped.results.cycleRecords.begin(), stopped.results.cycleRecords.end(),
                           full.results.cycleRecords.begin()));
    EXPECT_TRUE(stopped.lists.empty());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(work, before);
}

// Finite responses except for the deflection of the second point (asked for by the surface
// criterion) from the third call on.
class FailingModel : public SmoothResponseModel {
  public:
    void computeResponses(const LayerSystem& system, std::span<const CircularLoad> loads,
                          std::span<const EvaluationPoint> points, ResponseTable& table) override {
        SmoothResponseModel::computeResponses(system, loads, points, table);
        if (++calls_ >= 3)
            table.at(DispZ, 1) = std::nan("");
    }

  private:
    int calls_ = 0;
};

TEST(RunRecords, AResponseThatIsNotANumberFailsTheRunAndChangesNothing) {
    CStenorDoc work = testing::perpetualInterstateExample();
    const CStenorDoc before = work;
    const auto out = runAnalysis(work, factoryOf<FailingModel>(), options(100, 1, 256));
    EXPECT_EQ(out.status, AnalysisStatus::Failed);
    EXPECT_EQ(out.refusal.caption, "Layered Elastic Analysis");
    EXPECT_EQ(out.refusal.text,
              "The layered elastic analysis of cycle 3 failed: DispZ of point 2 is not a finite "
              "number. The run was stopped and no results were kept.");
    EXPECT_EQ(work, before);
}

}  // namespace
}  // namespace ardelon
