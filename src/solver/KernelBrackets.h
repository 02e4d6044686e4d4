#pragma once
// The brackets of the Burmister kernels: for one layer at one depth, the factor that multiplies
// each integration constant in the vertical stress, vertical shear (T), vertical displacement
// (w), radial displacement (G) and mean horizontal stress (M) kernels. The interface equations
// compare them across an interface; the integrands combine them with the constants of the
// current m. Lengths are normalised by the thickness of layer 1; lambda = m z.

namespace ardelon::layered {

// Per constant, in the order A, B, C, D. Layer 1 carries only the correction B1, D1 (slots 1 and
// 3, the others zero). T is double, or a vector of several values of m side by side (the same
// operations in the same order, so each lane equals the scalar result).
template <class T>
struct BasicBrackets {
    T sz[4], tb[4], wb[4], g[4], mb[4];
};
using Brackets = BasicBrackets<double>;

// Layers 2 to 5: ea = exp(-m (z_bottom - z)), eb = exp(-m (z - z_top)); the semi-infinite layer
// has ea = 0.
template <class T>
[[gnu::always_inline]] inline BasicBrackets<T> layerBrackets(double nu, T lambda, T ea, T eb) {
    BasicBrackets<T> b;
    b.sz[0] = ea;
    b.sz[1] = eb;
    b.sz[2] = -(1.0 - 2.0 * nu - lambda) * ea;
    b.sz[3] = (1.0 - 2.0 * nu + lambda) * eb;
    b.tb[0] = ea;
    b.tb[1] = -eb;
    b.tb[2] = (2.0 * nu + lambda) * ea;
    b.tb[3] = (2.0 * nu - lambda) * eb;
    b.wb[0] = ea;
    b.wb[1] = -eb;
    b.wb[2] = -(2.0 - 4.0 * nu - lambda) * ea;
    b.wb[3] = -(2.0 - 4.0 * nu + lambda) * eb;
    b.g[0] = ea;
    b.g[1] = eb;
    b.g[2] = (lambda + 1.0) * ea;
    b.g[3] = -(1.0 - lambda) * eb;
    b.mb[0] = ea;
    b.mb[1] = eb;
    b.mb[2] = (lambda + 4.0 * nu + 1.0) * ea;
    b.mb[3] = -(4.0 * nu + 1.0 - lambda) * eb;
    return b;
}

// Layer 1's correction to its half-space: ea = exp(-m (z1 - z)) from interface 1, ec =
// exp(-m (z + z1)) from its image above the surface.
template <class T>
[[gnu::always_inline]] inline BasicBrackets<T> layerOneBrackets(double nu, T lambda, T ea, T ec) {
    BasicBrackets<T> b{};
    b.sz[1] = ea - (2.0 * lambda + 1.0) * ec;
    b.sz[3] = -(1.0 - 2.0 * nu - lambda) * ea + (1.0 - 2.0 * nu + lambda - 4.0 * nu * lambda) * ec;
    b.tb[1] = ea - (1.0 - 2.0 * lambda) * ec;
    b.tb[3] = (2.0 * nu + lambda) * ea - (2.0 * nu + lambda - 4.0 * nu * lambda) * ec;
    b.wb[1] = ea + (3.0 - 4.0 * nu + 2.0 * lambda) * ec;
    b.wb[3] = -(2.0 - 4.0 * nu - lambda) * ea -
              ((1.0 - 4.0 * nu) * lambda + 2.0 - 8.0 * nu * (1.0 - nu)) * ec;
    b.g[1] = ea + (3.0 - 4.0 * nu - 2.0 * lambda) * ec;
    b.g[3] = (lambda + 1.0) * ea - (1.0 - 8.0 * nu * (1.0 - nu) - (1.0 - 4.0 * nu) * lambda) * ec;
    b.mb[1] = ea + (4.0 * nu + 3.0 - 2.0 * lambda) * ec;
    b.mb[3] = (lambda + 4.0 * nu + 1.0) * ea -
              (1.0 - 4.0 * nu * (2.0 * nu + 1.0) - (1.0 - 4.0 * nu) * lambda) * ec;
    return b;
}

// The five brackets of one point: each the sum of the constants times their brackets.
struct KernelValues {
    double sz, tb, wb, g, mb;
};

[[gnu::always_inline]] inline KernelValues combine(const Brackets& b, double a, double bb, double c,
                                                   double d) {
    return {a * b.sz[0] + bb * b.sz[1] + c * b.sz[2] + d * b.sz[3],
            a * b.tb[0] + bb * b.tb[1] + c * b.tb[2] + d * b.tb[3],
            a * b.wb[0] + bb * b.wb[1] + c * b.wb[2] + d * b.wb[3],
            a * b.g[0] + bb * b.g[1] + c * b.g[2] + d * b.g[3],
            a * b.mb[0] + bb * b.mb[1] + c * b.mb[2] + d * b.mb[3]};
}

}  // namespace ardelon::layered
