#include "tools/svy/progress_bar.h"

#include <unistd.h>

#include <cstdio>

namespace svy_tool {

ProgressBar::ProgressBar(std::string label, std::size_t total, bool enabled)
    : m_label(std::move(label)), m_total(total), m_enabled(enabled && isatty(STDERR_FILENO)) {}

ProgressBar::~ProgressBar() {
    Finish();
}

void ProgressBar::Advance() {
    ++m_done;
    const int percent = m_total ? static_cast<int>(100 * m_done / m_total) : 100;
    if (percent != m_shownPercent) {
        m_shownPercent = percent;
        Draw();
    }
}

void ProgressBar::Clear() {
    if (!m_enabled || m_finished)
        return;
    std::fprintf(stderr, "\r\033[K");
    m_shownPercent = -1;
}

void ProgressBar::Finish() {
    if (!m_enabled || m_finished)
        return;
    m_done = m_total;
    m_shownPercent = 100;
    Draw();
    std::fprintf(stderr, "\n");
    m_finished = true;
}

void ProgressBar::Draw() {
    if (!m_enabled || m_finished)
        return;
    constexpr int kWidth = 40;
    const int filled = m_shownPercent * kWidth / 100;
    std::fprintf(stderr, "\r%s [%.*s%*s] %3d%% (%zu/%zu)", m_label.c_str(), filled,
                 "########################################", kWidth - filled, "", m_shownPercent,
                 m_done, m_total);
    std::fflush(stderr);
}

}  // namespace svy_tool
