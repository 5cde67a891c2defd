// svy3::Error: the one exception type of the svy3 interface.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "svy3/platform/export.h"

namespace svy3 {

// Thrown by every function of the svy3 interface that cannot do what it was asked. It carries
// what went wrong as its message (what()), what kind of problem it was, the numeric code the
// library's own classes gave (0 when there was none) and the messages the library collected before
// it failed (those it would otherwise have shown in a message box), in the order they came.
class SVY3_API Error : public std::runtime_error {
  public:
    enum class Kind {
        file_system,  // a file or folder is missing, unreadable or cannot be written
        document,     // the document is not a project document the library can read or edit
        refused,      // the call would lose or harm data (a clash of names, a path outside the
                      // data folder, unsaved edits in the way); nothing was changed
        interrupted,  // a batch of file moves was cut off; see svy3::Editor::recover
    };

    Error(Kind kind, const std::string& message, int code = 0,
          std::vector<std::string> messages = {});

    Kind kind() const noexcept { return kind_; }
    // The code of the library's own error (the editor's negative codes, the document writer's
    // result), or 0.
    int code() const noexcept { return code_; }
    // Messages collected before the failure, and explanations of what was done about it (for
    // instance that every moved file was put back).
    const std::vector<std::string>& messages() const noexcept { return messages_; }

  private:
    Kind kind_;
    int code_;
    std::vector<std::string> messages_;
};

}  // namespace svy3
