#include "svy3/editor/error.h"

#include <utility>

namespace ZAR {

CError::CError(std::string message, int32_t code, int32_t level)
    : std::runtime_error(std::move(message)), m_code(code), m_level(level), m_source("gpz_svy") {}

}  // namespace ZAR
