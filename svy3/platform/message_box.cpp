#include "svy3/platform/message_box.h"

#include <cstdio>
#include <utility>

namespace ZAR {
namespace {

MessageBoxHandler& InstalledHandler() {
    static MessageBoxHandler handler;
    return handler;
}

void WriteToStandardError(const std::string& text, MessageIcon /*icon*/) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(InstalledHandler(), std::move(handler));
}

void ShowMessageBox(const std::string& text, MessageIcon icon) {
    // A handler may install another one while it runs; call a copy.
    MessageBoxHandler handler = InstalledHandler();
    if (handler)
        handler(text, icon);
    else
        WriteToStandardError(text, icon);
}

}  // namespace ZAR
