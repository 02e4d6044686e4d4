// How far each step of the march over the transform parameter may go, and where each point's
// march ends: bounds from the length scales of the loads, points and layers, and a stopping
// rule from what the integrands can still add.
#include "solver/LayeredElasticSolver.h"

#include <algorithm>
#include <cmath>

#include "solver/IntegralSlots.h"

namespace ardelon {

using namespace layered;

namespace {

// Step of the search for the kernel minimum that sets the initial step.
constexpr double kKernelSearchStep = 0.02;
// Step bounds from the length scales: J0(m r) J1(m a) turns through at most 2 pi (r + a) per unit
// of m, so a step of kOscillationStep / (r + a) gives about 11 points per period; while a term
// decaying as exp(-m d) lives, the step is at most kDecayStep / d.
constexpr double kOscillationStep = 0.55;
constexpr double kDecayStep = 0.3;
// On a distance integrated by Filon's rule the step follows only J1(m a) of the loads' radii,
// about 25 points to its period (the accuracy tests still hold at 18).
constexpr double kFilonStep = 0.25;
// Under a load the responses are of the order of its pressure; in a call whose every point lies
// outside every loaded circle each response is a small remainder of its oscillating integrand
// (a frictionless face's shear, the far field of a wide load), down to some 1e-6 of what the
// integrand's envelope integrates to, and every error of the rule shows against it at that scale.
// There the step takes kFarOscillationStep, about 50 points per period, kFarFilonStep under
// Filon's rule, whose amplitude is only piecewise quadratic, and kFarDecayStep while a decay
// lives (under Filon's rule the amplitude's interpolation error, of order h^3, no longer averages
// out where a step spans whole periods of the oscillation: the decay sets the step); the Bessel
// series run to kFineSeriesTermLimit and Hankel's forms to x^-7; and a point ends its march at
// kFarTailShare (see kTailShare). A far call takes some six times the steps of the classical
// rules. The eight faces of the four interfaces 104 in. off a 1 in. load on a 1 in. top over a
// 50 times stiffer base take 15 000 steps (some 8 ms) rather than 1000, and the shear of the
// frictionless face comes within 3e-5 of the largest shear of the call rather than 3.4e-3.
// A layer below the top at least kStiffBaseRatio times as stiff as the top makes the responses of
// layer-1 points small remainders as well: the correction all but cancels the top layer's
// half-space (a 1.3 in. top of 133 psi on 5.7e7 psi, 20 in. off the centre of a 40 in. load: the
// deflection at the foot of the top, 3.5e-4 in., the classical rules left 3 % off). Such calls
// take the far rules, at some ten times the steps; asphalt of more than 5000 psi on concrete of
// 5e6 psi stays below this ratio, and within the target under the classical rules.
constexpr double kStiffBaseRatio = 1000.0;
constexpr double kFarOscillationStep = 0.12;
constexpr double kFarFilonStep = 0.05;
constexpr double kFarDecayStep = 0.01;
// Filon's rule is exact only for an amplitude quadratic over two steps: while it integrates some
// distance, the bounds from the interfaces' depths take this share.
constexpr double kFilonDecayShare = 0.5;
constexpr double kLargestStep = 0.2;

// A term has died out once m d reaches this (exp(-30) is 1e-13). An interface at depth z enters
// the kernel through exp(-2 m z) and its powers, gone (exp(-20)) once m z reaches kInterfaceReach.
constexpr double kDecayReach = 30.0;
constexpr double kInterfaceReach = 10.0;

// A point's march ends once the bound on what its integrands can still add is at most kTailShare
// (kFarTailShare in a far call, whose responses are small remainders of that reach) of the largest
// magnitude its kind of response can reach over the call (a kind that stays below
// kNegligibleShare of the largest of its family counts with that floor). The bound is judged only
// where the point's terms decay, m d >= kTailReach, and takes kTailFactor times the decaying
// envelope, for the powers of m d that multiply the exponential.
constexpr double kTailShare = 2e-7;
constexpr double kFarTailShare = 1e-9;
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

}  // namespace

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

// The step bounds, the stopping share and the Bessel series' term limit of the call: the finer
// ones when its responses are small remainders of their integrands (every point outside every
// loaded circle, or a much stiffer layer under the top). With a frictionless interface the shear
// of its face is such a remainder too (of the half-space's shear, under a wide load some 1e-6 of
// the pressure), which the classical series' error of some 1e-6 spoils: those calls sum the fine
// series alone, which costs them some 7 %.
void LayeredElasticSolver::chooseFarRules() {
    bool farCall = true;
    for (int pair = 0; pair < pointCount_ * loadCount_; ++pair)
        farCall = farCall && distance_[pair] > radius_[pair % loadCount_];
    for (int k = 1; k < 5; ++k)
        farCall = farCall || layers_.modulus[k] >= kStiffBaseRatio * layers_.modulus[0];
    bool frictionless = false;
    for (int k = 0; k < 3; ++k)
        frictionless = frictionless || layers_.bond[k] == 0.0;
    oscillationStep_ = farCall ? kFarOscillationStep : kOscillationStep;
    filonStep_ = farCall ? kFarFilonStep : kFilonStep;
    decayStepBound_ = farCall ? kFarDecayStep : kDecayStep;
    tailShare_ = farCall ? kFarTailShare : kTailShare;
    seriesLimit_ = farCall || frictionless ? kFineSeriesTermLimit : kSeriesTermLimit;
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
        cap = std::min(cap, share * decayStepBound_ / longest);
    longest = 0.0;
    for (int i = pointCount_; i < scaleCount_; ++i) {
        if (m * decayLength_[i] < kInterfaceReach)
            longest = std::max(longest, decayLength_[i]);
    }
    if (longest > 0.0) {
        cap = std::min(
            cap, share * decayStepBound_ / longest * (filonRadius_ > 0.0 ? kFilonDecayShare : 1.0));
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
        allowed[k] = tailShare_ * std::max(reference_[k], kNegligibleShare * family);
    }
    // The Bessel envelope of the loads depends only on the plan position: formed once for each
    // position that some decayed point has.
    std::array<double, kMaxPoints> planEnvelope;
    std::fill_n(planEnvelope.begin(), planCount_, -1.0);
    int kept = 0;
    for (int n = 0; n < activeCount_; ++n) {
        const int i = active_[n];
        const double d = decayLength_[i];
        bool done = m * d >= kTailReach;
        if (done) {
            double& envelope = planEnvelope[plan_[i]];
            if (envelope < 0.0) {
                const int leader = planLeader_[plan_[i]];
                envelope = 0.0;
                for (int j = 0; j < loadCount_; ++j)
                    envelope += load[j] * distanceEnvelope(m * distance_[leader * loadCount_ + j]);
            }
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

}  // namespace ardelon
