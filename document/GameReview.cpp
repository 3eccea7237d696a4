#include "document/GameReview.h"

#include "model/Game.h"
#include "notation/GamePosition.h"

#include <algorithm>

GameReview::GameReview() = default;
GameReview::~GameReview() = default;

void GameReview::load(std::uint32_t size, std::vector<Hex::Coord> moves) {
    m_loaded = true;
    m_size = size;
    m_moves = std::move(moves);
    GamePosition position(size);
    m_legalCount = 0;
    for (const Hex::Coord move : m_moves) {
        if (!position.refusal(position.sideToMove(), move).empty()) {
            break;
        }
        position.play(move);
        ++m_legalCount;
    }
    m_shown = m_moves.size();
    replayShown();
}

void GameReview::clear() {
    m_loaded = false;
    m_moves.clear();
    m_shown = 0;
    m_shownGame.reset();
    m_legalCount = 0;
    m_shownWinner = 0;
}

std::size_t GameReview::target(Step step) const {
    switch (step) {
    case Step::first:
        return 0;
    case Step::previous:
        return m_shown > 0 ? m_shown - 1 : 0;
    case Step::next:
        return m_shown < m_moves.size() ? m_shown + 1 : m_shown;
    case Step::last:
        break;
    }
    return m_moves.size();
}

bool GameReview::go(Step step) {
    return show(target(step));
}

bool GameReview::show(std::size_t count) {
    count = std::min(count, m_moves.size());
    if (count == m_shown) {
        return false;
    }
    m_shown = count;
    replayShown();
    return true;
}

// The first moves of a game that was played or opened replay without a throw.
void GameReview::replayShown() {
    auto shown = std::make_unique<Hex::Game>(m_size, shownMoves());
    m_shownWinner = shown->winner();
    m_shownGame.reset();
    if (m_shown < m_moves.size()) {
        m_shownGame = std::move(shown);
    }
}

std::vector<Hex::Coord> GameReview::shownMoves() const {
    return {m_moves.begin(), m_moves.begin() + static_cast<std::ptrdiff_t>(m_shown)};
}
