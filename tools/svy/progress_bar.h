// A one-line progress bar on standard error.
#pragma once

#include <cstddef>
#include <string>

namespace svy_tool {

class ProgressBar {
  public:
    // Shows nothing unless `enabled` (and standard error is a terminal).
    ProgressBar(std::string label, std::size_t total, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // One more item done; redraws when the shown percentage changes.
    void Advance();
    // Erases the bar so that a message can be printed; it comes back with the next Advance.
    void Clear();
    // Draws the bar at 100 % and ends its line.
    void Finish();

  private:
    void Draw();

    std::string m_label;
    std::size_t m_total;
    std::size_t m_done = 0;
    int m_shownPercent = -1;
    bool m_enabled;
    bool m_finished = false;
};

}  // namespace svy_tool
