#include "svy3/api/distance_converter.h"

#include "svy3/reference/reference_converter.h"

namespace svy3 {

DistanceConverter::DistanceConverter(const ZAR::CReferenceConverter& tables)
    : tables_(std::make_unique<ZAR::CReferenceConverter>(tables)) {}

DistanceConverter::DistanceConverter(const DistanceConverter& other)
    : DistanceConverter(*other.tables_) {}

DistanceConverter& DistanceConverter::operator=(const DistanceConverter& other) {
    if (this != &other)
        tables_ = std::make_unique<ZAR::CReferenceConverter>(*other.tables_);
    return *this;
}

DistanceConverter::DistanceConverter(DistanceConverter&&) noexcept = default;
DistanceConverter& DistanceConverter::operator=(DistanceConverter&&) noexcept = default;
DistanceConverter::~DistanceConverter() = default;

double DistanceConverter::user_to_odometer(double user) {
    return tables_->User2Odo(user);
}

double DistanceConverter::odometer_to_user(double odometer) {
    return tables_->Odo2User(odometer);
}

double DistanceConverter::index_to_user(double index, double start, double step) {
    return tables_->Idx2User(index, start, step);
}

double DistanceConverter::user_to_index(double user, double start, double step, Rounding rounding) {
    return tables_->User2Idx(user, start, step, static_cast<ZAR::ERounding>(rounding));
}

}  // namespace svy3
