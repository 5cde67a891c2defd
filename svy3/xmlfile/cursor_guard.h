// CCursorGuard: remembers the cursor's node and brings the cursor back to it when the scope ends.
#pragma once

#include "svy3/xmlfile/svy_xml_file.h"

namespace ZAR {

// Saves the current position of `file` on construction (PushPosition) and, when destroyed, moves
// back to it and forgets it (GotoTopPosition, PopPosition), on every way out of the scope: a
// return, an early return or an exception. Guards nest: each one restores the position it saved.
class CCursorGuard {
  public:
    explicit CCursorGuard(CSVYXmlFile& file) : m_file(file) { m_file.PushPosition(); }
    ~CCursorGuard() {
        m_file.GotoTopPosition();
        m_file.PopPosition();
    }
    CCursorGuard(const CCursorGuard&) = delete;
    CCursorGuard& operator=(const CCursorGuard&) = delete;

    // Moves the cursor back to the saved position, which stays saved, for another walk from it.
    void Return() { m_file.GotoTopPosition(); }

  private:
    CSVYXmlFile& m_file;
};

}  // namespace ZAR
