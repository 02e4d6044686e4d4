#include "trials/PairedDifference.h"

#include <algorithm>
#include <cmath>

namespace ardelon {

double twoSidedNormalQuantile(double confidence) {
    // Bisection on the upper tail 0.5 erfc(z / √2) = (1 − confidence) / 2.
    const double tail = (1.0 - confidence) / 2.0;
    double low = 0.0, high = 40.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (low + high);
        if (0.5 * std::erfc(mid / std::sqrt(2.0)) > tail)
            low = mid;
        else
            high = mid;
    }
    return 0.5 * (low + high);
}

PairedInterval pairedDifference(int firstOnly, int secondOnly, int cycles, double confidence) {
    PairedInterval p;
    if (cycles <= 0)
        return p;
    const double n = cycles;
    const double b = firstOnly, c = secondOnly;
    p.difference = 100.0 * (b - c) / n;
    const double nt = n + 2.0;  // half a cycle added to each of the four cells
    const double centre = (b - c) / nt;
    const double variance = ((b + c + 1.0) - (b - c) * (b - c) / nt) / (nt * nt);
    const double half = twoSidedNormalQuantile(confidence) * std::sqrt(std::max(variance, 0.0));
    p.low = 100.0 * std::max(-1.0, centre - half);
    p.high = 100.0 * std::min(1.0, centre + half);
    if (firstOnly == 0 && secondOnly == 0)
        p.verdict = PairedVerdict::Same;
    else if (p.low > 0.0)
        p.verdict = PairedVerdict::FirstBetter;
    else if (p.high < 0.0)
        p.verdict = PairedVerdict::SecondBetter;
    else
        p.verdict = PairedVerdict::NotSettled;
    return p;
}

std::string_view pairedVerdictWord(PairedVerdict verdict) {
    switch (verdict) {
        case PairedVerdict::FirstBetter:
            return "firstBetter";
        case PairedVerdict::SecondBetter:
            return "secondBetter";
        case PairedVerdict::Same:
            return "same";
        case PairedVerdict::NotSettled:
            break;
    }
    return "notSettled";
}

std::string pairedVerdictText(PairedVerdict verdict, std::string_view first,
                              std::string_view second) {
    switch (verdict) {
        case PairedVerdict::FirstBetter:
            return std::string(first) + " better";
        case PairedVerdict::SecondBetter:
            return std::string(second) + " better";
        case PairedVerdict::Same:
            return "same in every cycle";
        case PairedVerdict::NotSettled:
            break;
    }
    return "not settled";
}

}  // namespace ardelon
