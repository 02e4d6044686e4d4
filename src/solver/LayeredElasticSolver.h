#pragma once
// Stresses, strains and displacements in a five-layer linear-elastic pavement (four layers on a
// semi-infinite subgrade) under uniform circular vertical surface loads.
//
// Method: the classical Burmister solution. Each response is a Hankel-transform integral over the
// parameter m of Bessel functions of m·r times the transformed load q·a·J1(m·a) and four
// integration constants per layer, which the interface conditions fix at each m (16 linear
// equations). Lengths are normalised by the thickness of layer 1. The integral over m is taken by
// Weddle's rule (general solution with the three bond factors) or, when interface 1 or 2 is in
// full slip, by Simpson's rule (frictionless interfaces 1 and 2, interface 3 bonded), each with
// its own end weight at m = 0 (h0/3 for Simpson's rule).
//
// Where this departs from the classical march: the step is no longer fixed by the top layer's
// thickness alone but bounded by every length scale of the call. The kernel's own scale sets the
// first step (its departure from a half-space, and the plate-like bending length
// z (E/E_below)^(1/3) of stiff layers); near m = 0 the step grows only in proportion to m; while
// m z < 10 for an interface depth z the field sees, the step is at most 0.3 / z; the oscillation of
// J0(m r) J1(m a) bounds it by 0.55 / (r + a) while m r <= 16, and the decay of each point's
// integrands over its depth d by 0.3 / d while m d < 30. Beyond m r = 16 (from the next panel end)
// a plan distance is integrated across its oscillation by Filon's rule: the Bessel terms there are
// Hankel's forms, a smooth amplitude times cos(m r - pi/4) and its partner a quarter period on,
// and Filon's weights (exact for the amplitude piecewise quadratic over each pair of steps) free
// the step from r; it then follows only J1(m a) of the loads, at most 0.25 / a, and the
// interfaces' bounds take half their step (the rule is of lower order than Weddle's). A far point
// of a deflection basin thus costs what the kernel's own scales cost, whatever the top layer's
// thickness. Simpson's rule takes half these steps. The step
// doubles at panel ends once the layered correction has died out, up to these bounds. Each point
// ends its own march: at a panel end, once m d >= 2 for its decay length d, the bound on what its
// integrands can still add (its depth's kernel factors times the envelopes of the Bessel terms of
// its loads, over d) is at most 2e-7 of the largest that kind of response can reach over the call
// (the direct strains from the factors they combine, since they can be small differences of large
// stresses). The bounds never read the integrals, so the steps depend on the structure, the loads
// and the points but not on the responses asked for; the oscillation bound follows the points
// still marching, so far points that finish early stop costing their fine step. Bessel functions:
// series up to 16, Hankel's expansion to x^-3 above (the leading term alone is 1 % off at 16).
// A call whose every point lies outside every loaded circle, whose responses are all small
// remainders of their integrands (down to some 1e-6 of their envelopes), or with a layer at least
// 1000 times as stiff as the top below it (layer-1 responses are then small remainders of the
// top's half-space), takes 0.12 / (r + a) as
// the oscillation's bound (0.05 / a under Filon's rule) and 0.01 / d as the decays' (Filon's
// interpolation error does not average out where a step spans whole periods), sums the
// series to terms of 1e-12 rather than the classical 1e-5 (whose error jumps as the argument adds a
// term) and Hankel's expansion to x^-7 with pi exact in its phase, and ends each point's march at
// 1e-9 of its kind's reach. A call with a frictionless interface takes the fine Bessel functions
// alone: the shear of its face is the remainder of the half-space's.
// Layer-1 points integrate only their difference from the Boussinesq half-space of layer 1, whose
// responses are added in closed form (surface points: hypergeometric series; below the surface:
// on-axis closed form or the adaptive quadrature of HalfSpaceQuadrature.h). Loads are superposed by
// summing integrands.
//
// A point at depth 0 is a surface point of layer 1 whatever layer number it carries: its kernel,
// its m = 0 end term, its closing and its strains all use layer 1.
//
// Work per m: one coefficient solution for all loads and points, J1(m·a) once per distinct radius,
// J0/J1 of m·r once per distinct plan distance (series up to 16; above, Hankel's expansion
// whose phase advances by an exact rotation through h·r per step), the load sums once per
// plan position and the kernel brackets once per depth. The hot loops work on flat arrays in the
// object and never allocate; the Bessel series, the coefficient solution and the half-space
// quadrature are also built for AVX2 (picked at run time) and give the same results there.
//
// Each point asks for its own rows (EvaluationPoint::responses); only the integrals those rows
// need are formed, the principal values only where a principal row is asked, and the rows not
// asked are left not-a-number. The rows asked equal those of the full computation bit for bit.
//
// Each call is independent of the previous one. The object owns its workspace (about 0.3 MB, so
// keep it as a member or on the heap rather than in a small stack), so one solver object per
// thread may run calls concurrently; a single object must not be entered twice at once.

#include <array>
#include <atomic>

#include "solver/LayerSystem.h"
#include "solver/LayeredElasticCore.h"

namespace ardelon {

// How a call ended. Only Computed leaves responses in the table; every other status leaves its
// columns not-a-number, so a failure can never pass for responses.
enum class SolverStatus : unsigned char {
    Computed,
    MarchLimit,  // the integration over m took more steps than any sane structure needs
    NotFinite,   // a response came out infinite or not a number
    Cancelled,   // the watched flag was raised during the call
};

class LayeredElasticSolver {
  public:
    // A call stops after this many m-steps (initial-step search and march together). The
    // examples' calls take at most about 400 steps and random structures well beyond practice
    // (moduli 5e3 to 5e6 psi, layers 1 to 30 in., any bonds, 1 to 6 wheels) at most about 1300;
    // 100 000 leaves a margin of some 80 times, yet stops a runaway march within a second.
    static constexpr int kMaxMarchSteps = 100000;
    // The cancel flag is read every this many steps.
    static constexpr int kCancelCheckSteps = 256;

    // Preconditions (the callers validate them): h1 > 0, moduli > 0, Poisson's ratios other than
    // 1, radii > 0, 1 <= loadCount <= 30, 1 <= pointCount <= 50, layer numbers 1 to 5, and each
    // point's depth within its layer.
    ResponseTable computeResponses(const LayerSystem& system, const CircularLoad* loads,
                                   int loadCount, const EvaluationPoint* points, int pointCount);
    // The same, writing into `table`; columns beyond pointCount are left as they were.
    SolverStatus computeResponses(const LayerSystem& system, const CircularLoad* loads,
                                  int loadCount, const EvaluationPoint* points, int pointCount,
                                  ResponseTable& table);

    SolverStatus status() const { return status_; }
    // Why the last call gave no responses, as words that complete "failed: "; empty when it did.
    const char* failureText() const;
    // m-steps the last call took.
    int stepCount() const { return steps_; }
    // A flag that cancels a call in progress when raised (nullptr: none).
    void watchCancel(const std::atomic<bool>* cancel) { cancel_ = cancel; }

  private:
    enum class PointKind : unsigned char { Surface, LayerOne, Deep };
    static constexpr int kPairs = kMaxLoads * kMaxPoints;
    // Integrals and integrands of a point, in the order w, u_x, u_y, sx, sy, sz, tyz, txz, txy.
    static constexpr int kIntegrals = 9;
    // Kinds of response the end of a point's march watches: w, u, mean horizontal stress,
    // tangential stress, sz, vertical shear, vertical strain, horizontal strain.
    static constexpr int kKinds = 8;
    void kindBounds(int g, std::array<double, kKinds>& bound) const;

    void prepare(const LayerSystem& system, const CircularLoad* loads,
                 const EvaluationPoint* points);
    void preparePairs();
    double initialStep(double& tolerance);
    void chooseFarRules();
    double stepCap(double m) const;
    double flexuralLength() const;
    void updateReach();
    static void filonCoefficients(double theta, double& alpha, double& beta, double& gamma);
    void accumulateNode(const std::array<double, kPairs>& weight,
                        const std::array<double, kPairs>& partnerWeight, const int* points,
                        int count);
    void retireConvergedPoints(double m);
    void prepareHalfSpace();
    void closeIntegrals();
    void addEndPointTerm(double h0, double ruleFactor);
    void preparePanel(double m, double h, int nodes);
    void evaluateBessel(double m, double h, int position);
    void advanceDecays(double m, double h);
    void evaluateIntegrands(double m, double h, int position);
    std::array<double, 6> halfSpaceFor(double z, double r, int load);
    void writeTable(ResponseTable& table, double h0, const EvaluationPoint* points) const;
    // Counts a step; false when the call must stop (step limit or cancel), with status_ set.
    bool mayStep();

    SolverStatus status_ = SolverStatus::Computed;
    int steps_ = 0;
    const std::atomic<bool>* cancel_ = nullptr;

    int loadCount_ = 0;
    int pointCount_ = 0;
    int pairCount_ = 0;
    double h1_ = 1.0;
    layered::NormalisedLayers layers_;
    layered::CoefficientSolution solution_ = layered::CoefficientSolution::General;
    bool weddle_ = true;
    layered::HalfSpaceQuadrature halfSpace_;

    // Loads, normalised.
    std::array<double, kMaxLoads> pressure_{}, radius_{}, qa_{}, transformedLoad_{};
    // The distinct radii among the loads, J1(m a) of each, and each load's entry.
    int radiusCount_ = 0;
    std::array<double, kMaxLoads> distinctRadius_{};
    std::array<int, kMaxLoads> radiusIndex_{};
    // Points, normalised. Points at the same depth with the same kernel form a group, whose
    // kernel brackets are evaluated once per m.
    std::array<double, kMaxPoints> depth_{};
    std::array<int, kMaxPoints> layer_{};  // 0..4
    std::array<PointKind, kMaxPoints> kind_{};
    std::array<int, kMaxPoints> group_{};
    int groupCount_ = 0;
    std::array<int, kMaxPoints> groupLeader_{};  // a point of each group
    // Per group and m: the factors of sumA (w, mean horizontal stress, sz), of the radial sums
    // (u, vertical shear) and of the tangential sums (N), see evaluateIntegrands.
    std::array<double, kMaxPoints> factorW_{}, factorU_{}, factorM_{}, factorN_{}, factorZ_{},
        factorT_{};
    // Per group: the two lengths its brackets decay over, exp(-m d) of each (as advanced, and
    // cut off), and the factors exp(-h d) of the current step.
    std::array<double, kMaxPoints> decayLengthA_{}, decayLengthB_{}, exactA_{}, exactB_{},
        decayA_{}, decayB_{}, stepA_{}, stepB_{};
    double decayStep_ = 0.0;

    // Points at the same plan position share their sums over the loads.
    std::array<int, kMaxPoints> plan_{};
    int planCount_ = 0;
    std::array<int, kMaxPoints> planLeader_{};
    std::array<double, kMaxPoints> planSumA_{}, planSumNc_{}, planSumNs_{}, planSumBc_{},
        planSumBs_{};

    // Point-load pairs in point order, index point * loadCount + load.
    std::array<double, kPairs> distance_{}, cosTheta_{}, sinTheta_{}, cos2Theta_{}, sin2Theta_{};
    std::array<int, kPairs> sortedIndex_{};  // the pair's entry among the distinct distances

    // The distinct plan distances of the pairs, ascending: at every m those with m r <= 16
    // (Bessel series) form a prefix and the rest (asymptotic forms) the suffix.
    int distanceCount_ = 0;
    std::array<double, kPairs> sortedDistance_{}, sortedAmplitude_{}, sortedInverse_{};
    std::array<double, kPairs> besselJ0_{}, besselJ1_{}, besselN_{};
    int seriesCount_ = 0;
    // Phase m r - pi/4 of the asymptotic pairs, advanced by a rotation through h r per step.
    std::array<double, kPairs> phaseSin_{}, phaseCos_{}, stepSin_{}, stepCos_{};
    int phaseBegin_ = 0;  // pairs from here on carry a valid phase
    // Distances from here on are integrated by Filon's rule; their quadrature partners (the
    // asymptotic forms a quarter period on), Filon's weights for the current step, and the
    // Bessel terms with the node's weights.
    int filonBegin_ = 0;
    std::array<double, kPairs> partnerJ0_{}, partnerJ1_{}, partnerN_{}, filonAlpha_{}, filonBeta_{},
        filonGamma_{}, weightedJ0_{}, weightedJ1_{}, weightedN_{};
    // The nodes of the current panel, worked out together when it starts: their m, interface
    // constants, J1(m a) of each distinct radius, and the series count and series values of J0
    // and J1 of the distances.
    static constexpr int kPanelNodes = 6;
    std::array<double, kPanelNodes> panelM_{};
    std::array<layered::LayerCoefficients, kPanelNodes> panelCoefficients_{};
    std::array<std::array<double, kMaxLoads>, kPanelNodes> panelRadiusJ1_{};
    std::array<int, kPanelNodes> panelSeriesCount_{};
    std::array<std::array<double, kPairs>, kPanelNodes> panelJ0_{}, panelJ1_{};
    std::array<double, kPanelNodes * kPairs> panelArgument_{}, panelSeriesJ0_{}, panelSeriesJ1_{};
    // The node's weights on each distance's Bessel terms and on their quadrature partners; the
    // points that marched through the panel just ended.
    std::array<double, kPairs> nodeWeight_{}, partnerWeight_{};
    std::array<int, kMaxPoints> marching_{};
    double filonRadius_ = 0.0;  // largest radius of a load paired by Filon's rule
    // The oscillation's, Filon's and the decays' step bounds, the Bessel series' term limit and
    // the stopping rule's share of this call.
    double oscillationStep_ = 0.0, filonStep_ = 0.0, decayStepBound_ = 0.0, seriesLimit_ = 0.0,
           tailShare_ = 0.0;
    double phaseStep_ = 0.0;  // the step the rotations were built for

    std::array<std::array<double, kMaxPoints>, kIntegrals> integral_{};
    // Per point: the sum of the magnitudes the current panel added to each integral; the factor
    // that turns an integral into its response and the half-space part added to it (layer 1).
    std::array<std::array<double, kMaxPoints>, kIntegrals> integralFactor_{}, halfSpacePart_{};
    // Per point: the integral slots its requested rows need (bit per slot); their union.
    std::array<unsigned, kMaxPoints> slots_{};
    unsigned slotUnion_ = 0;
    // The points still marching; each leaves once its integrands can add nothing that shows.
    std::array<int, kMaxPoints> active_{};
    int activeCount_ = 0;
    // Per kind and group: the envelope integral so far, the bound at the last two panel ends;
    // per kind the largest envelope integral over the groups.
    std::array<std::array<double, kMaxPoints>, kKinds> reachable_{}, bound_{}, lastBound_{};
    std::array<double, kKinds> reference_{};
    double lastPanelEnd_ = 0.0;
    double reach_ = 0.0;  // largest r + a of a pair still marching step by step (not by Filon)
    // The lengths d over which the integrands fall as exp(-m d): one per point, one per interface
    // the kernel sees.
    std::array<double, kMaxPoints + 4> decayLength_{};
    int scaleCount_ = 0;

    struct HalfSpaceEntry {
        double depth, distance, radius, pressure;
        std::array<double, 6> values;
    };
    std::array<HalfSpaceEntry, kPairs> halfSpaceCache_{};
    int halfSpaceCount_ = 0;
};

}  // namespace ardelon
