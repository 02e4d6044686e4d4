// Random layered systems against the responses a trusted build of the solver gave for them.
//
// The systems come from a fixed pseudo-random sequence: 2 to 5 distinct layers (the layers below
// the last distinct one repeat the subgrade), moduli 5e3 to 5e6 psi, thicknesses 1 to 30 in.,
// every combination of full bond, full slip and partial bond at the three interfaces, 1 to 6
// wheels and points at the surface and in every layer. The recorded tables sit in
// data/solver-reference.bin (little-endian doubles, 19 rows per point, point after point).
// Running this test with ARDELON_WRITE_SOLVER_REFERENCE=1 records them afresh from the build
// under test: do that only from a build whose results are trusted.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "solver/LayeredElasticSolver.h"
#include "support/TestFiles.h"

namespace ardelon::testing {
namespace {

constexpr int kSystems = 216;  // 8 of each of the 27 bond combinations

// SplitMix64: a fixed sequence on every platform, unlike the standard distributions.
class Sequence {
  public:
    double uniform(double low, double high) {
        state_ += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return low + (high - low) * static_cast<double>(z >> 11) * 0x1.0p-53;
    }
    int below(int n) { return std::min(n - 1, static_cast<int>(uniform(0, n))); }
    // Moduli spread evenly in their logarithm.
    double modulus() { return std::pow(10.0, uniform(std::log10(5e3), std::log10(5e6))); }

  private:
    std::uint64_t state_ = 20261206;
};

struct Case {
    LayerSystem system;
    std::vector<CircularLoad> loads;
    std::vector<EvaluationPoint> points;
};

Case randomCase(Sequence& random, int index) {
    Case c;
    const int layers = 2 + random.below(4);
    LayerSystem& s = c.system;
    for (int k = 0; k < 5; ++k) {
        s.modulus[k] = k < layers ? random.modulus() : s.modulus[layers - 1];
        s.poisson[k] = k < layers ? random.uniform(0.15, 0.49) : s.poisson[layers - 1];
    }
    for (int k = 0; k < 4; ++k)
        s.thickness[k] = random.uniform(1.0, 30.0);
    const double bondChoice[3] = {1.0, 0.0, random.uniform(0.05, 0.95)};
    for (int k = 0, combination = index % 27; k < 3; ++k, combination /= 3)
        s.bond[k] = bondChoice[combination % 3];

    const int wheels = 1 + random.below(6);
    const bool sharedTyre = random.uniform(0, 1) < 0.5;
    const double radius = random.uniform(3.0, 8.0), pressure = random.uniform(50.0, 150.0);
    for (int j = 0; j < wheels; ++j) {
        c.loads.push_back({sharedTyre ? pressure : random.uniform(50.0, 150.0),
                           sharedTyre ? radius : random.uniform(3.0, 8.0),
                           13.5 * (j % 2) + random.uniform(-1, 1), 54.0 * (j / 2)});
    }
    // One plan position under the first wheel's centre, one anywhere near the axle.
    const double planX[2] = {c.loads[0].x, random.uniform(-20, 40)};
    const double planY[2] = {c.loads[0].y, random.uniform(-20, 120)};
    double top = 0.0;
    c.points.push_back({planX[1], planY[1], 0.0, 1});
    for (int k = 0; k < layers; ++k) {
        const double thick = k < 4 ? s.thickness[k] : 30.0;
        // A quarter of the points at the bottom face of their layer, where criteria sit.
        const double share = random.uniform(0, 1) < 0.25 ? 1.0 : random.uniform(0.02, 0.98);
        const int plan = random.below(2);
        c.points.push_back({planX[plan], planY[plan], top + share * thick, k + 1});
        if (k < 4)
            top += s.thickness[k];
    }
    c.points.push_back({planX[0], planY[0], random.uniform(0.05, 0.95) * s.thickness[0], 1});
    return c;
}

std::string referencePath() {
    const char* source = std::getenv("ARDELON_SOURCE_DIR");
    return std::string(source ? source : ".") + "/tests/solver/data/solver-reference.bin";
}

TEST(SolverReference, RandomSystemsAgreeWithTheRecordedResponses) {
    const bool record = std::getenv("ARDELON_WRITE_SOLVER_REFERENCE") != nullptr;
    std::vector<double> recorded;
    if (!record) {
        const std::string bytes = readBytes(referencePath());
        ASSERT_FALSE(bytes.empty()) << referencePath();
        recorded.resize(bytes.size() / sizeof(double));
        std::memcpy(recorded.data(), bytes.data(), recorded.size() * sizeof(double));
    }
    auto solver = std::make_unique<LayeredElasticSolver>();
    auto table = std::make_unique<ResponseTable>();
    std::vector<double> computed;
    Sequence random;
    for (int index = 0; index < kSystems; ++index) {
        const Case c = randomCase(random, index);
        const int points = static_cast<int>(c.points.size());
        solver->computeResponses(c.system, c.loads.data(), static_cast<int>(c.loads.size()),
                                 c.points.data(), points, *table);
        const std::size_t first = computed.size();
        for (int i = 0; i < points; ++i) {
            for (int row = 0; row < kResponseRows; ++row)
                computed.push_back(table->at(row, i));
        }
        if (record)
            continue;
        ASSERT_GE(recorded.size(), computed.size()) << "system " << index;
        // Principal values come from the trigonometric roots of the characteristic cubic, which
        // keep only about half the digits of the stresses at a nearly double root: they are held
        // to 1e-7 of the point's largest principal stress (and the strains to that over E).
        std::vector<double> principalScale(points), strainScale(points);
        for (int i = 0; i < points; ++i) {
            const double* row = &recorded[first + i * kResponseRows];
            principalScale[i] =
                std::max({std::abs(row[Sigma1]), std::abs(row[Sigma2]), std::abs(row[Sigma3])}) *
                1e-7;
            const int layer = c.points[i].depth == 0.0 ? 0 : c.points[i].layer - 1;
            strainScale[i] =
                principalScale[i] * (1.0 + 2.0 * c.system.poisson[layer]) / c.system.modulus[layer];
        }
        for (int row = 0; row < kResponseRows; ++row) {
            double largest = 0.0;
            for (int i = 0; i < points; ++i)
                largest = std::max(largest, std::abs(recorded[first + i * kResponseRows + row]));
            for (int i = 0; i < points; ++i) {
                const double expected = recorded[first + i * kResponseRows + row];
                const double actual = computed[first + i * kResponseRows + row];
                const double allowed = 1e-8 * std::abs(expected) +
                                       (row >= Sigma1 && row <= Sigma3 ? principalScale[i] : 0.0) +
                                       (row >= Eps1 && row <= Eps3 ? strainScale[i] : 0.0);
                if (std::abs(expected) > 1e-6 * largest) {
                    EXPECT_LE(std::abs(actual - expected), allowed)
                        << "system " << index << ", " << kResponseRowNames[row] << " of point " << i
                        << ": " << actual << " against " << expected;
                }
            }
        }
    }
    if (record) {
        std::ofstream out(referencePath(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(computed.data()),
                  static_cast<std::streamsize>(computed.size() * sizeof(double)));
        ASSERT_TRUE(out.good());
    } else {
        EXPECT_EQ(recorded.size(), computed.size());
    }
}

// A caller that asks for some rows gets exactly those of the full computation, bit for bit, and
// not-a-number in the others: the march never depends on what is asked.
class RequestedResponses : public ::testing::TestWithParam<std::vector<ResponseMask>> {};

TEST_P(RequestedResponses, EqualTheFullComputationBitForBit) {
    // Point i asks for the mask i modulo their count, so one call mixes several requests.
    const std::vector<ResponseMask>& masks = GetParam();
    auto solver = std::make_unique<LayeredElasticSolver>();
    auto full = std::make_unique<ResponseTable>();
    auto some = std::make_unique<ResponseTable>();
    Sequence random;
    for (int index = 0; index < kSystems; ++index) {
        Case c = randomCase(random, index);
        const int points = static_cast<int>(c.points.size());
        const int loads = static_cast<int>(c.loads.size());
        solver->computeResponses(c.system, c.loads.data(), loads, c.points.data(), points, *full);
        const int fullSteps = solver->stepCount();
        for (int i = 0; i < points; ++i)
            c.points[i].responses = masks[i % masks.size()];
        solver->computeResponses(c.system, c.loads.data(), loads, c.points.data(), points, *some);
        ASSERT_EQ(solver->status(), SolverStatus::Computed) << "system " << index;
        EXPECT_EQ(solver->stepCount(), fullSteps) << "system " << index;
        for (int i = 0; i < points; ++i) {
            for (int row = 0; row < kResponseRows; ++row) {
                const double value = some->at(row, i);
                if (c.points[i].responses & responseBit(row)) {
                    ASSERT_EQ(std::memcmp(&value, &full->at(row, i), sizeof value), 0)
                        << "system " << index << ", " << kResponseRowNames[row] << " of point " << i
                        << ": " << value << " against " << full->at(row, i);
                } else {
                    ASSERT_TRUE(std::isnan(value)) << kResponseRowNames[row] << " of point " << i;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, RequestedResponses,
    ::testing::Values(
        // A basin, a vertical strain, the horizontal strains of the fatigue criteria.
        std::vector<ResponseMask>{responseBit(DispZ)}, std::vector<ResponseMask>{responseBit(EpsZ)},
        std::vector<ResponseMask>{responseBit(EpsX) | responseBit(EpsY)},
        // Principal values beside single stresses and displacements, and a point asking nothing.
        std::vector<ResponseMask>{responseBit(Sigma1) | responseBit(Eps3), responseBit(TauXY),
                                  responseBit(DispX) | responseBit(TauYZ), 0},
        std::vector<ResponseMask>{responseBit(SigmaZ) | responseBit(DispY),
                                  responseBit(TauXZ) | responseBit(SigmaX),
                                  responseBit(Eps2) | responseBit(InitialStep), kAllResponses}));

}  // namespace
}  // namespace ardelon::testing
