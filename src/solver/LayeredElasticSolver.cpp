// The call: the points, loads and layers prepared in the solver's units (lengths over the top
// layer's thickness), the march over the transform parameter in panels, and the table of
// responses.
#include "solver/LayeredElasticSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "solver/IntegralSlots.h"

namespace ardelon {

using namespace layered;

namespace {

// Weddle's rule in panels of six steps: weights 1, 5, 1, 6, 1, 5, 1 times 3h/10; the shared end
// of two panels carries 2. The constant is 3 × 0.1 in double arithmetic.
constexpr double kWeddleFactor = 0.30000000000000004;
constexpr std::array<double, 6> kWeddleWeights = {5.0, 1.0, 6.0, 1.0, 5.0, 2.0};
// Simpson's rule: weights 4, 2 times h/3; its end weight at m = 0 is h0/3 as well.
constexpr double kSimpsonFactor = 0.3333333333333333;
constexpr std::array<double, 2> kSimpsonWeights = {4.0, 2.0};

// The first step resolves the kernel's own scale near m = 0: a layer stiffer than what lies below
// it bends like a plate over the length z (E / E_below)^(1/3) (z its bottom depth), and the kernel
// changes over the inverse of the longest such length.
constexpr double kFlexuralStep = 0.1;
// Near m = 0 a step grows to at most this share of m.
constexpr double kProportionalStep = 0.1;

// The integral slots a point's requested rows need.
unsigned slotsFor(ResponseMask mask) {
    constexpr ResponseMask principal = responseBit(Sigma1) | responseBit(Sigma2) |
                                       responseBit(Sigma3) | responseBit(Eps1) | responseBit(Eps2) |
                                       responseBit(Eps3);
    constexpr ResponseMask directStrain = responseBit(EpsX) | responseBit(EpsY) | responseBit(EpsZ);
    const auto slot = [](int s) { return 1u << s; };
    unsigned slots = 0;
    if (mask & principal)
        slots |= slot(SX) | slot(SY) | slot(SZ) | slot(TYZ) | slot(TXZ) | slot(TXY);
    if (mask & directStrain)
        slots |= slot(SX) | slot(SY) | slot(SZ);
    const std::pair<int, int> direct[] = {{SigmaX, SX}, {SigmaY, SY}, {SigmaZ, SZ},
                                          {TauYZ, TYZ}, {TauXZ, TXZ}, {TauXY, TXY},
                                          {DispX, UX},  {DispY, UY},  {DispZ, W}};
    for (const auto& [row, s] : direct) {
        if (mask & responseBit(row))
            slots |= slot(s);
    }
    return slots;
}

}  // namespace

ResponseTable LayeredElasticSolver::computeResponses(const LayerSystem& system,
                                                     const CircularLoad* loads, int loadCount,
                                                     const EvaluationPoint* points,
                                                     int pointCount) {
    ResponseTable table;
    (void)computeResponses(system, loads, loadCount, points, pointCount, table);
    return table;
}

void LayeredElasticSolver::prepare(const LayerSystem& system, const CircularLoad* loads,
                                   const EvaluationPoint* points) {
    h1_ = system.thickness[0];
    layers_ = normaliseLayers(system.modulus, system.thickness, system.poisson, system.bond);
    weddle_ = system.bond[0] != 0.0 && system.bond[1] != 0.0;
    solution_ = weddle_ ? CoefficientSolution::General : CoefficientSolution::Slip;
    findHalfSpace(layers_, solution_);

    radiusCount_ = 0;
    for (int j = 0; j < loadCount_; ++j) {
        pressure_[j] = loads[j].pressure;
        radius_[j] = loads[j].radius / h1_;
        qa_[j] = pressure_[j] * radius_[j];
        // Wheels of one tyre share one radius, and so J1(m a).
        int k = 0;
        while (k < radiusCount_ && distinctRadius_[k] != radius_[j])
            ++k;
        if (k == radiusCount_)
            distinctRadius_[radiusCount_++] = radius_[j];
        radiusIndex_[j] = k;
    }
    for (int i = 0; i < pointCount_; ++i) {
        const EvaluationPoint& p = points[i];
        depth_[i] = p.depth / h1_;
        // Below the semi-infinite layer solved for, a point lies in the same material.
        layer_[i] = std::min(p.layer - 1, layers_.halfSpace);
        // A point at depth 0 lies on the surface of layer 1 whatever layer number it carries.
        if (depth_[i] == 0.0) {
            kind_[i] = PointKind::Surface;
            layer_[i] = 0;
        } else {
            kind_[i] = layer_[i] == 0 ? PointKind::LayerOne : PointKind::Deep;
        }
        slots_[i] = slotsFor(p.responses);
        const double px = p.x / h1_, py = p.y / h1_;
        for (int j = 0; j < loadCount_; ++j) {
            const int pair = i * loadCount_ + j;
            const double dx = px - loads[j].x / h1_;
            const double dy = py - loads[j].y / h1_;
            const double r = std::sqrt(dx * dx + dy * dy);
            const double theta = r == 0.0 ? 0.0 : std::atan2(dy, dx);
            distance_[pair] = r;
            cosTheta_[pair] = std::cos(theta);
            sinTheta_[pair] = std::sin(theta);
            cos2Theta_[pair] = std::cos(2.0 * theta);
            sin2Theta_[pair] = std::sin(2.0 * theta);
        }
    }
    chooseFarRules();
    planCount_ = 0;
    for (int i = 0; i < pointCount_; ++i) {
        int p = 0;
        while (p < planCount_ && !(points[planLeader_[p]].x == points[i].x &&
                                   points[planLeader_[p]].y == points[i].y)) {
            ++p;
        }
        if (p == planCount_)
            planLeader_[planCount_++] = i;
        plan_[i] = p;
    }
    groupCount_ = 0;
    for (int i = 0; i < pointCount_; ++i) {
        int g = 0;
        while (g < groupCount_ &&
               !(kind_[groupLeader_[g]] == kind_[i] && layer_[groupLeader_[g]] == layer_[i] &&
                 depth_[groupLeader_[g]] == depth_[i])) {
            ++g;
        }
        if (g == groupCount_)
            groupLeader_[groupCount_++] = i;
        group_[i] = g;
    }
    // The lengths over which each group's brackets decay: the surface from interface 1; a layer-1
    // point from interface 1 and from its image above the surface; a deeper point from the bottom
    // and the top of its layer (the subgrade has no bottom).
    const double z1 = layers_.interface[0];
    for (int g = 0; g < groupCount_; ++g) {
        const int leader = groupLeader_[g];
        const double z = depth_[leader];
        const int layer = layer_[leader];
        switch (kind_[leader]) {
            case PointKind::Surface:
                decayLengthA_[g] = z1;
                decayLengthB_[g] = 0.0;
                break;
            case PointKind::LayerOne:
                decayLengthA_[g] = z1 - z;
                decayLengthB_[g] = z + z1;
                break;
            default:
                decayLengthA_[g] = layer == layers_.halfSpace ? 0.0 : layers_.interface[layer] - z;
                decayLengthB_[g] = z - layers_.top[layer];
        }
    }
    decayStep_ = 0.0;
    preparePairs();
    // The length scales of the step: the widest reach r + a of a Bessel product, and how fast
    // each point's integrands decay (the layer-1 correction from interface 1 and its image, the
    // field below layer 1 from the surface).
    slotUnion_ = 0;
    for (int i = 0; i < pointCount_; ++i) {
        slotUnion_ |= slots_[i];
        active_[i] = i;
    }
    activeCount_ = pointCount_;
    updateReach();
    scaleCount_ = 0;
    for (int i = 0; i < pointCount_; ++i) {
        decayLength_[scaleCount_++] =
            kind_[i] == PointKind::Deep ? depth_[i] : 2.0 * z1 - depth_[i];
    }
    // The kernel varies over 1 / z near m = 0 for every interface depth z that the field sees:
    // a change of material or an interface that is not fully bonded.
    for (int k = 0; k < 4; ++k) {
        if (!interfaceIsSeamless(layers_, solution_, k))
            decayLength_[scaleCount_++] = layers_.interface[k];
    }
}

void LayeredElasticSolver::preparePairs() {
    pairCount_ = pointCount_ * loadCount_;
    std::array<int, kPairs> order;
    for (int pair = 0; pair < pairCount_; ++pair)
        order[pair] = pair;
    // Ties keep the pair order, so the layout never depends on the sort (and nothing allocates).
    std::sort(order.begin(), order.begin() + pairCount_, [this](int l, int r) {
        return distance_[l] < distance_[r] || (distance_[l] == distance_[r] && l < r);
    });
    // Pairs at the same plan distance (the same plan position at several depths, symmetric
    // wheels) share their Bessel values: one entry per distinct distance.
    distanceCount_ = 0;
    for (int k = 0; k < pairCount_; ++k) {
        const int pair = order[k];
        const double r = distance_[pair];
        if (distanceCount_ == 0 || sortedDistance_[distanceCount_ - 1] != r) {
            sortedDistance_[distanceCount_] = r;
            // sqrt(2 / (pi x)) = sortedAmplitude / sqrt(m) in the asymptotic forms.
            sortedAmplitude_[distanceCount_] = r == 0.0 ? 0.0 : std::sqrt(kTwoOverPi / r);
            sortedInverse_[distanceCount_] = r == 0.0 ? 0.0 : 1.0 / r;
            ++distanceCount_;
        }
        sortedIndex_[pair] = distanceCount_ - 1;
    }
    seriesCount_ = distanceCount_;
    filonBegin_ = distanceCount_;
    phaseBegin_ = distanceCount_;
    phaseStep_ = 0.0;
}

void LayeredElasticSolver::writeTable(ResponseTable& table, double h0,
                                      const EvaluationPoint* points) const {
    constexpr double kNotComputed = std::numeric_limits<double>::quiet_NaN();
    constexpr ResponseMask principalRows = responseBit(Sigma1) | responseBit(Sigma2) |
                                           responseBit(Sigma3) | responseBit(Eps1) |
                                           responseBit(Eps2) | responseBit(Eps3);
    for (int i = 0; i < pointCount_; ++i) {
        const ResponseMask mask = points[i].responses;
        const double sx = integral_[SX][i], sy = integral_[SY][i], sz = integral_[SZ][i];
        const double tyz = integral_[TYZ][i], txz = integral_[TXZ][i], txy = integral_[TXY][i];
        const double e = layers_.modulus[layer_[i]], nu = layers_.poisson[layer_[i]];
        std::array<double, kResponseRows> row;
        row[SigmaX] = sx;
        row[SigmaY] = sy;
        row[SigmaZ] = sz;
        row[TauYZ] = tyz;
        row[TauXZ] = txz;
        row[TauXY] = txy;
        row[DispX] = integral_[UX][i] * h1_;
        row[DispY] = integral_[UY][i] * h1_;
        row[DispZ] = integral_[W][i] * h1_;
        if (mask & principalRows) {
            const auto principal = principalStresses(sx, sy, sz, tyz, txz, txy);
            row[Sigma1] = principal[0];
            row[Sigma2] = principal[1];
            row[Sigma3] = principal[2];
            row[Eps1] = (principal[0] - nu * (principal[1] + principal[2])) / e;
            row[Eps2] = (principal[1] - nu * (principal[0] + principal[2])) / e;
            row[Eps3] = (principal[2] - nu * (principal[0] + principal[1])) / e;
        }
        row[EpsX] = (sx - nu * (sy + sz)) / e;
        row[EpsY] = (sy - nu * (sx + sz)) / e;
        row[EpsZ] = (sz - nu * (sx + sy)) / e;
        row[InitialStep] = h0;
        for (int r = 0; r < kResponseRows; ++r)
            table.at(r, i) = (mask & responseBit(r)) ? row[r] : kNotComputed;
    }
}

const char* LayeredElasticSolver::failureText() const {
    switch (status_) {
        case SolverStatus::MarchLimit:
            return "the integration over the transform parameter did not converge";
        case SolverStatus::NotFinite:
            return "a response is not a finite number";
        case SolverStatus::Cancelled:
            return "the analysis was cancelled";
        default:
            return "";
    }
}

bool LayeredElasticSolver::mayStep() {
    ++steps_;
    if (steps_ > kMaxMarchSteps) {
        status_ = SolverStatus::MarchLimit;
        return false;
    }
    if (cancel_ != nullptr && steps_ % kCancelCheckSteps == 0 &&
        cancel_->load(std::memory_order_relaxed)) {
        status_ = SolverStatus::Cancelled;
        return false;
    }
    return true;
}

SolverStatus LayeredElasticSolver::computeResponses(const LayerSystem& system,
                                                    const CircularLoad* loads, int loadCount,
                                                    const EvaluationPoint* points, int pointCount,
                                                    ResponseTable& table) {
    loadCount_ = loadCount;
    pointCount_ = pointCount;
    status_ = SolverStatus::Computed;
    steps_ = 0;
    // On any failure the table holds no numbers.
    const auto fail = [&] {
        for (int row = 0; row < kResponseRows; ++row) {
            for (int i = 0; i < pointCount_; ++i)
                table.at(row, i) = std::numeric_limits<double>::quiet_NaN();
        }
        return status_;
    };
    prepare(system, loads, points);

    double tolerance = 0.0;
    double kernelStep = initialStep(tolerance);
    if (status_ != SolverStatus::Computed)
        return fail();
    const double bendingLength = flexuralLength();
    if (!std::isfinite(bendingLength)) {
        status_ = SolverStatus::NotFinite;  // a modulus ratio beyond the doubles
        return fail();
    }
    const double h0 = std::min({kernelStep, stepCap(0.0), kFlexuralStep / bendingLength});
    if (!(h0 > 0.0)) {
        status_ = SolverStatus::MarchLimit;  // a march that cannot advance never ends
        return fail();
    }

    prepareHalfSpace();
    for (auto& row : integral_)
        std::fill(row.begin(), row.begin() + pointCount_, 0.0);
    const double ruleFactor = weddle_ ? kWeddleFactor : kSimpsonFactor;
    addEndPointTerm(h0, ruleFactor);
    for (auto& row : reachable_)
        std::fill(row.begin(), row.begin() + groupCount_, 0.0);
    for (auto& row : lastBound_)
        std::fill(row.begin(), row.begin() + groupCount_, 0.0);
    reference_.fill(0.0);
    lastPanelEnd_ = 0.0;

    double m = 0.0, h = h0;
    const int panelSteps = weddle_ ? 6 : 2;
    int position = 0;  // position within the panel
    // Every node writes the weights it reads: nothing to clear per call.
    auto& weight = nodeWeight_;
    auto& partner = partnerWeight_;
    auto& marching = marching_;
    while (activeCount_ > 0) {
        if (!mayStep())
            return fail();
        if (position == 0)
            preparePanel(m, h, panelSteps);
        m += h;
        const bool panelEnd = position == panelSteps - 1;
        evaluateIntegrands(m, h, position);
        if (!panelEnd) {
            const double direct =
                (weddle_ ? kWeddleWeights[position] : kSimpsonWeights[position]) * (ruleFactor * h);
            // Node position + 1 of the panel: odd nodes take Filon's gamma, even ones its beta.
            const auto& filon = position % 2 == 0 ? filonGamma_ : filonBeta_;
            for (int s = 0; s < filonBegin_; ++s)
                weight[s] = direct;
            for (int s = filonBegin_; s < distanceCount_; ++s) {
                weight[s] = filon[s] * h;
                partner[s] = 0.0;
            }
            accumulateNode(weight, partner, active_.data(), activeCount_);
            ++position;
            continue;
        }
        position = 0;
        // A panel end: the points that have converged leave, the distances whose oscillation the
        // next panel would have to follow go over to Filon's rule, and the next step is chosen;
        // then the node takes the end weight of this panel and the start weight of the next.
        const int marchingCount = activeCount_;
        std::copy_n(active_.begin(), activeCount_, marching.begin());
        retireConvergedPoints(m);
        if (!(std::abs(panelCoefficients_[panelSteps - 1].kernel) > tolerance)) {
            // The layered correction has died out here: the kernel allows twice the step.
            tolerance /= 2.0;
            kernelStep *= 2.0;
        }
        const int oldFilon = filonBegin_;
        while (filonBegin_ > 0 && m * sortedDistance_[filonBegin_ - 1] > kBesselSeriesLimit)
            --filonBegin_;
        if (filonBegin_ != oldFilon)
            updateReach();
        // The step follows the kernel's and the length scales' bounds, growing at most twofold
        // and, near m = 0, where the kernel changes over a fraction of m whatever the layers, in
        // proportion to m.
        const double share = weddle_ ? 1.0 : 0.5;
        const double next =
            std::min({kernelStep, stepCap(m), 2.0 * h, std::max(h, share * kProportionalStep * m)});
        for (int s = 0; s < filonBegin_; ++s)
            weight[s] = ruleFactor * (h + next);
        for (int s = filonBegin_; s < distanceCount_; ++s) {
            double alpha, beta, gamma;
            filonCoefficients(sortedDistance_[s] * next, alpha, beta, gamma);
            if (s < oldFilon) {
                weight[s] = ruleFactor * h + 0.5 * beta * next;
                partner[s] = -alpha * next;
            } else {
                weight[s] = 0.5 * (filonBeta_[s] * h + beta * next);
                partner[s] = filonAlpha_[s] * h - alpha * next;
            }
            filonAlpha_[s] = alpha;
            filonBeta_[s] = beta;
            filonGamma_[s] = gamma;
        }
        accumulateNode(weight, partner, marching.data(), marchingCount);
        h = next;
    }

    closeIntegrals();
    writeTable(table, h0, points);
    for (int row = 0; row < kResponseRows; ++row) {
        for (int i = 0; i < pointCount_; ++i) {
            if ((points[i].responses & responseBit(row)) && !std::isfinite(table.at(row, i))) {
                status_ = SolverStatus::NotFinite;
                return fail();
            }
        }
    }
    return status_;
}

}  // namespace ardelon
