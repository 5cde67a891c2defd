// Modal messages of the library. Every message the library shows to the user goes through
// ShowMessageBox; programs and tests choose how it is presented by installing a handler.
#pragma once

#include <functional>
#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// Icon shown beside a message.
enum class MessageIcon { None, Exclamation };

// Presents one message; the call returns when the user has acknowledged it (an OK button).
using MessageBoxHandler = std::function<void(const std::string& text, MessageIcon icon)>;

// Installs the handler that presents messages and returns the previous one. An empty handler
// restores the default, which writes the text and a line break to standard error.
SVY3_API MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Shows a message through the installed handler.
SVY3_API void ShowMessageBox(const std::string& text, MessageIcon icon);

}  // namespace ZAR
