#pragma once
// What the layered elastic solver answers: 19 response rows at each of up to 50 evaluation
// points. The project keeps the table of the last analysed cycle, so it stands apart from the
// rest of the solver's call contract.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ardelon {

inline constexpr int kMaxPoints = 50;
inline constexpr int kResponseRows = 19;

enum ResponseRow : int {
    SigmaX = 0,
    SigmaY = 1,
    SigmaZ = 2,
    TauYZ = 3,
    TauXZ = 4,
    TauXY = 5,
    Sigma1 = 6,
    Sigma2 = 7,
    Sigma3 = 8,
    Eps1 = 9,
    Eps2 = 10,
    Eps3 = 11,
    DispX = 12,
    DispY = 13,
    DispZ = 14,
    EpsX = 15,
    EpsY = 16,
    EpsZ = 17,
    InitialStep = 18,
};

// The row names, in row order, as tables and files name them.
inline constexpr const char* kResponseRowNames[kResponseRows] = {
    "SigmaX", "SigmaY", "SigmaZ", "TauYZ", "TauXZ",      "TauXY", "Sigma1",
    "Sigma2", "Sigma3", "Eps1",   "Eps2",  "Eps3",       "DispX", "DispY",
    "DispZ",  "EpsX",   "EpsY",   "EpsZ",  "InitialStep"};

// A set of response rows, one bit per row: what a caller asks for at a point.
using ResponseMask = std::uint32_t;
inline constexpr ResponseMask kAllResponses = (ResponseMask{1} << kResponseRows) - 1;
constexpr ResponseMask responseBit(int row) {
    return ResponseMask{1} << row;
}

// 19 rows of 50 points, row-major: row r of point i stands at index r × 50 + i.
struct ResponseTable {
    std::array<double, kResponseRows * kMaxPoints> values{};

    double& at(int row, int point) {
        return values[static_cast<std::size_t>(row * kMaxPoints + point)];
    }
    double at(int row, int point) const {
        return values[static_cast<std::size_t>(row * kMaxPoints + point)];
    }
    bool operator==(const ResponseTable&) const = default;
};

}  // namespace ardelon
