#include "document/GameReview.h"

#include "model/Game.h"
#include "notation/GamePosition.h"

#include <algorithm>

GameReview::GameReview() = default;
GameReview::~GameReview() = default;

void GameReview::load(std::uint32_t size, std::vector<Hex::Coord> moves,
                      std::vector<GameVariation> variations) {
    m_loaded = true;
    m_size = size;
    m_gameMoves = std::move(moves);
    m_variations = std::move(variations);
    GamePosition position(size);
    m_legalCount = 0;
    for (const Hex::Coord move : m_gameMoves) {
        if (!position.refusal(position.sideToMove(), move).empty()) {
            break;
        }
        position.play(move);
        ++m_legalCount;
    }
    showLine(std::nullopt, m_gameMoves.size());
}

void GameReview::clear() {
    m_loaded = false;
    m_moves.clear();
    m_shown = 0;
    m_shownGame.reset();
    m_legalCount = 0;
    m_shownWinner = 0;
    m_gameMoves.clear();
    m_variations.clear();
    m_variation.reset();
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
    if (m_shown < m_moves.size() || m_variation) {
        m_shownGame = std::move(shown);
    }
}

std::vector<Hex::Coord> GameReview::shownMoves() const {
    return {m_moves.begin(), m_moves.begin() + static_cast<std::ptrdiff_t>(m_shown)};
}

// A variation's moves follow the rules from its branch point, which a game's legal moves
// reach.
bool GameReview::canPlayOn() const {
    const std::size_t gameMovesShown = std::min(m_shown, variationBranch().value_or(m_shown));
    return gameMovesShown <= m_legalCount && m_shownWinner == 0;
}

// --- Variations ------------------------------------------------------------------------------

bool GameReview::play(Hex::Coord cell) {
    const auto side = static_cast<std::int32_t>(m_size);
    if (!m_loaded || !canPlayOn() || cell.row < 0 || cell.col < 0 || cell.row >= side ||
        cell.col >= side) {
        return false;
    }
    GamePosition position(m_size);
    if (!position.playAll(shownMoves()).empty() ||
        !position.refusal(position.sideToMove(), cell).empty()) {
        return false;
    }
    const std::size_t shown = m_shown;
    const std::optional<std::size_t> branch = variationBranch();
    if (branch && shown > *branch) {
        std::vector<Hex::Coord>& moves = m_variations[*m_variation].moves;
        const std::size_t played = shown - *branch;
        if (played == moves.size() || moves[played] != cell) {
            moves.resize(played);
            moves.push_back(cell);
        }
        showLine(m_variation, shown + 1);
    } else if (shown < m_gameMoves.size() && m_gameMoves[shown] == cell) {
        showLine(std::nullopt, shown + 1);
    } else {
        showLine(variationFrom(shown, cell), shown + 1);
    }
    return true;
}

std::size_t GameReview::variationFrom(std::size_t branch, Hex::Coord cell) {
    for (std::size_t i = 0; i < m_variations.size(); ++i) {
        const GameVariation& variation = m_variations[i];
        if (variation.branch == branch && !variation.moves.empty() &&
            variation.moves.front() == cell) {
            return i;
        }
    }
    m_variations.push_back({branch, {cell}});
    return m_variations.size() - 1;
}

bool GameReview::backToGame() {
    const std::optional<std::size_t> branch = variationBranch();
    if (!branch) {
        return false;
    }
    showLine(std::nullopt, std::min(m_shown, *branch));
    return true;
}

std::optional<std::size_t> GameReview::variationBranch() const {
    if (!m_variation) {
        return std::nullopt;
    }
    return m_variations[*m_variation].branch;
}

void GameReview::showLine(std::optional<std::size_t> variation, std::size_t shown) {
    m_variation = variation;
    const std::size_t branch = variationBranch().value_or(m_gameMoves.size());
    m_moves.assign(m_gameMoves.begin(), m_gameMoves.begin() + static_cast<std::ptrdiff_t>(branch));
    if (variation) {
        const std::vector<Hex::Coord>& moves = m_variations[*variation].moves;
        m_moves.insert(m_moves.end(), moves.begin(), moves.end());
    }
    m_shown = shown;
    replayShown();
}
