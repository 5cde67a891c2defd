// The replaceable prompt behind the line offset dialog. A desktop build shows a real window; here
// programs and tests install a function that plays the user's part.
#pragma once

#include <functional>
#include <string>

#include "svy3/platform/export.h"

namespace ZAR {

// Shows the dialog's edit box holding `text` and waits for the user. Returns true when OK was
// pressed, with `text` holding what the edit box holds then; false when the window was closed
// from its system menu (the text is then ignored).
using LineOffsetPrompt = std::function<bool(std::string& text)>;

// Installs the prompt and returns the previous one. An empty prompt restores the default, which
// closes the window at once without touching the text.
SVY3_API LineOffsetPrompt SetLineOffsetPrompt(LineOffsetPrompt prompt);

// Asks the installed prompt once (the default when none is installed). Returns what it returns.
SVY3_API bool AskLineOffsetPrompt(std::string& text);

}  // namespace ZAR
