#include "svy3/external/position.h"

#include <cmath>
#include <limits>
#include <ostream>

namespace ZAR {
namespace {

double ToMetres(double value, Enum<UNIT_TYPE> unit) {
    return CMeasure::ConvertTo(value, unit, UNIT_M);
}

double FromMetres(double value, Enum<UNIT_TYPE> unit) {
    return CMeasure::ConvertTo(value, UNIT_M, unit);
}

bool SameOrBothNaN(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

IPosition::~IPosition() = default;

std::ostream& operator<<(std::ostream& os, const IPosition& position) {
    return os << '(' << position.X(UNIT_M) << ',' << position.Y(UNIT_M) << ',' << position.Z(UNIT_M)
              << ',' << position.T(UNIT_NONE) << ',' << position.Trace() << ')';
}

template <class Value>
Position<Value>::Position()
    : m_x(std::numeric_limits<Value>::quiet_NaN()),
      m_y(std::numeric_limits<Value>::quiet_NaN()),
      m_z(std::numeric_limits<Value>::quiet_NaN()),
      m_t(0),
      m_trace(0) {}

template <class Value>
Position<Value>::Position(double x, double y, double z, Enum<UNIT_TYPE> unit) : Position() {
    Set(x, y, z, unit);
}

template <class Value>
Position<Value>::~Position() = default;

template <class Value>
bool Position<Value>::Valid() const {
    return std::isfinite(static_cast<double>(m_x)) && std::isfinite(static_cast<double>(m_y));
}

template <class Value>
void Position<Value>::Set(const IPosition& other, Enum<UNIT_TYPE> unit) {
    X(other.X(unit), unit);
    Y(other.Y(unit), unit);
    Z(other.Z(unit), unit);
    T(other.T(unit), unit);
    Trace(other.Trace());
}

template <class Value>
void Position<Value>::Trace(double trace) {
    m_trace = static_cast<Value>(trace);
}

template <class Value>
double Position<Value>::Trace() const {
    return static_cast<double>(m_trace);
}

template <class Value>
double Position<Value>::Row(const PositionMatrix& m, int row) const {
    const double z = std::isnan(static_cast<double>(m_z)) ? 0.0 : static_cast<double>(m_z);
    return m[row][0] * static_cast<double>(m_x) + m[row][1] * static_cast<double>(m_y) +
           m[row][2] * z;
}

template <class Value>
double Position<Value>::X(const PositionMatrix& m) const {
    return Row(m, 0);
}

template <class Value>
double Position<Value>::X(Enum<UNIT_TYPE> unit) const {
    return FromMetres(static_cast<double>(m_x), unit);
}

template <class Value>
void Position<Value>::X(double x, Enum<UNIT_TYPE> unit) {
    m_x = static_cast<Value>(ToMetres(x, unit));
}

template <class Value>
void Position<Value>::Y(double y, Enum<UNIT_TYPE> unit) {
    m_y = static_cast<Value>(ToMetres(y, unit));
}

template <class Value>
double Position<Value>::Y(const PositionMatrix& m) const {
    return Row(m, 1);
}

template <class Value>
double Position<Value>::Y(Enum<UNIT_TYPE> unit) const {
    return FromMetres(static_cast<double>(m_y), unit);
}

template <class Value>
double Position<Value>::Z(const PositionMatrix& m) const {
    return Row(m, 2);
}

template <class Value>
void Position<Value>::Z(double z, Enum<UNIT_TYPE> unit) {
    m_z = static_cast<Value>(ToMetres(z, unit));
}

template <class Value>
double Position<Value>::Z(Enum<UNIT_TYPE> unit) const {
    return FromMetres(static_cast<double>(m_z), unit);
}

template <class Value>
void Position<Value>::T(double t, Enum<UNIT_TYPE>) {
    m_t = static_cast<Value>(t);
}

template <class Value>
double Position<Value>::T(Enum<UNIT_TYPE>) const {
    return static_cast<double>(m_t);
}

template <class Value>
void Position<Value>::operator()(double x, double y, double z, Enum<UNIT_TYPE> unit) {
    X(x, unit);
    Y(y, unit);
    Z(z, unit);
}

template <class Value>
bool Position<Value>::operator==(const IPosition& other) const {
    return SameOrBothNaN(X(UNIT_M), other.X(UNIT_M)) && SameOrBothNaN(Y(UNIT_M), other.Y(UNIT_M)) &&
           SameOrBothNaN(Z(UNIT_M), other.Z(UNIT_M)) &&
           SameOrBothNaN(T(UNIT_NONE), other.T(UNIT_NONE)) && SameOrBothNaN(Trace(), other.Trace());
}

template <class Value>
void Position<Value>::Set(double x, double y, double z, Enum<UNIT_TYPE> unit) {
    (*this)(x, y, z, unit);
    m_t = 0;
    m_trace = 0;
}

template class Position<double>;

}  // namespace ZAR
