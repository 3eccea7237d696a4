#include "gtp/RootValueSink.h"

#include <algorithm>

void RootValueSink::post(Message message) {
    if (const auto* shown = std::get_if<WmAppShowEval>(&message); shown && !shown->clears()) {
        const CellEvaluation& value = *shown->evaluation;
        std::lock_guard lock(m_lock);
        const auto same = std::find_if(m_values.begin(), m_values.end(), [&](const auto& kept) {
            return kept.row == value.row && kept.col == value.col;
        });
        if (same == m_values.end()) {
            m_values.push_back(value);
        } else {
            same->value = value.value;
        }
    }
    m_next.post(std::move(message));
}

void RootValueSink::clear() {
    std::lock_guard lock(m_lock);
    m_values.clear();
}

std::vector<CellEvaluation> RootValueSink::values() const {
    std::lock_guard lock(m_lock);
    return m_values;
}
