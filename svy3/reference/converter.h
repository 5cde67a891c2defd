// One piecewise-linear table that maps an input scale (x) to an output scale (y) and back.
#pragma once

#include <cstdint>
#include <vector>

#include "svy3/platform/export.h"

namespace ZAR {

// One table point: x on the input scale, y on the output scale.
struct hash {
    double x;
    double y;
};

// A piecewise-linear conversion table. Values between two points are interpolated along the
// segment joining them; values outside the table are extrapolated along the first or last
// segment; a table of one point is a pure offset. The table is used in the order given: its x
// values must ascend for Convert and its y values for ConvertInverse, which is not checked.
// A conversion records the segment it used, so one table must not convert on two threads at once.
class SVY3_API CConverter {
  public:
    CConverter() = default;
    virtual ~CConverter() = default;
    CConverter(const CConverter&) = default;
    CConverter& operator=(const CConverter&) = default;

    // Replaces the table with the points (x[i], y[i]) for i < count, in that order. A null array
    // or a negative count leaves the table unchanged; a count of 0 empties it.
    void Initialize(const double* x, const double* y, int32_t count);

    // Forward conversion: the y for input value v. Throws std::invalid_argument when the table is
    // empty. Two neighbouring points with equal x in the segment used give an infinity or NaN.
    double Convert(double v);
    // Inverse conversion: the x for output value v, searching the y values. Throws
    // std::invalid_argument when the table is empty. Equal neighbouring y give an infinity or NaN.
    double ConvertInverse(double v);

    // The table points in order.
    const std::vector<hash>& GetPoints() const { return m_points; }
    // Indices of the two points of the segment used by the last conversion (both 0 after a
    // conversion through a one-point table; 0 before any conversion).
    int32_t GetLowerIndex() const { return m_nLower; }
    int32_t GetUpperIndex() const { return m_nUpper; }

  protected:
    int32_t m_nLower = 0;  // lower point of the segment used by the last conversion
    int32_t m_nUpper = 0;  // upper point of that segment
    std::vector<hash> m_points;
};

}  // namespace ZAR
