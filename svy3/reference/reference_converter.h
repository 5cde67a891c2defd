// Conversion of positions along a survey line between user distance, reference distance,
// odometer distance and trace index.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "svy3/platform/export.h"
#include "svy3/reference/converter.h"
#include "svy3/reference/rounding.h"

namespace ZAR {

// Two piecewise-linear tables: user distance to reference distance (the distances marked on the
// ground), and reference distance to odometer distance (what the odometer wheel measured). A
// trace index follows from the odometer distance by a start value (odometer distance of trace 0)
// and a step (odometer distance per trace). Both tables start empty; a conversion through an
// empty table throws std::invalid_argument. Conversions record the segments they used, so one
// converter must not be used from two threads at once.
class SVY3_API CReferenceConverter {
  public:
    // Both tables empty.
    CReferenceConverter();
    ~CReferenceConverter();
    // Copies the points of both tables of `other`.
    CReferenceConverter(const CReferenceConverter& other);
    CReferenceConverter& operator=(const CReferenceConverter& other);

    // Replaces the user-to-reference table with the points (user[i], reference[i]), i < count.
    // A null array or a negative count leaves the table unchanged; a count of 0 empties it.
    void InitializeUser2RefTable(const double* user, const double* reference, int32_t count);
    // Replaces the reference-to-odometer table with the points (reference[i], odometer[i]), with
    // the same rules.
    void InitializeRef2OdoTable(const double* reference, const double* odometer, int32_t count);

    // Odometer distance of a user distance: forward through both tables.
    double User2Odo(double user);
    // User distance of an odometer distance: inverse through both tables.
    double Odo2User(double odometer);
    // User distance of a trace index: Odo2User(index * step + start).
    double Idx2User(double index, double start, double step);
    // Trace index of a user distance, (User2Odo(user) - start) / step, rounded as asked. `user`
    // is replaced by Idx2User of the returned index, also when no rounding is asked. A step of 0
    // gives an infinite or NaN index.
    double User2Idx(double& user, double start, double step, ERounding rounding);

    // Largest ratio of reference distance to odometer distance, (x[i+1] - x[i]) / (y[i+1] - y[i]),
    // over neighbouring points of the reference-to-odometer table. 1.0 with fewer than two
    // points; 0.0 when no ratio is positive; NaN ratios are skipped, and equal odometer
    // distances with rising reference distances give +infinity.
    double GetLargestRef2OdoRatio() const;

    // The tables' points, in the order given.
    const std::vector<hash>& GetUser2RefTable() const { return m_pUser2Ref->GetPoints(); }
    const std::vector<hash>& GetRef2OdoTable() const { return m_pRef2Odo->GetPoints(); }

  protected:
    std::unique_ptr<CConverter> m_pUser2Ref;  // x user distance, y reference distance
    std::unique_ptr<CConverter> m_pRef2Odo;   // x reference distance, y odometer distance
};

}  // namespace ZAR
