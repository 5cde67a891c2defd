#include "svy3/reference/converter.h"

#include <cstddef>
#include <stdexcept>

namespace ZAR {
namespace {

// Which member of a point is searched (the input) and which is read out (the output).
using Coordinate = double hash::*;

// Shared by both directions: `in` is the coordinate searched for v, `out` the one computed.
double Interpolate(const std::vector<hash>& points, Coordinate in, Coordinate out, double v,
                   int32_t& lower, int32_t& upper) {
    const std::size_t n = points.size();
    if (n == 0)
        throw std::invalid_argument("conversion through an empty distance table");
    if (n == 1) {
        lower = upper = 0;
        return v - points[0].*in + points[0].*out;
    }
    // The first point from index 1 on whose input exceeds v, or the last point when none does;
    // values below the table thus use the first segment, values above it the last one.
    std::size_t u = 1;
    while (u + 1 < n && points[u].*in <= v)
        ++u;
    upper = static_cast<int32_t>(u);
    lower = upper - 1;
    const hash& hi = points[u];
    const hash& lo = points[u - 1];
    return hi.*out + (v - hi.*in) * (hi.*out - lo.*out) / (hi.*in - lo.*in);
}

}  // namespace

void CConverter::Initialize(const double* x, const double* y, int32_t count) {
    if (x == nullptr || y == nullptr || count < 0)
        return;
    m_points.clear();
    m_points.reserve(static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i)
        m_points.push_back(hash{x[i], y[i]});
}

double CConverter::Convert(double v) {
    return Interpolate(m_points, &hash::x, &hash::y, v, m_nLower, m_nUpper);
}

double CConverter::ConvertInverse(double v) {
    return Interpolate(m_points, &hash::y, &hash::x, v, m_nLower, m_nUpper);
}

}  // namespace ZAR
