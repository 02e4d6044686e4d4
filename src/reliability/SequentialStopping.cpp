#include "reliability/SequentialStopping.h"

namespace ardelon {
namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

void SettlingDamage::addCycle(const std::array<double, kSlotCount>& cycleDamage) {
    for (int k = 0; k < slots_.count; ++k)
        damage_[at(k)].push_back(cycleDamage[at(k)]);
    ++cycles_;
}

void SettlingDamage::sumsAt(int cycles, AnalysisResults& results) const {
    for (int k = 0; k < slots_.count; ++k) {
        const int slot = slots_.slot[at(k)];
        double sum = 0.0, squares = 0.0;
        for (int c = 0; c < cycles; ++c) {
            const double x = damage_[at(k)][at(c)];
            if (x == 0.0)
                continue;  // a cycle without damage adds nothing in the fixed run either
            const double share = x / cycles;
            sum += share;
            squares += share * share;
        }
        results.damagePerMillion[at(slot)] = sum;
        results.damageShareSquareSum[at(slot)] = squares;
        // The last cycle's share, as a fixed run leaves it.
        results.cycleDamage[at(k)] = cycles > 0 ? damage_[at(k)][at(cycles - 1)] / cycles : 0.0;
    }
}

void SettlingDamage::divideRecords(int cycles, std::vector<CycleRecord>& records) const {
    for (std::size_t c = 0; c < records.size() && c < at(cycles); ++c) {
        for (int k = 0; k < slots_.count; ++k)
            records[c].damagePerMillion[at(k)] = damage_[at(k)][c] / cycles;
    }
}

}  // namespace ardelon
