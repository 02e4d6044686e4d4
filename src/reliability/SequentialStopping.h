#pragma once
// Running until the verdicts settle: the run goes on in blocks from its seed and looks at its rows
// after every block; it ends when the rows are settled (or at the most cycles allowed) with
// exactly the results a fixed run of that many cycles gives.
//
// The looks cost no confidence: the verdicts come from confidence sequences (SettledVerdict.h),
// which hold at every cycle count at once.
//
// A fixed run adds every cycle's damage divided by N as it goes. A run that does not know its N
// keeps each cycle's damage whole and forms the sums at a look in the same order and with the same
// divisions, so that they equal the fixed run's to the last bit.

#include <vector>

#include "reliability/AnalysisResults.h"
#include "reliability/CycleGeometry.h"

namespace ardelon {

inline constexpr int kDefaultMaxSettleCycles = 100000;
// Every cycle's damage is kept in memory: at most this many cycles.
inline constexpr int kMaxSettleCycles = 1000000;

class SettlingDamage {
  public:
    explicit SettlingDamage(const EvaluatedSlots& slots) : slots_(slots) {}

    // The damage per million of one cycle, per evaluated slot in slot order (undivided).
    void addCycle(const std::array<double, kSlotCount>& cycleDamage);
    int cycles() const { return cycles_; }

    // Writes into `results` the damage sums of the first `cycles` cycles, and the last one's
    // share, as a fixed run of that many cycles forms them.
    void sumsAt(int cycles, AnalysisResults& results) const;
    // The cycle records' damage as a fixed run of `cycles` cycles keeps it.
    void divideRecords(int cycles, std::vector<CycleRecord>& records) const;

  private:
    EvaluatedSlots slots_;
    std::vector<std::vector<double>> damage_{static_cast<std::size_t>(kSlotCount)};
    int cycles_ = 0;
};

}  // namespace ardelon
