#include "svy3/shell/line_offset_prompt.h"

#include <utility>

namespace ZAR {
namespace {

LineOffsetPrompt& InstalledPrompt() {
    static LineOffsetPrompt prompt;
    return prompt;
}

}  // namespace

LineOffsetPrompt SetLineOffsetPrompt(LineOffsetPrompt prompt) {
    return std::exchange(InstalledPrompt(), std::move(prompt));
}

bool AskLineOffsetPrompt(std::string& text) {
    // A prompt may install another one while it runs; call a copy.
    LineOffsetPrompt prompt = InstalledPrompt();
    if (!prompt)
        return false;  // the default: the window is closed at once
    return prompt(text);
}

}  // namespace ZAR
