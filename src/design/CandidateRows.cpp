#include "design/CandidateRows.h"

#include "criteria/ResponseType.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

constexpr const char* kLocationWords[] = {"Top", "Middle", "Bottom"};

}  // namespace

std::string criterionName(const CStenorDoc& work, int slot) {
    const CriterionSlot& c = work.criteria[at(slot)];
    const std::string name = c.responseType == HorizontalStrainDistribution
                                 ? std::string("Tensile Strain")
                                 : std::string(responseName(c.responseType).name);
    return "Layer " + std::to_string(slotLayer(slot)) + " " + kLocationWords[slotPosition(slot)] +
           " " + name;
}

// Row i of list 2 fails with this many exceedances or more: found with the lists themselves, so
// that the rule and its rounding are the lists' own.
int exceedancesThatFail(const CStenorDoc& work, int cycles, std::size_t row) {
    AnalysisResults r;
    r.cycles = cycles;
    const PercentileRow shape = buildResultLists(work, r).percentile[row];
    auto fails = [&](int e) {
        if (shape.level >= 0)
            r.limitExceedCount[at(shape.level)][at(shape.slot)] = e;
        else
            r.exceedCount[at(shape.slot)] = e;
        return !buildResultLists(work, r).percentile[row].pass;
    };
    if (!fails(cycles))
        return cycles + 1;
    int low = 0, high = cycles;  // fails(high) holds
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (fails(mid))
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

int exceedancesOf(const AnalysisResults& r, const PercentileRow& row) {
    return row.level >= 0 ? r.limitExceedCount[at(row.level)][at(row.slot)]
                          : r.exceedCount[at(row.slot)];
}

// A candidate's run until settled can end: a row settled Fail, or every row settled Pass.
bool decided(const ResultLists& lists) {
    for (const PercentileRow& r : lists.percentile) {
        if (r.settled.verdict == Verdict::Fail)
            return true;
    }
    for (const TransferFunctionRow& r : lists.transferFunction) {
        if (r.lifeChecked && r.settledYears.verdict == Verdict::Fail)
            return true;
    }
    return lists.settled();
}

std::string nothingCanFail(const CStenorDoc& work, bool designLife) {
    AnalysisResults empty;
    empty.cycles = 1;
    const ResultLists lists = buildResultLists(work, empty);
    if (!lists.percentile.empty() || (designLife && !lists.transferFunction.empty()))
        return {};
    if (lists.transferFunction.empty())
        return "No active criterion can fail: the project has no percentile criterion and no "
               "transfer function, so every candidate would pass. Activate a criterion first.";
    return "No active criterion can fail: the project has no percentile criterion, and its "
           "transfer-function rows are checked only against a design life. Give a design life "
           "(--life) or activate a percentile criterion.";
}

}  // namespace ardelon
