#include "svy3/api/error.h"

#include <utility>

namespace svy3 {

Error::Error(Kind kind, const std::string& message, int code, std::vector<std::string> messages)
    : std::runtime_error(message), kind_(kind), code_(code), messages_(std::move(messages)) {}

}  // namespace svy3
