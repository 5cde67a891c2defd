// CScopedMessageBoxHandler: installs a message box handler for the length of a scope.
#pragma once

#include <utility>

#include "svy3/platform/message_box.h"

namespace ZAR {

// Installs `handler` on construction and puts the previous handler back when destroyed, also when
// the scope is left by an exception. Scopes nest: each one restores what it replaced.
class CScopedMessageBoxHandler {
  public:
    explicit CScopedMessageBoxHandler(MessageBoxHandler handler)
        : m_previous(SetMessageBoxHandler(std::move(handler))) {}
    ~CScopedMessageBoxHandler() { SetMessageBoxHandler(std::move(m_previous)); }
    CScopedMessageBoxHandler(const CScopedMessageBoxHandler&) = delete;
    CScopedMessageBoxHandler& operator=(const CScopedMessageBoxHandler&) = delete;

  private:
    MessageBoxHandler m_previous;
};

}  // namespace ZAR
