#include "core/chart/CPolynomialSolver.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vra {

bool CPolynomialSolver::Fit(std::span<const Point2D> points, int m) {
    if (m < 1 || m > kMaxCoefficients) return false;
    count = m;
    std::vector<double> xs;
    xs.reserve(points.size());
    for (const auto& p : points) xs.push_back(p.x);
    std::sort(xs.begin(), xs.end());
    const auto distinct = std::unique(xs.begin(), xs.end()) - xs.begin();
    if (distinct < m) return false;

    const auto um = static_cast<std::size_t>(m);
    std::vector<double> M(um * um, 0.0), v(um, 0.0), row(um);
    for (const auto& p : points) {
        row[0] = 1.0;
        for (std::size_t c = 1; c < um; ++c) row[c] = row[c - 1] * p.x;
        for (std::size_t r = 0; r < um; ++r) {
            for (std::size_t c = 0; c <= r; ++c) M[r * um + c] += row[r] * row[c];
            v[r] += row[r] * p.y;
        }
    }
    for (std::size_t r = 0; r < um; ++r)
        for (std::size_t c = r + 1; c < um; ++c) M[r * um + c] = M[c * um + r];
    const bool ok = Solve(M, v, m);
    for (std::size_t c = 0; c < um; ++c) coef[c] = v[c];
    if (!ok) return false;
    return std::all_of(v.begin(), v.end(), [](double c) { return std::isfinite(c); });
}

bool CPolynomialSolver::Solve(std::span<double> M, std::span<double> v, int m) {
    if (m < 1) return true;
    const auto um = static_cast<std::size_t>(m);
    if (M.size() < um * um || v.size() < um) return false;
    for (std::size_t k = 0; k < um; ++k) {
        double best = 0.0;
        std::size_t p = um;
        for (std::size_t r = k; r < um; ++r) {
            if (std::fabs(M[r * um + k]) > best) {
                best = std::fabs(M[r * um + k]);
                p = r;
            }
        }
        if (p == um) return false;
        const double pivot = M[p * um + k];
        if (pivot == 0.0) return false;
        if (p != k) {
            for (std::size_t j = k; j < um; ++j) std::swap(M[p * um + j], M[k * um + j]);
            std::swap(v[p], v[k]);
        }
        for (std::size_t j = k; j < um; ++j) M[k * um + j] /= pivot;
        v[k] /= pivot;
        for (std::size_t r = 0; r < um; ++r) {
            if (r == k) continue;
            const double f = M[r * um + k];
            for (std::size_t j = k; j < um; ++j) M[r * um + j] -= f * M[k * um + j];
            v[r] -= f * v[k];
        }
    }
    return true;
}

double CPolynomialSolver::Evaluate(double x) const {
    // Each power on its own (x^0 is 1 for every x): a running product would
    // carry its rounding from one term into the next.
    double sum = 0.0;
    for (int c = 0; c < count && c < kMaxCoefficients; ++c)
        sum += coef[static_cast<std::size_t>(c)] * std::pow(x, static_cast<double>(c));
    return sum;
}

}  // namespace vra

namespace vra {

std::string PolynomialLabel(const CPolynomialSolver& solver) {
    std::string text = "f(x)=";
    const int m = std::clamp(solver.count, 0, CPolynomialSolver::kMaxCoefficients);
    for (int c = 0; c < m; ++c) {
        const double k = solver.coef[static_cast<std::size_t>(c)];
        if (k == 0.0) continue;
        text += fmt::sprintf("%5.4e*X^%d", k, c);
        if (c < m - 1) text += "+\n";
    }
    return text;
}

}  // namespace vra
