// CScopedLineOffsetPrompt: installs a line offset prompt for the length of a scope.
#pragma once

#include <utility>

#include "svy3/shell/line_offset_prompt.h"

namespace ZAR {

// Installs `prompt` on construction and puts the previous prompt back when destroyed, also when
// the scope is left by an exception. Scopes nest: each one restores what it replaced.
class CScopedLineOffsetPrompt {
  public:
    explicit CScopedLineOffsetPrompt(LineOffsetPrompt prompt)
        : m_previous(SetLineOffsetPrompt(std::move(prompt))) {}
    ~CScopedLineOffsetPrompt() { SetLineOffsetPrompt(std::move(m_previous)); }
    CScopedLineOffsetPrompt(const CScopedLineOffsetPrompt&) = delete;
    CScopedLineOffsetPrompt& operator=(const CScopedLineOffsetPrompt&) = delete;

  private:
    LineOffsetPrompt m_previous;
};

}  // namespace ZAR
