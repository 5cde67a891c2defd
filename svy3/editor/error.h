// CError: the exception the project editor throws for a malformed document, a missing file or a
// failed file move.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// An editor error: a message (what()), a negative code that tells which check failed, a severity
// level (3 for a problem the user can mend, such as a missing file, 5 for a malformed document or
// a failed move) and the source name "gpz_svy". Copies carry all four.
class SVY3_API CError : public std::runtime_error {
  public:
    CError(std::string message, int32_t code, int32_t level);

    int32_t Code() const { return m_code; }
    int32_t Level() const { return m_level; }
    // Always "gpz_svy".
    const char* Source() const { return m_source; }

  private:
    int32_t m_code;
    int32_t m_level;
    const char* m_source;
};

}  // namespace ZAR
