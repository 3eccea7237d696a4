#include "headless/ProgressBar.h"

#include <algorithm>
#include <ostream>
#include <string>

ProgressBar::ProgressBar(std::ostream& out, int total) : m_out(out), m_total(std::max(1, total)) {}

void ProgressBar::show(int done) {
    const int filled = std::clamp(done, 0, m_total) * width / m_total;
    m_out << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
          << std::string(static_cast<std::size_t>(width - filled), '.') << "] " << done << '/'
          << m_total << std::flush;
}
