// What one node of the march adds: the Bessel terms of every plan distance, the kernel factors of
// every depth, and their weighted share of each point's integrals.
#include "solver/LayeredElasticSolver.h"

#include <algorithm>
#include <cmath>

#include "solver/IntegralSlots.h"
#include "solver/KernelBrackets.h"

namespace ardelon {

using namespace layered;

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
void LayeredElasticSolver::evaluateBessel(double m, double h, int position) {
    seriesCount_ = panelSeriesCount_[position];
    std::copy_n(panelJ0_[position].begin(), seriesCount_, besselJ0_.begin());
    std::copy_n(panelJ1_[position].begin(), seriesCount_, besselJ1_.begin());

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
        const double phase =
            m * r - (seriesLimit_ < kSeriesTermLimit ? kExactQuarterPi : kQuarterPi);
        phaseSin_[s] = std::sin(phase);
        phaseCos_[s] = std::cos(phase);
        stepSin_[s] = std::sin(h * r);
        stepCos_[s] = std::cos(h * r);
    }
    phaseBegin_ = std::min(phaseBegin_, seriesCount_);

    const double amplitudeOfM = 1.0 / std::sqrt(m), invM = 1.0 / m;
    // Hankel's forms to x^-3, or to x^-7 with the fine series; the loop is built for each.
    const auto asymptotic = [&](auto hankel) {
        for (int s = seriesCount_; s < distanceCount_; ++s) {
            hankel(invM * sortedInverse_[s], sortedAmplitude_[s] * amplitudeOfM, phaseCos_[s],
                   phaseSin_[s], besselJ0_[s], besselJ1_[s]);
            // The quadrature partners: the same forms a quarter period on (cos, sin -> sin, -cos).
            hankel(invM * sortedInverse_[s], sortedAmplitude_[s] * amplitudeOfM, phaseSin_[s],
                   -phaseCos_[s], partnerJ0_[s], partnerJ1_[s]);
            partnerN_[s] = partnerJ1_[s] * (invM * sortedInverse_[s]) - partnerJ0_[s] / 2.0;
        }
    };
    if (seriesLimit_ < kSeriesTermLimit) {
        asymptotic([](double t, double a, double c, double sn, double& j0, double& j1) {
            besselAsymptoticFineOfInverse(t, a, c, sn, j0, j1);
        });
    } else {
        asymptotic([](double t, double a, double c, double sn, double& j0, double& j1) {
            besselAsymptoticOfInverse(t, a, c, sn, j0, j1);
        });
    }
    // The tangential factor J1(m r) / (m r) - J0(m r) / 2; a pair on the load axis has none.
    for (int s = 0; s < distanceCount_; ++s)
        besselN_[s] = besselJ1_[s] * (invM * sortedInverse_[s]) - besselJ0_[s] / 2.0;
    for (int s = 0; s < distanceCount_ && sortedDistance_[s] == 0.0; ++s)
        besselN_[s] = 0.0;
}

// The step holds through a panel, so its nodes are known when it starts: their interface systems
// and Bessel series are worked out together, side by side in the lanes of the vector units (the
// same operations per lane, so the same values as one node at a time). The distances' series
// are taken distance by distance, so that the lanes of a block converge after about as many
// terms.
void LayeredElasticSolver::preparePanel(double m, double h, int nodes) {
    double node = m;
    for (int k = 0; k < nodes; ++k) {
        node += h;
        panelM_[k] = node;
    }
    solveCoefficientsBatch(panelM_.data(), nodes, layers_, solution_, true,
                           panelCoefficients_.data());

    int count = 0;
    for (int k = 0; k < nodes; ++k) {
        for (int d = 0; d < radiusCount_; ++d)
            panelArgument_[count++] = panelM_[k] * distinctRadius_[d];
    }
    besselJ1Block(panelArgument_.data(), panelSeriesJ1_.data(), count, seriesLimit_);
    for (int k = 0, n = 0; k < nodes; ++k) {
        for (int d = 0; d < radiusCount_; ++d)
            panelRadiusJ1_[k][d] = panelSeriesJ1_[n++];
    }

    // Distances with m r <= 16 take the series at a node; they form a prefix that shrinks as m
    // grows.
    int series = seriesCount_;
    for (int k = 0; k < nodes; ++k) {
        while (series > 0 && panelM_[k] * sortedDistance_[series - 1] > kBesselSeriesLimit)
            --series;
        panelSeriesCount_[k] = series;
    }
    count = 0;
    for (int s = 0; s < panelSeriesCount_[0]; ++s) {
        for (int k = 0; k < nodes && s < panelSeriesCount_[k]; ++k)
            panelArgument_[count++] = panelM_[k] * sortedDistance_[s];
    }
    besselSeriesBlock(panelArgument_.data(), panelSeriesJ0_.data(), panelSeriesJ1_.data(), count,
                      seriesLimit_);
    for (int s = 0, n = 0; s < panelSeriesCount_[0]; ++s) {
        for (int k = 0; k < nodes && s < panelSeriesCount_[k]; ++k, ++n) {
            panelJ0_[k][s] = panelSeriesJ0_[n];
            panelJ1_[k][s] = panelSeriesJ1_[n];
        }
    }
}

void LayeredElasticSolver::evaluateIntegrands(double m, double h, int position) {
    const LayerCoefficients& c = panelCoefficients_[position];
    for (int j = 0; j < loadCount_; ++j)
        transformedLoad_[j] = qa_[j] * panelRadiusJ1_[position][radiusIndex_[j]];
    evaluateBessel(m, h, position);
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
            const double ea = layer == layers_.halfSpace ? 0.0 : decayA_[g];
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
            integral_[W][i] += factorW_[g] * sumA;
        if (wanted(UX))
            integral_[UX][i] += factorU_[g] * planSumBc_[p];
        if (wanted(UY))
            integral_[UY][i] += factorU_[g] * planSumBs_[p];
        if (wanted(SX) || wanted(SY)) {
            const double mean = factorM_[g] * sumA, tangential = factorN_[g] * planSumNc_[p];
            if (wanted(SX))
                integral_[SX][i] += mean + tangential;
            if (wanted(SY))
                integral_[SY][i] += mean - tangential;
        }
        if (wanted(SZ))
            integral_[SZ][i] += factorZ_[g] * sumA;
        if (wanted(TYZ))
            integral_[TYZ][i] += factorT_[g] * planSumBs_[p];
        if (wanted(TXZ))
            integral_[TXZ][i] += factorT_[g] * planSumBc_[p];
        if (wanted(TXY))
            integral_[TXY][i] += factorN_[g] * planSumNs_[p];
    }
}

}  // namespace ardelon
