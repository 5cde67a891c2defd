// MessageCapture: collects what the library would show in message boxes, one scope at a time
// across the process. Internal to the svy3 interface.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "svy3/platform/scoped_message_handler.h"

namespace svy3 {
namespace detail {

// The message box hook is one for the whole process: a capture holds a lock for its lifetime, so
// that two threads opening projects do not collect each other's messages.
std::mutex& MessageHookLock();

class MessageCapture {
  public:
    explicit MessageCapture(std::vector<std::string>& messages)
        : lock_(MessageHookLock()),
          handler_([&messages](const std::string& text, ZAR::MessageIcon) {
              messages.push_back(text);
          }) {}

  private:
    std::lock_guard<std::mutex> lock_;
    ZAR::CScopedMessageBoxHandler handler_;
};

}  // namespace detail
}  // namespace svy3
