// A point recorded along a radar data file: coordinates X, Y, Z, a time T and a trace number.
#pragma once

#include <iosfwd>

#include "svy3/external/measure.h"
#include "svy3/platform/export.h"

namespace ZAR {

// A 3 by 3 matrix of doubles, rows first; applied to the column (X, Y, Z).
using PositionMatrix = double[3][3];

// Interface of a position. Coordinates are read and written in a unit code and converted from
// and to the position's own storage unit, the metre; a unit code of 0 (or an unknown code) takes
// and gives the stored number unchanged. Time T is kept as given (nanoseconds by convention);
// its unit argument is accepted for symmetry and ignored, as times have no length unit.
class SVY3_API IPosition {
  public:
    virtual ~IPosition();

    // True when X and Y are finite numbers. Z may be NaN, which marks a missing height.
    virtual bool Valid() const = 0;
    // Copies X, Y, Z, T and the trace number of `other` (the coordinates through `unit`).
    virtual void Set(const IPosition& other, Enum<UNIT_TYPE> unit) = 0;
    virtual void Trace(double trace) = 0;
    virtual double Trace() const = 0;
    // Row 0 of `m` times (X, Y, Z) in metres; a NaN Z counts as 0 in the product.
    virtual double X(const PositionMatrix& m) const = 0;
    virtual double X(Enum<UNIT_TYPE> unit) const = 0;
    virtual void X(double x, Enum<UNIT_TYPE> unit) = 0;
    virtual void Y(double y, Enum<UNIT_TYPE> unit) = 0;
    // Row 1 of `m` times (X, Y, Z) in metres; a NaN Z counts as 0 in the product.
    virtual double Y(const PositionMatrix& m) const = 0;
    virtual double Y(Enum<UNIT_TYPE> unit) const = 0;
    // Row 2 of `m` times (X, Y, Z) in metres; a NaN Z counts as 0 in the product.
    virtual double Z(const PositionMatrix& m) const = 0;
    virtual void Z(double z, Enum<UNIT_TYPE> unit) = 0;
    virtual double Z(Enum<UNIT_TYPE> unit) const = 0;
    virtual void T(double t, Enum<UNIT_TYPE> unit) = 0;
    virtual double T(Enum<UNIT_TYPE> unit) const = 0;
    // Sets X, Y and Z; T and the trace number stay.
    virtual void operator()(double x, double y, double z, Enum<UNIT_TYPE> unit) = 0;
    // Same X, Y, Z, T and trace number; two NaNs in the same place count as equal.
    virtual bool operator==(const IPosition& other) const = 0;
    // Sets the whole point: X, Y and Z as given, T and the trace number back to 0.
    virtual void Set(double x, double y, double z, Enum<UNIT_TYPE> unit) = 0;

    bool operator!=(const IPosition& other) const { return !(*this == other); }
};

// Writes a position on one line without a line break: "(X,Y,Z,T,Trace)" with X, Y, Z in metres
// and the stream's number format, e.g. "(1.5,-2,nan,0,17)".
SVY3_API std::ostream& operator<<(std::ostream& os, const IPosition& position);

// A position whose values are stored as `Value`. Defaults: X, Y and Z NaN (not valid), T and
// the trace number 0. Only Position<double> is provided.
template <class Value>
class SVY3_API Position : public IPosition {
  public:
    Position();
    Position(double x, double y, double z, Enum<UNIT_TYPE> unit);
    ~Position() override;

    bool Valid() const override;
    void Set(const IPosition& other, Enum<UNIT_TYPE> unit) override;
    void Trace(double trace) override;
    double Trace() const override;
    double X(const PositionMatrix& m) const override;
    double X(Enum<UNIT_TYPE> unit) const override;
    void X(double x, Enum<UNIT_TYPE> unit) override;
    void Y(double y, Enum<UNIT_TYPE> unit) override;
    double Y(const PositionMatrix& m) const override;
    double Y(Enum<UNIT_TYPE> unit) const override;
    double Z(const PositionMatrix& m) const override;
    void Z(double z, Enum<UNIT_TYPE> unit) override;
    double Z(Enum<UNIT_TYPE> unit) const override;
    void T(double t, Enum<UNIT_TYPE> unit) override;
    double T(Enum<UNIT_TYPE> unit) const override;
    void operator()(double x, double y, double z, Enum<UNIT_TYPE> unit) override;
    bool operator==(const IPosition& other) const override;
    void Set(double x, double y, double z, Enum<UNIT_TYPE> unit) override;

  protected:
    Value m_x, m_y, m_z;  // metres
    Value m_t;
    Value m_trace;

  private:
    double Row(const PositionMatrix& m, int row) const;
};

extern template class SVY3_API Position<double>;

}  // namespace ZAR
