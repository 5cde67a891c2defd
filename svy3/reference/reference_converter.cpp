#include "svy3/reference/reference_converter.h"

#include <cmath>
#include <cstddef>

namespace ZAR {

CReferenceConverter::CReferenceConverter()
    : m_pUser2Ref(std::make_unique<CConverter>()), m_pRef2Odo(std::make_unique<CConverter>()) {}

CReferenceConverter::~CReferenceConverter() = default;

CReferenceConverter::CReferenceConverter(const CReferenceConverter& other)
    : m_pUser2Ref(std::make_unique<CConverter>(*other.m_pUser2Ref)),
      m_pRef2Odo(std::make_unique<CConverter>(*other.m_pRef2Odo)) {}

CReferenceConverter& CReferenceConverter::operator=(const CReferenceConverter& other) {
    *m_pUser2Ref = *other.m_pUser2Ref;
    *m_pRef2Odo = *other.m_pRef2Odo;
    return *this;
}

void CReferenceConverter::InitializeUser2RefTable(const double* user, const double* reference,
                                                  int32_t count) {
    m_pUser2Ref->Initialize(user, reference, count);
}

void CReferenceConverter::InitializeRef2OdoTable(const double* reference, const double* odometer,
                                                 int32_t count) {
    m_pRef2Odo->Initialize(reference, odometer, count);
}

double CReferenceConverter::User2Odo(double user) {
    return m_pRef2Odo->Convert(m_pUser2Ref->Convert(user));
}

double CReferenceConverter::Odo2User(double odometer) {
    return m_pUser2Ref->ConvertInverse(m_pRef2Odo->ConvertInverse(odometer));
}

double CReferenceConverter::Idx2User(double index, double start, double step) {
    return Odo2User(index * step + start);
}

double CReferenceConverter::User2Idx(double& user, double start, double step, ERounding rounding) {
    double index = (User2Odo(user) - start) / step;
    switch (rounding) {
        case RoundDown:
            index = std::floor(index);
            break;
        case RoundUp:
            index = std::ceil(index);
            break;
        case RoundNearest:
            index = std::floor(index + 0.5);
            break;
        default:  // RoundNone and any unknown value
            break;
    }
    user = Idx2User(index, start, step);
    return index;
}

double CReferenceConverter::GetLargestRef2OdoRatio() const {
    const std::vector<hash>& points = m_pRef2Odo->GetPoints();
    if (points.size() < 2)
        return 1.0;
    double largest = 0.0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const double ratio = (points[i + 1].x - points[i].x) / (points[i + 1].y - points[i].y);
        // A NaN ratio compares false and is passed over.
        if (ratio > largest)
            largest = ratio;
    }
    return largest;
}

}  // namespace ZAR
