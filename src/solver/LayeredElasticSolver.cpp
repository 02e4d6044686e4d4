#include "solver/LayeredElasticSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "solver/KernelBrackets.h"

namespace ardelon {

using namespace layered;

namespace {

// Integral slots of a point.
enum Slot : int { W = 0, UX, UY, SX, SY, SZ, TYZ, TXZ, TXY };

// Weddle's rule in panels of six steps: weights 1, 5, 1, 6, 1, 5, 1 times 3h/10; the shared end
// of two panels carries 2. The constant is 3 × 0.1 in double arithmetic.
constexpr double kWeddleFactor = 0.30000000000000004;
constexpr std::array<double, 6> kWeddleWeights = {5.0, 1.0, 6.0, 1.0, 5.0, 2.0};
// Simpson's rule: weights 4, 2 times h/3; its end weight at m = 0 is h0/3 as well.
constexpr double kSimpsonFactor = 0.3333333333333333;
constexpr std::array<double, 2> kSimpsonWeights = {4.0, 2.0};

// Step of the search for the kernel minimum that sets the initial step.
constexpr double kKernelSearchStep = 0.02;
// Step bounds from the length scales: J0(m r) J1(m a) turns through at most 2 pi (r + a) per unit
// of m, so a step of kOscillationStep / (r + a) gives about 11 points per period; while a term
// decaying as exp(-m d) lives, the step is at most kDecayStep / d.
constexpr double kOscillationStep = 0.55;
constexpr double kDecayStep = 0.3;
// Under a load the responses are of the order of its pressure; in a call whose every point lies
// outside every loaded circle each response is a small remainder of its oscillating integrand
// (a frictionless face's shear, the far field of a wide load), and what the rule leaves of the
// oscillation, a share of the integrand's envelope, shows in it. There the step takes
// kFarOscillationStep, about 25 points per period, and the Bessel series run to
// kFineSeriesTermLimit; far points end their march early, so the finer step costs them little.
constexpr double kFarOscillationStep = 0.25;
// On a distance integrated by Filon's rule the step follows only J1(m a) of the loads' radii; in
// a far call at kFarFilonStep, since Filon's amplitude is only piecewise quadratic (this doubles
// the steps of a far call whose load is wide: its march is long for J1(m a)).
constexpr double kFilonStep = 0.15;
constexpr double kFarFilonStep = 0.1;
// Filon's rule is exact only for an amplitude quadratic over two steps: while it integrates some
// distance, the bounds from the interfaces' depths take this share.
constexpr double kFilonDecayShare = 0.5;
constexpr double kLargestStep = 0.2;
// The first step resolves the kernel's own scale near m = 0: a layer stiffer than what lies below
// it bends like a plate over the length z (E / E_below)^(1/3) (z its bottom depth), and the kernel
// changes over the inverse of the longest such length.
constexpr double kFlexuralStep = 0.1;
// Near m = 0 a step grows to at most this share of m.
constexpr double kProportionalStep = 0.1;
// A term has died out once m d reaches this (exp(-30) is 1e-13). An interface at depth z enters
// the kernel through exp(-2 m z) and its powers, gone (exp(-20)) once m z reaches kInterfaceReach.
constexpr double kDecayReach = 30.0;
constexpr double kInterfaceReach = 10.0;
// A point's march ends once the bound on what its integrands can still add is at most kTailShare
// of the largest magnitude its kind of response can reach over the call (a kind that stays below
// kNegligibleShare of the largest of its family counts with that floor). The bound is judged only
// where the point's terms decay, m d >= kTailReach, and takes kTailFactor times the decaying
// envelope, for the powers of m d that multiply the exponential.
constexpr double kTailShare = 2e-7;
constexpr double kNegligibleShare = 1e-4;
constexpr double kTailReach = 2.0;
constexpr double kTailFactor = 3.0;
// Bounds of |J1(x)| (x / 2 near 0, the asymptotic amplitude above) and of |J0|, |J1| and the
// tangential factor of a plan distance (1 near 0, the amplitude above), with a margin for the
// terms the amplitude leaves out.
constexpr double kAmplitudeMargin = 1.1;

double loadEnvelope(double x) {
    return std::min(0.5 * x, kAmplitudeMargin * std::sqrt(kTwoOverPi / x));
}
double distanceEnvelope(double x) {
    return x <= kAmplitudeMargin * kAmplitudeMargin * kTwoOverPi
               ? 1.0
               : kAmplitudeMargin * std::sqrt(kTwoOverPi / x);
}

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
        layer_[i] = p.layer - 1;
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
    bool farCall = true;
    for (int pair = 0; pair < pointCount_ * loadCount_; ++pair)
        farCall = farCall && distance_[pair] > radius_[pair % loadCount_];
    oscillationStep_ = farCall ? kFarOscillationStep : kOscillationStep;
    filonStep_ = farCall ? kFarFilonStep : kFilonStep;
    seriesLimit_ = farCall ? kFineSeriesTermLimit : kSeriesTermLimit;
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
                decayLengthA_[g] = layer == 4 ? 0.0 : layers_.interface[layer] - z;
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
        const bool bonded = weddle_ ? (k == 3 || layers_.bond[k] == 1.0) : k >= 2;
        const bool sameMaterial = layers_.modulus[k] == layers_.modulus[k + 1] &&
                                  layers_.poisson[k] == layers_.poisson[k + 1];
        if (!(bonded && sameMaterial))
            decayLength_[scaleCount_++] = layers_.interface[k];
    }
}

// exp(-m d) of every group's two decay lengths. While the step stays the same each value is
// advanced by the factor exp(-h d) (a relative drift of about one rounding per step, far below
// the tolerances of the march); a new step takes them afresh. As cutExp, a value whose exponent
// reaches the cutoff is zero.
void LayeredElasticSolver::advanceDecays(double m, double h) {
    const bool fresh = h != decayStep_;
    decayStep_ = h;
    for (int g = 0; g < groupCount_; ++g) {
        const double da = decayLengthA_[g], db = decayLengthB_[g];
        if (fresh) {
            exactA_[g] = std::exp(-m * da);
            exactB_[g] = std::exp(-m * db);
            stepA_[g] = std::exp(-h * da);
            stepB_[g] = std::exp(-h * db);
        } else {
            exactA_[g] *= stepA_[g];
            exactB_[g] *= stepB_[g];
        }
        // m only grows, so a value once cut off stays so: it is set to zero rather than
        // advanced into the slow subnormal range.
        const double xa = m * da, xb = m * db;
        if (!(xa < kExponentCutoff && xa > -kExponentCutoff))
            exactA_[g] = 0.0;
        if (!(xb < kExponentCutoff && xb > -kExponentCutoff))
            exactB_[g] = 0.0;
        decayA_[g] = exactA_[g];
        decayB_[g] = exactB_[g];
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

double LayeredElasticSolver::flexuralLength() const {
    double longest = 1.0;  // the top layer's own thickness
    for (int k = 0; k < 4; ++k) {
        double softestBelow = layers_.modulus[k + 1];
        for (int i = k + 2; i < 5; ++i)
            softestBelow = std::min(softestBelow, layers_.modulus[i]);
        const double ratio = layers_.modulus[k] / softestBelow;
        if (ratio > 1.0)
            longest = std::max(longest, layers_.interface[k] * std::cbrt(ratio));
    }
    return longest;
}

// The largest step the length scales allow at m: the oscillation of the Bessel products over the
// whole march, the decay of each point's terms while they live.
double LayeredElasticSolver::stepCap(double m) const {
    // Simpson's rule is of lower order than Weddle's: it takes half the step for the same error.
    const double share = weddle_ ? 1.0 : 0.5;
    double cap =
        std::min(kLargestStep, reach_ > 0.0 ? share * oscillationStep_ / reach_ : kLargestStep);
    if (filonRadius_ > 0.0)
        cap = std::min(cap, share * filonStep_ / filonRadius_);
    // Filon's rule is of lower order: the interfaces' bounds take kFilonDecayShare while it is in
    // use; the points' decay bounds stay.
    double longest = 0.0;
    for (int k = 0; k < activeCount_; ++k) {
        const double d = decayLength_[active_[k]];
        if (m * d < kDecayReach)
            longest = std::max(longest, d);
    }
    if (longest > 0.0)
        cap = std::min(cap, share * kDecayStep / longest);
    longest = 0.0;
    for (int i = pointCount_; i < scaleCount_; ++i) {
        if (m * decayLength_[i] < kInterfaceReach)
            longest = std::max(longest, decayLength_[i]);
    }
    if (longest > 0.0) {
        cap = std::min(
            cap, share * kDecayStep / longest * (filonRadius_ > 0.0 ? kFilonDecayShare : 1.0));
    }
    return cap;
}

// The widest reach r + a of a Bessel product among the points still marching.
void LayeredElasticSolver::updateReach() {
    reach_ = 0.0;
    filonRadius_ = 0.0;
    for (int k = 0; k < activeCount_; ++k) {
        const int i = active_[k];
        for (int j = 0; j < loadCount_; ++j) {
            const int pair = i * loadCount_ + j;
            if (sortedIndex_[pair] < filonBegin_)
                reach_ = std::max(reach_, distance_[pair] + radius_[j]);
            else
                filonRadius_ = std::max(filonRadius_, radius_[j]);
        }
    }
}

// Filon's weights for a panel of steps h on a term oscillating as cos(r m + phase), theta = r h:
// exact for the term times any quadratic, so the step need not follow the oscillation. Below
// theta = 1/6 the series, whose closed forms lose their digits there.
void LayeredElasticSolver::filonCoefficients(double theta, double& alpha, double& beta,
                                             double& gamma) {
    const double t2 = theta * theta;
    if (theta < 1.0 / 6.0) {
        alpha = theta * t2 * (2.0 / 45.0 - t2 * (2.0 / 315.0 - t2 * (2.0 / 4725.0)));
        beta = 2.0 / 3.0 + t2 * (2.0 / 15.0 - t2 * (4.0 / 105.0 - t2 * (2.0 / 567.0)));
        gamma = 4.0 / 3.0 - t2 * (2.0 / 15.0 - t2 * (1.0 / 210.0 - t2 * (1.0 / 11340.0)));
        return;
    }
    const double sine = std::sin(theta), cosine = std::cos(theta);
    const double t3 = t2 * theta, sine2 = 2.0 * sine * cosine;
    alpha = 1.0 / theta + sine2 / (2.0 * t2) - 2.0 * sine * sine / t3;
    beta = 2.0 * ((1.0 + cosine * cosine) / t2 - sine2 / t3);
    gamma = 4.0 * (sine / t3 - cosine / t2);
}

// What each group's integrands can reach, per kind of response: the magnitude of its kernel
// factors in the units of the response (the strains from the factors they combine, since they can
// be small differences of large stresses).
void LayeredElasticSolver::kindBounds(int g, std::array<double, kKinds>& bound) const {
    const int leader = groupLeader_[g];
    const double nu = layers_.poisson[layer_[leader]], e = layers_.modulus[layer_[leader]];
    const double fm = factorM_[g], fz = factorZ_[g] * integralFactor_[SZ][leader];
    bound[0] = std::abs(factorW_[g] * integralFactor_[W][leader]);
    bound[1] = std::abs(factorU_[g] * integralFactor_[UX][leader]);
    bound[2] = std::abs(fm);
    bound[3] = std::abs(factorN_[g]);
    bound[4] = std::abs(fz);
    bound[5] = std::abs(factorT_[g] * integralFactor_[TXZ][leader]);
    bound[6] = std::abs(fz - 2.0 * nu * fm) / e;
    bound[7] = (std::abs((1.0 - nu) * fm - nu * fz) + (1.0 + nu) * std::abs(factorN_[g])) / e;
}

// At a panel end: ends the march of every point whose integrands can no longer add anything that
// shows at the target. The test reads only the kernel factors of the point's depth and the
// envelopes of the Bessel terms, never the integrals, so where a point's march ends depends on
// the structure, the loads and the points, not on the responses asked for.
void LayeredElasticSolver::retireConvergedPoints(double m) {
    double loadSum = 0.0;
    std::array<double, kMaxLoads> load{};
    for (int j = 0; j < loadCount_; ++j) {
        load[j] = qa_[j] * loadEnvelope(m * radius_[j]);
        loadSum += load[j];
    }
    const double width = m - lastPanelEnd_;
    lastPanelEnd_ = m;
    for (int g = 0; g < groupCount_; ++g) {
        std::array<double, kKinds> now;
        kindBounds(g, now);
        for (int k = 0; k < kKinds; ++k) {
            reachable_[k][g] += now[k] * loadSum * width;
            reference_[k] = std::max(reference_[k], reachable_[k][g]);
            bound_[k][g] = std::max(now[k], lastBound_[k][g]);
            lastBound_[k][g] = now[k];
        }
    }
    std::array<double, kKinds> allowed;
    const double families[3] = {std::max(reference_[0], reference_[1]),
                                *std::max_element(reference_.begin() + 2, reference_.begin() + 6),
                                std::max(reference_[6], reference_[7])};
    for (int k = 0; k < kKinds; ++k) {
        const double family = families[k < 2 ? 0 : k < 6 ? 1 : 2];
        allowed[k] = kTailShare * std::max(reference_[k], kNegligibleShare * family);
    }
    int kept = 0;
    for (int n = 0; n < activeCount_; ++n) {
        const int i = active_[n];
        const double d = decayLength_[i];
        bool done = m * d >= kTailReach;
        if (done) {
            double envelope = 0.0;
            for (int j = 0; j < loadCount_; ++j)
                envelope += load[j] * distanceEnvelope(m * distance_[i * loadCount_ + j]);
            const double tail = kTailFactor * envelope / d;
            const int g = group_[i];
            for (int k = 0; k < kKinds && done; ++k)
                done = bound_[k][g] * tail <= allowed[k];
        }
        if (!done)
            active_[kept++] = i;
    }
    if (kept != activeCount_) {
        activeCount_ = kept;
        updateReach();
    }
}

// Initial step of the Weddle scheme, scaled to how far the layered kernel departs from a
// half-space, and the starting tolerance of the significance test.
double LayeredElasticSolver::initialStep(double& tolerance) {
    double aMax = 0.0;
    for (int j = 0; j < loadCount_; ++j)
        aMax = std::max(aMax, radius_[j]);
    double eMin = layers_.modulus[0];
    for (int i = 1; i < 5; ++i) {
        if (layers_.modulus[i] < eMin)
            eMin = layers_.modulus[i];
    }
    const double e1 = layers_.modulus[0], e5 = layers_.modulus[4];
    const double nu1 = layers_.poisson[0], nu5 = layers_.poisson[4];
    const double stiffnessContrast = 1.0 - ((1.0 - nu5 * nu5) * e1) / ((1.0 - nu1 * nu1) * e5);
    const double radiusFactor = 0.5 * std::log10(1.0 / aMax) + 1.0;

    double h0;
    if (e5 > eMin) {
        // March in m until the kernel stops falling: its minimum sets the step and tolerance.
        const double kInfinity = 2.0 * (1.0 - nu1) * stiffnessContrast;
        double kMin = kInfinity;
        LayerCoefficients c;
        double m = 0.0;
        for (;;) {
            if (!mayStep())
                return 0.0;
            m += kKernelSearchStep;
            solveCoefficients(m, layers_, solution_, c);
            if (!(c.kernel < kMin))
                break;
            kMin = c.kernel;
        }
        const double kRef = std::max(std::abs(kMin), std::abs(kInfinity));
        h0 = std::sqrt(1.0 / kRef) * radiusFactor * 0.1;
        tolerance = std::abs(kMin) / 2.0;
    } else {
        // The subgrade is the softest layer.
        h0 = std::sqrt(e5 / e1) * radiusFactor * 0.1;
        tolerance = std::abs((1.0 - nu1) * stiffnessContrast);
    }
    return h0;
}

// The m = 0 end of the integrals: only the deflection integrand is non-zero there; its limit is
// fixed by the subgrade alone (the product of the layer ratios).
void LayeredElasticSolver::addEndPointTerm(double h0, double ruleFactor) {
    const double nu1 = layers_.poisson[0], nu5 = layers_.poisson[4];
    const auto& ratio = layers_.ratio;
    const double surfaceLimit =
        1.0 - ((1.0 - nu5) / (1.0 - nu1)) * ratio[0] * ratio[1] * ratio[2] * ratio[3];
    for (int i = 0; i < pointCount_; ++i) {
        double sum = 0.0;
        const int layer = layer_[i];
        for (int j = 0; j < loadCount_; ++j) {
            const double a = radius_[j], q = pressure_[j];
            if (kind_[i] == PointKind::Surface) {
                sum += surfaceLimit * a * a * h0 * q * (ruleFactor / 4.0);
            } else if (kind_[i] == PointKind::LayerOne) {
                sum += surfaceLimit * a * a * (1.0 - nu1) * q * h0 * ruleFactor;
            } else if (layer < 4) {
                double product = 1.0;
                for (int k = layer; k < 4; ++k)
                    product *= ratio[k];
                sum -= a * a * (1.0 - nu5) * (1.0 + layers_.poisson[layer]) * h0 * product * q *
                       ruleFactor / layers_.modulus[layer];
            } else {
                sum -= a * a * (1.0 - nu5) * (1.0 + nu5) * h0 * q * ruleFactor / layers_.modulus[4];
            }
        }
        integral_[W][i] += sum;
    }
}

// J0 and J1 of m r for every pair: the series for the prefix of pairs with m r <= 16, the leading
// asymptotic forms for the rest, whose phase m r - pi/4 advances by a rotation through h r per
// step (set up afresh whenever a pair enters the asymptotic range or the step changes).
void LayeredElasticSolver::evaluateBessel(double m, double h) {
    while (seriesCount_ > 0 && m * sortedDistance_[seriesCount_ - 1] > kBesselSeriesLimit) {
        --seriesCount_;
    }
    for (int s = 0; s < seriesCount_; ++s)
        argument_[s] = m * sortedDistance_[s];
    besselSeriesBlock(argument_.data(), besselJ0_.data(), besselJ1_.data(), seriesCount_,
                      seriesLimit_);

    if (h != phaseStep_) {
        phaseBegin_ = distanceCount_;  // every tracked phase is set up again below
        phaseStep_ = h;
    } else {
        for (int s = phaseBegin_; s < distanceCount_; ++s) {
            const double sine = phaseSin_[s] * stepCos_[s] + phaseCos_[s] * stepSin_[s];
            const double cosine = phaseCos_[s] * stepCos_[s] - phaseSin_[s] * stepSin_[s];
            phaseSin_[s] = sine;
            phaseCos_[s] = cosine;
        }
    }
    for (int s = seriesCount_; s < phaseBegin_; ++s) {
        const double r = sortedDistance_[s];
        const double phase = m * r - kQuarterPi;
        phaseSin_[s] = std::sin(phase);
        phaseCos_[s] = std::cos(phase);
        stepSin_[s] = std::sin(h * r);
        stepCos_[s] = std::cos(h * r);
    }
    phaseBegin_ = std::min(phaseBegin_, seriesCount_);

    const double amplitudeOfM = 1.0 / std::sqrt(m), invM = 1.0 / m;
    for (int s = seriesCount_; s < distanceCount_; ++s) {
        besselAsymptoticOfInverse(invM * sortedInverse_[s], sortedAmplitude_[s] * amplitudeOfM,
                                  phaseCos_[s], phaseSin_[s], besselJ0_[s], besselJ1_[s]);
        // The quadrature partners: the same forms a quarter period on (cos, sin -> sin, -cos).
        besselAsymptoticOfInverse(invM * sortedInverse_[s], sortedAmplitude_[s] * amplitudeOfM,
                                  phaseSin_[s], -phaseCos_[s], partnerJ0_[s], partnerJ1_[s]);
        partnerN_[s] = partnerJ1_[s] * (invM * sortedInverse_[s]) - partnerJ0_[s] / 2.0;
    }
    // The tangential factor J1(m r) / (m r) - J0(m r) / 2; a pair on the load axis has none.
    for (int s = 0; s < distanceCount_; ++s)
        besselN_[s] = besselJ1_[s] * (invM * sortedInverse_[s]) - besselJ0_[s] / 2.0;
    for (int s = 0; s < distanceCount_ && sortedDistance_[s] == 0.0; ++s)
        besselN_[s] = 0.0;
}

void LayeredElasticSolver::evaluateIntegrands(double m, double h, const LayerCoefficients& c) {
    for (int k = 0; k < radiusCount_; ++k)
        radiusJ1_[k] = besselJ1(m * distinctRadius_[k], seriesLimit_);
    for (int j = 0; j < loadCount_; ++j)
        transformedLoad_[j] = qa_[j] * radiusJ1_[radiusIndex_[j]];
    evaluateBessel(m, h);
    const double invM = 1.0 / m;
    advanceDecays(m, h);

    // Kernel brackets per group of points at one depth.
    for (int g = 0; g < groupCount_; ++g) {
        const int leader = groupLeader_[g];
        const int layer = layer_[leader];
        const double z = depth_[leader];
        const double nu = layers_.poisson[layer];
        if (kind_[leader] == PointKind::Surface) {
            const double e = decayA_[g];
            const double b1 = c.B[0], d1 = c.D[0];
            const double beta = (b1 + 2.0 * nu * d1) * e;
            factorW_[g] = (b1 - (1.0 - 2.0 * nu) * d1) * e * invM;
            factorU_[g] = beta * invM;
            factorM_[g] = -2.0 * (1.0 + nu) * beta;
            factorN_[g] = 4.0 * (1.0 - nu) * beta;
            factorZ_[g] = 0.0;
            factorT_[g] = 0.0;
            continue;
        }
        const double lambda = m * z;
        KernelValues k;
        double displacementFactor, radialFactor;
        if (kind_[leader] == PointKind::LayerOne) {
            k = combine(layerOneBrackets(nu, lambda, decayA_[g], decayB_[g]), 0.0, c.B[0], 0.0,
                        c.D[0]);
            displacementFactor = invM;
            radialFactor = invM;
        } else {
            const double ea = layer == 4 ? 0.0 : decayA_[g];
            k = combine(layerBrackets(nu, lambda, ea, decayB_[g]), c.A[layer], c.B[layer],
                        c.C[layer], c.D[layer]);
            displacementFactor = (1.0 + nu) / (layers_.modulus[layer] * m);
            radialFactor = -displacementFactor;
        }
        factorW_[g] = displacementFactor * k.wb;
        factorU_[g] = radialFactor * k.g;
        factorM_[g] = -0.5 * k.mb;
        factorN_[g] = k.g;
        factorZ_[g] = k.sz;
        factorT_[g] = -k.tb;
    }
}

// The node's share of every integral: the rule's weights go into the Bessel terms of each plan
// distance (Weddle's or Simpson's on the distances marching by the oscillation, Filon's on those
// integrated across it, with its end terms on the quadrature partners), then through the load sums
// and the depth factors into the integrals of the points in `points`.
void LayeredElasticSolver::accumulateNode(const std::array<double, kPairs>& weight,
                                          const std::array<double, kPairs>& partnerWeight,
                                          const int* points, int count) {
    for (int s = 0; s < distanceCount_; ++s) {
        weightedJ0_[s] = weight[s] * besselJ0_[s];
        weightedJ1_[s] = weight[s] * besselJ1_[s];
        weightedN_[s] = weight[s] * besselN_[s];
    }
    for (int s = filonBegin_; s < distanceCount_; ++s) {
        if (partnerWeight[s] != 0.0) {
            weightedJ0_[s] += partnerWeight[s] * partnerJ0_[s];
            weightedJ1_[s] += partnerWeight[s] * partnerJ1_[s];
            weightedN_[s] += partnerWeight[s] * partnerN_[s];
        }
    }
    // The loads enter a point through five sums of Bessel terms, which depend only on its plan
    // position: they are formed once per distinct position.
    for (int p = 0; p < planCount_; ++p) {
        const int leader = planLeader_[p];
        double sumA = 0.0, sumNc = 0.0, sumNs = 0.0, sumBc = 0.0, sumBs = 0.0;
        for (int j = 0; j < loadCount_; ++j) {
            const int pair = leader * loadCount_ + j;
            const int s = sortedIndex_[pair];
            const double q = transformedLoad_[j];
            const double a = q * weightedJ0_[s], n = q * weightedN_[s], b = q * weightedJ1_[s];
            sumA += a;
            sumNc += n * cos2Theta_[pair];
            sumNs += n * sin2Theta_[pair];
            sumBc += b * cosTheta_[pair];
            sumBs += b * sinTheta_[pair];
        }
        planSumA_[p] = sumA;
        planSumNc_[p] = sumNc;
        planSumNs_[p] = sumNs;
        planSumBc_[p] = sumBc;
        planSumBs_[p] = sumBs;
    }
    // Only the integrands some point needs; each is formed the same way whatever else is.
    const unsigned need = slotUnion_;
    const auto wanted = [need](int slot) { return (need & (1u << slot)) != 0; };
    for (int k = 0; k < count; ++k) {
        const int i = points[k];
        const int p = plan_[i];
        const int g = group_[i];
        const double sumA = planSumA_[p];
        if (wanted(W))
            integrand_[W][i] = factorW_[g] * sumA;
        if (wanted(UX))
            integrand_[UX][i] = factorU_[g] * planSumBc_[p];
        if (wanted(UY))
            integrand_[UY][i] = factorU_[g] * planSumBs_[p];
        if (wanted(SX) || wanted(SY)) {
            const double mean = factorM_[g] * sumA, tangential = factorN_[g] * planSumNc_[p];
            integrand_[SX][i] = mean + tangential;
            integrand_[SY][i] = mean - tangential;
        }
        if (wanted(SZ))
            integrand_[SZ][i] = factorZ_[g] * sumA;
        if (wanted(TYZ))
            integrand_[TYZ][i] = factorT_[g] * planSumBs_[p];
        if (wanted(TXZ))
            integrand_[TXZ][i] = factorT_[g] * planSumBc_[p];
        if (wanted(TXY))
            integrand_[TXY][i] = factorN_[g] * planSumNs_[p];
        for (int n = 0; n < slotCount_; ++n)
            integral_[slotList_[n]][i] += integrand_[slotList_[n]][i];
    }
}

// The half-space quantities of a layer-1 pair; pairs with the same depth, distance and load
// (the same plan position under symmetric wheels) share one quadrature.
std::array<double, 6> LayeredElasticSolver::halfSpaceFor(double z, double r, int load) {
    const double a = radius_[load], q = pressure_[load];
    for (int k = 0; k < halfSpaceCount_; ++k) {
        const HalfSpaceEntry& e = halfSpaceCache_[k];
        if (e.depth == z && e.distance == r && e.radius == a && e.pressure == q)
            return e.values;
    }
    const auto values = halfSpace_.quantities(z, r, a, q);
    halfSpaceCache_[halfSpaceCount_++] = {z, r, a, q, values};
    return values;
}

// The Boussinesq half-space of layer 1 at layer-1 points, and the factors that turn the
// integrated corrections into responses; both before the march, whose stopping rule measures the
// integrals against the whole responses.
void LayeredElasticSolver::prepareHalfSpace() {
    halfSpaceCount_ = 0;
    const double e1 = layers_.modulus[0], nu1 = layers_.poisson[0];
    auto& in = halfSpacePart_;
    for (int i = 0; i < pointCount_; ++i) {
        for (int s = 0; s < kIntegrals; ++s) {
            in[s][i] = 0.0;
            integralFactor_[s][i] = 1.0;
        }
        if (kind_[i] == PointKind::Surface) {
            const double scale = 4.0 * (1.0 - nu1 * nu1) / e1;
            integralFactor_[W][i] = scale;
            integralFactor_[UX][i] = -scale;
            integralFactor_[UY][i] = -scale;
            integralFactor_[SZ][i] = 0.0;
            integralFactor_[TYZ][i] = 0.0;
            integralFactor_[TXZ][i] = 0.0;
            for (int j = 0; j < loadCount_; ++j) {
                const int pair = i * loadCount_ + j;
                const double r = distance_[pair], a = radius_[j], q = pressure_[j];
                if (r < a) {
                    const double f = hypergeometricHalf(-0.5, 1.0, (r / a) * (r / a));
                    in[W][i] -= 2.0 * f * (1.0 - nu1 * nu1) * a * q / e1;
                    if (r != 0.0) {
                        const double u = (1.0 - 2.0 * nu1) * (1.0 + nu1) * q * r / (2.0 * e1);
                        in[UX][i] += u * cosTheta_[pair];
                        in[UY][i] += u * sinTheta_[pair];
                    }
                    in[SX][i] += (2.0 * nu1 + 1.0) * q / 2.0;
                    in[SY][i] += (2.0 * nu1 + 1.0) * q / 2.0;
                    in[SZ][i] += q;
                } else if (r == a) {
                    // The edge of the loaded circle: the mean of the inside and outside limits.
                    in[W][i] -= 4.0 * (1.0 - nu1 * nu1) * q * a / (e1 * kPi);
                    const double u = (1.0 - 2.0 * nu1) * a * q * (1.0 + nu1) / (2.0 * e1);
                    in[UX][i] += u * cosTheta_[pair];
                    in[UY][i] += u * sinTheta_[pair];
                    const double p = (2.0 * nu1 + 1.0) * q / 4.0;
                    const double s = -(1.0 - 2.0 * nu1) * q / 4.0;
                    in[SX][i] += p + s * cos2Theta_[pair];
                    in[SY][i] += p - s * cos2Theta_[pair];
                    in[TXY][i] += s * sin2Theta_[pair];
                    in[SZ][i] += q / 2.0;
                } else {
                    const double f = hypergeometricHalf(0.5, 2.0, (a / r) * (a / r));
                    in[W][i] -= f * (1.0 - nu1 * nu1) * q * a * a / (r * e1);
                    const double u = (1.0 - 2.0 * nu1) * (1.0 + nu1) * q * a * a / (2.0 * r * e1);
                    in[UX][i] += u * cosTheta_[pair];
                    in[UY][i] += u * sinTheta_[pair];
                    const double s = -(1.0 - 2.0 * nu1) * q * a * a / (2.0 * r * r);
                    in[SX][i] += s * cos2Theta_[pair];
                    in[SY][i] -= s * cos2Theta_[pair];
                    in[TXY][i] += s * sin2Theta_[pair];
                }
            }
        } else if (kind_[i] == PointKind::LayerOne) {
            const double scale = (1.0 + nu1) / e1;
            integralFactor_[W][i] = scale;
            integralFactor_[UX][i] = -scale;
            integralFactor_[UY][i] = -scale;
            const double z = depth_[i];
            // The off-axis half-space is a quadrature: a point that needs no integral skips it.
            for (int j = 0; j < (slots_[i] != 0 ? loadCount_ : 0); ++j) {
                const int pair = i * loadCount_ + j;
                const double r = distance_[pair];
                const auto p = halfSpaceFor(z, r, j);
                const double p6 = p[0] * z, p7 = p[2] * r, p8 = p[3] * r;
                in[W][i] -= 2.0 * (1.0 - nu1 * nu1) * p[5] / e1 + (1.0 + nu1) * p6 / e1;
                const double h = (2.0 * nu1 + 1.0) * p[0] / 2.0 - p[1] / 2.0;
                if (r != 0.0) {
                    const double b = (1.0 - 2.0 * nu1) * (p[0] / 2.0 - p[2]) - p[1] / 2.0 + p[3];
                    in[SX][i] += h + b * cos2Theta_[pair];
                    in[SY][i] += h - b * cos2Theta_[pair];
                    in[TXY][i] += b * sin2Theta_[pair];
                    const double u =
                        (1.0 - 2.0 * nu1) * (1.0 + nu1) * p7 / e1 - (1.0 + nu1) * p8 / e1;
                    in[UX][i] += u * cosTheta_[pair];
                    in[UY][i] += u * sinTheta_[pair];
                    in[TXZ][i] += p[4] * cosTheta_[pair];
                    in[TYZ][i] += p[4] * sinTheta_[pair];
                } else {
                    in[SX][i] += h;
                    in[SY][i] += h;
                }
                in[SZ][i] += p[0] + p[1];
            }
        }
    }
}

// Responses of every point: the integrals in their units plus the half-space of layer 1.
void LayeredElasticSolver::closeIntegrals() {
    for (int s = 0; s < kIntegrals; ++s) {
        for (int i = 0; i < pointCount_; ++i)
            integral_[s][i] = integral_[s][i] * integralFactor_[s][i] + halfSpacePart_[s][i];
    }
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
    slotCount_ = 0;
    for (int s = 0; s < kIntegrals; ++s) {
        if (slotUnion_ & (1u << s))
            slotList_[slotCount_++] = s;
    }

    LayerCoefficients c;
    double m = 0.0, h = h0;
    const int panelSteps = weddle_ ? 6 : 2;
    int position = 0;  // position within the panel
    std::array<double, kPairs> weight{}, partner{};
    std::array<int, kMaxPoints> marching{};
    while (activeCount_ > 0) {
        if (!mayStep())
            return fail();
        m += h;
        solveCoefficients(m, layers_, solution_, c);
        const bool significant = std::abs(c.kernel) > tolerance;
        evaluateIntegrands(m, h, c);
        if (position < panelSteps - 1) {
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
        if (!significant) {
            // The layered correction has died out here: the kernel allows twice the step.
            tolerance /= 2.0;
            kernelStep *= 2.0;
        }
        const int oldFilon = filonBegin_;
        while (filonBegin_ > 0 && m * sortedDistance_[filonBegin_ - 1] > kBesselSeriesLimit)
            --filonBegin_;
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
