// svy3::DistanceConverter: distances along one survey line, between the user's scale, the
// reference marks on the ground, the odometer wheel and trace numbers.
#pragma once

#include <memory>

#include "svy3/platform/export.h"

namespace ZAR {
class CReferenceConverter;
}

namespace svy3 {

// How a trace index computed from a distance becomes a whole index.
enum class Rounding {
    none,     // keep the fractional index
    down,     // the largest whole index not above it
    up,       // the smallest whole index not below it
    nearest,  // floor(index + 0.5): halves go up, also below zero
};

// The distance references of a line (its LinearRef elements) as two piecewise-linear tables:
// user distance to reference distance, and reference distance to odometer distance. Between two
// references a distance is interpolated, beyond the first or last it is extrapolated along the
// nearest segment; a line with one reference is a pure offset. All distances are in metres; a
// trace index counts traces from 0 for a file whose trace 0 lies at odometer distance `start` with
// `step` metres per trace (a DataFile's odometer range gives both).
//
// A converter is a value: copies are independent. A conversion remembers the segment it used,
// so one converter must not be used from two threads at once (give each thread its copy).
//
// Example:
//   if (auto converter = line.converter())
//       double odometer = converter->user_to_odometer(12.5);  // metres along the wheel
class SVY3_API DistanceConverter {
  public:
    explicit DistanceConverter(const ZAR::CReferenceConverter& tables);
    DistanceConverter(const DistanceConverter& other);
    DistanceConverter& operator=(const DistanceConverter& other);
    DistanceConverter(DistanceConverter&&) noexcept;
    DistanceConverter& operator=(DistanceConverter&&) noexcept;
    ~DistanceConverter();

    // @param user distance on the user's scale (metres). @return odometer distance (metres).
    double user_to_odometer(double user);
    // @param odometer distance measured by the wheel (metres). @return user distance (metres).
    double odometer_to_user(double odometer);
    // @param index trace index (0 = first trace, fractions allowed).
    // @param start odometer distance of trace 0 (metres). @param step metres per trace.
    // @return user distance of that trace (metres).
    double index_to_user(double index, double start, double step);
    // @param user distance on the user's scale (metres). @param start, step as for index_to_user.
    // @param rounding how the index is made whole.
    // @return the trace index; a step of 0 gives an infinite or NaN index.
    double user_to_index(double user, double start, double step,
                         Rounding rounding = Rounding::none);

    // The compatibility class below this one, for code written against it.
    const ZAR::CReferenceConverter& tables() const { return *tables_; }

  private:
    std::unique_ptr<ZAR::CReferenceConverter> tables_;
};

}  // namespace svy3
