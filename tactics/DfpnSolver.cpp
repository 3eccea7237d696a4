#include "tactics/DfpnSolver.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The keys of the positions: a fixed sequence, so that every run finds the same collisions.
std::uint64_t splitMix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr std::uint64_t clockEvery = 1024;

} // namespace

DfpnSolver::DfpnSolver(std::size_t tableBytes, bool connections, bool inferior)
    : m_table(tableBytes), m_connections(connections), m_inferior(inferior) {}

DfpnSolver::Result DfpnSolver::solve(const PlayoutBoard& board, int toMove, const Limits& limits,
                                     const std::atomic<bool>& stop) {
    const auto start = std::chrono::steady_clock::now();
    Result result;
    prepare(board);
    if (m_board.connects(3 - toMove) || m_board.connects(toMove)) {
        result.outcome = m_board.connects(toMove) ? Outcome::won : Outcome::lost;
        return result;
    }
    m_nodes = 0;
    m_nodeLimit = limits.nodes;
    const bool timed = limits.time < std::chrono::hours(24 * 365);
    m_deadline = timed ? start + limits.time : std::chrono::steady_clock::time_point::max();
    m_stop = &stop;
    m_aborted = false;
    m_table.prepare(m_words);

    std::uint64_t key = toMove == PlayoutBoard::player2 ? m_keys[1] : 0;
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        const std::uint8_t value = m_board.at(cell);
        if (value == PlayoutBoard::player1 || value == PlayoutBoard::player2) {
            key ^= m_keys[static_cast<std::size_t>(cell * 2 + value - 1)];
        }
    }
    search(key, toMove, 0, Numbers{infinity, infinity}, -1);

    const Numbers root = numbersOf(key);
    if (root.proof == 0) {
        result.outcome = Outcome::won;
    } else if (root.disproof == 0) {
        result.outcome = Outcome::lost;
    }
    result.move = chosenMove(m_frames.front(), result.outcome);
    // The root was stored last, so a proved root is still in the table.
    if (const SolverTable::Entry* entry = m_table.find(key);
        result.outcome != Outcome::unknown && entry != nullptr) {
        const std::uint64_t* proof = m_table.proofOf(*entry);
        for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
            const auto bit = static_cast<std::size_t>(m_bitOf[static_cast<std::size_t>(cell)]);
            if (m_board.at(cell) == PlayoutBoard::empty && ((proof[bit >> 6] >> (bit & 63)) & 1U)) {
                result.proof.push_back(m_board.coord(cell));
            }
        }
    }
    result.nodes = m_nodes;
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

void DfpnSolver::prepare(const PlayoutBoard& board) {
    if (m_board.size() != board.size() || m_keys.empty()) {
        m_board = PlayoutBoard(board.size());
        // Cell 0 is a ring cell, never a stone's: its Player 2 key stands for Player 2 to move.
        m_keys.resize(static_cast<std::size_t>(board.width() * board.width() * 2));
        std::uint64_t state = 0x51ED5EEDULL;
        for (std::uint64_t& key : m_keys) {
            key = splitMix(state);
        }
        const int n = board.size();
        m_bitOf.assign(static_cast<std::size_t>(board.width() * board.width()), 0);
        for (int row = 0; row < n; ++row) {
            for (int col = 0; col < n; ++col) {
                m_bitOf[static_cast<std::size_t>(m_board.index(row, col))] =
                    static_cast<std::int16_t>(row * n + col);
            }
        }
        m_words = (n * n + 63) / 64;
        m_readings.assign(readingSlots, Reading{});
    }
    m_board.copyFrom(board);
    int empties = 0;
    for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
        empties += m_board.at(cell) == PlayoutBoard::empty ? 1 : 0;
    }
    m_frames.resize(static_cast<std::size_t>(empties) + 1);
}

// False when the position is decided without a search (its numbers are then stored); else
// the moves worth trying, in order, and the keys of the positions they give. `afterFill`: the
// last move, when it was played on a board filled in as far as it goes, else -1.
bool DfpnSolver::generateMoves(Frame& frame, int toMove, std::uint64_t key, int afterFill) {
    Reading& reading = m_readings[static_cast<std::size_t>(key >> 32) % readingSlots];
    if (reading.used && reading.key == key) {
        frame.moves = reading.moves;
        frame.fill = reading.fill;
        frame.filledIn = reading.filledIn;
        frame.lossProof = reading.lossProof;
        frame.terminal = false;
    } else {
        if (!readPosition(frame, toMove, key, afterFill)) {
            return false;
        }
        reading.key = key;
        reading.used = true;
        reading.moves = frame.moves;
        reading.fill = frame.fill;
        reading.filledIn = frame.filledIn;
        reading.lossProof = frame.lossProof;
    }
    frame.keys.resize(frame.moves.size());
    frame.work.assign(frame.moves.size(), 0);
    frame.refuted.assign(frame.moves.size(), 0);
    std::uint64_t filledKey = key ^ m_keys[1];
    for (const InferiorCells::Fill& fill : frame.fill) {
        filledKey ^= m_keys[static_cast<std::size_t>(fill.cell * 2 + fill.player - 1)];
    }
    for (std::size_t i = 0; i < frame.moves.size(); ++i) {
        frame.keys[i] =
            filledKey ^ m_keys[static_cast<std::size_t>(frame.moves[i] * 2 + toMove - 1)];
    }
    return true;
}

// generateMoves() without the keys, reading the board.
bool DfpnSolver::readPosition(Frame& frame, int toMove, std::uint64_t key, int afterFill) {
    frame.moves.clear();
    frame.fill.clear();
    frame.filledIn = false;
    frame.terminal = true;
    CellBits& loss = frame.lossProof;
    loss.fill(0);
    // Played on its parent's fill-in, the last move may have joined the mover's edges.
    if (afterFill >= 0 && m_board.connects(3 - toMove)) {
        storeProved(key, false, loss);
        return false;
    }
    m_own.compute(m_board, toMove);
    if (!m_own.winning().empty()) {
        frame.moves.push_back(m_own.winning().front());
        m_proof.fill(0);
        addCell(m_proof, frame.moves.front());
        storeProved(key, true, m_proof);
        return false;
    }
    // Two winning cells of the other side cannot both be taken; one must be.
    m_other.compute(m_board, 3 - toMove);
    const std::vector<int>& threats = m_other.winning();
    if (threats.size() >= 2) {
        frame.moves.push_back(threats.front());
        addCell(loss, threats[0]);
        addCell(loss, threats[1]);
        storeProved(key, false, loss);
        return false;
    }
    if (threats.size() == 1) {
        frame.moves.push_back(threats.front());
        addCell(loss, threats.front());
    } else {
        // A stone that makes two winning cells wins: the other side has none to answer with.
        m_threats.clear();
        const int doubleThreat = findDoubleThreat(m_own, nullptr, nullptr);
        if (doubleThreat >= 0) {
            frame.moves.push_back(doubleThreat);
            m_proof.fill(0);
            addCell(m_proof, doubleThreat);
            addCells(m_proof, m_made);
            storeProved(key, true, m_proof);
            return false;
        }
        for (int cell = m_board.firstCell(); cell < m_board.endCell(); ++cell) {
            if (m_board.at(cell) == PlayoutBoard::empty) {
                frame.moves.push_back(cell);
            }
        }
        orderMoves(frame.moves);
        findDoubleThreat(m_other, &frame.moves, &loss);
        if (frame.moves.empty()) {
            frame.moves.push_back(m_other.touching().front()); // any move loses
            storeProved(key, false, loss);
            return false;
        }
        if (m_inferior && !pruneInferior(frame, toMove, key, afterFill)) {
            return false;
        }
        // The connections of the filled-in board are the position's: the fill-in changes
        // nobody's result.
        if (m_inferior) {
            frame.fill = m_fillIn.fill();
            frame.filledIn = true;
        }
        setFill(frame, true);
        const bool open = !m_connections || pruneByConnections(frame, toMove, key);
        setFill(frame, false);
        if (!open) {
            return false;
        }
    }
    frame.terminal = false;
    return true;
}

void DfpnSolver::setFill(const Frame& frame, bool filled) {
    for (const InferiorCells::Fill& fill : frame.fill) {
        m_board.set(fill.cell, filled ? fill.player : PlayoutBoard::empty);
    }
}

// False when the virtual connections decide the position (its numbers are then stored); else
// the moves are only those inside every connection of the other side.
bool DfpnSolver::pruneByConnections(Frame& frame, int toMove, std::uint64_t key) {
    m_ownConnections.compute(m_board, toMove);
    if (!m_ownConnections.winningCells().empty()) {
        frame.moves.assign(1, m_ownConnections.winningKey());
        m_proof.fill(0);
        addCells(m_proof, m_ownConnections.winningCarrier());
        addPairs(m_proof, frame.fill, toMove);
        storeProved(key, true, m_proof);
        return false;
    }
    m_otherConnections.compute(m_board, 3 - toMove);
    if (!m_otherConnections.threatens()) {
        return true;
    }
    addCells(frame.lossProof, m_otherConnections.threatCarrier());
    const int anyMove = frame.moves.front();
    std::erase_if(frame.moves, [&](int cell) {
        return m_otherConnections.connected() || !m_otherConnections.mustPlay(cell);
    });
    if (frame.moves.empty()) {
        frame.moves.push_back(anyMove); // any move loses
        storeProved(key, false, frame.lossProof);
        return false;
    }
    return true;
}

// False when the fill-in decides the position (its numbers are then stored); else the moves
// are only those outside it and without a killer. A filled-in cell is no better than a pass,
// and a killed cell than its killer, so when only such moves meet the other side's threats,
// the side to move has lost.
bool DfpnSolver::pruneInferior(Frame& frame, int toMove, std::uint64_t key, int afterFill) {
    if (afterFill >= 0) {
        m_fillIn.computeAfter(m_board, afterFill);
    } else {
        m_fillIn.compute(m_board);
    }
    const int anyMove = frame.moves.front();
    if (m_fillIn.winner() != 0) {
        // Every move has the same result: a pass does.
        const bool won = m_fillIn.winner() == toMove;
        frame.moves.assign(1, anyMove);
        m_proof.fill(0);
        addPairs(m_proof, m_fillIn.fill(), m_fillIn.winner());
        storeProved(key, won, m_proof);
        return false;
    }
    // A cell with a killer is no better than its killer, which is never left out for it.
    // The other side's captured pairs, and the killers, must stay empty for that to hold.
    m_fillIn.findKillers(toMove);
    addPairs(frame.lossProof, m_fillIn.fill(), 3 - toMove);
    std::erase_if(frame.moves, [&](int cell) {
        if (m_fillIn.killer(cell) >= 0) {
            addCell(frame.lossProof, m_fillIn.killer(cell));
        }
        return m_fillIn.skipped(cell);
    });
    if (frame.moves.empty()) {
        frame.moves.push_back(anyMove);
        storeProved(key, false, frame.lossProof);
        return false;
    }
    return true;
}

// The cells where a stone of the reach's player would give it two winning cells (with none
// now). Without `answers`, returns the first such cell, or -1. With it, keeps in `answers`
// only the cells that meet each such threat (the cell or its winning cells): a stone anywhere
// else leaves the threat to be made, and the two cells cannot both be taken.
int DfpnSolver::findDoubleThreat(EdgeReach& reach, std::vector<int>* answers, CellBits* proof) {
    for (const int cell : reach.touching()) {
        reach.winningAfter(m_board, cell, m_made);
        if (m_made.size() == 1 && answers == nullptr) {
            m_threats.push_back(cell);
        }
        if (m_made.size() < 2) {
            continue;
        }
        if (answers == nullptr) {
            return cell;
        }
        const auto meets = [&](int answer) {
            return answer == cell ||
                   std::find(m_made.begin(), m_made.end(), answer) != m_made.end();
        };
        std::erase_if(*answers, [&](int answer) { return !meets(answer); });
        addCell(*proof, cell);
        addCells(*proof, m_made);
    }
    return -1;
}

// Stones that make a winning cell first (the answer is forced), then cells next to more
// stones, then those nearer the centre; the board order breaks ties.
void DfpnSolver::orderMoves(std::vector<int>& moves) {
    for (const int cell : m_threats) {
        m_urgent[static_cast<std::size_t>(cell)] = 1;
    }
    const int n = m_board.size();
    m_scored.clear();
    for (const int cell : moves) {
        int stones = 0;
        for (const int offset : m_board.ring()) {
            const std::uint8_t value = m_board.at(cell + offset);
            stones += value == PlayoutBoard::player1 || value == PlayoutBoard::player2 ? 1 : 0;
        }
        const Hex::Coord place = m_board.coord(cell);
        const int distance = std::abs(2 * place.row + 1 - n) + std::abs(2 * place.col + 1 - n);
        const int urgent = m_urgent[static_cast<std::size_t>(cell)];
        m_scored.emplace_back((urgent * 8 + stones) * 4 * n - distance, cell);
    }
    std::stable_sort(m_scored.begin(), m_scored.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < moves.size(); ++i) {
        moves[i] = m_scored[i].second;
    }
    for (const int cell : m_threats) {
        m_urgent[static_cast<std::size_t>(cell)] = 0;
    }
}

// The multiple-iterative-deepening step of df-pn: searches below the position until its
// proof number reaches threshold.proof or its disproof number threshold.disproof. The
// numbers are the side to move's: proof, the work to show that it wins.
void DfpnSolver::search(std::uint64_t key, int toMove, std::size_t depth, Numbers threshold,
                        int afterFill) {
    if (outOfBudget()) {
        return;
    }
    const std::uint64_t start = m_nodes++;
    const SolverTable::Entry* known = m_table.find(key);
    const std::uint64_t workBefore = known != nullptr ? known->work : 0;
    Frame& frame = m_frames[depth];
    if (!generateMoves(frame, toMove, key, afterFill)) {
        return;
    }
    for (;;) {
        // Proof: the least disproof of a move; disproof: the sum of the moves' proofs.
        std::uint64_t proof = infinity;
        std::uint64_t second = infinity;
        std::uint64_t disproof = 0;
        std::size_t best = 0;
        bool refutedNow = false;
        for (std::size_t i = 0; i < frame.moves.size(); ++i) {
            const Numbers child = numbersOf(frame.keys[i]);
            refutedNow = refutedNow || (child.proof == 0 && frame.refuted[i] == 0);
            if (child.disproof < proof) {
                second = proof;
                proof = child.disproof;
                best = i;
            } else if (child.disproof < second) {
                second = child.disproof;
            }
            if (child.proof >= infinity) {
                disproof = infinity;
            } else if (disproof < infinity) {
                disproof = std::min<std::uint64_t>(disproof + child.proof, infinity - 1);
            }
        }
        if (refutedNow && proof != 0) {
            applyRefutations(frame);
            continue;
        }
        if (proof >= threshold.proof || disproof >= threshold.disproof || m_aborted) {
            const std::uint64_t* cells = nullptr;
            if (proof == 0) {
                m_proof.fill(0);
                addCell(m_proof, frame.moves[best]);
                addProof(m_proof, m_table.proofOf(*m_table.find(frame.keys[best])));
                addPairs(m_proof, frame.fill, toMove);
                cells = m_proof.data();
            } else if (disproof == 0) {
                cells = frame.lossProof.data();
            }
            m_table.store(key, static_cast<std::uint32_t>(proof),
                          static_cast<std::uint32_t>(disproof), workBefore + m_nodes - start,
                          cells);
            return;
        }
        const Numbers child = numbersOf(frame.keys[best]);
        const Numbers childThreshold{
            static_cast<std::uint32_t>(threshold.disproof - disproof + child.proof),
            static_cast<std::uint32_t>(
                std::min<std::uint64_t>(threshold.proof, second + second / 4 + 1))};
        const int move = frame.moves[best];
        const std::uint64_t before = m_nodes;
        setFill(frame, true);
        m_board.set(move, static_cast<std::uint8_t>(toMove));
        search(frame.keys[best], 3 - toMove, depth + 1, childThreshold, frame.filledIn ? move : -1);
        m_board.set(move, PlayoutBoard::empty);
        setFill(frame, false);
        frame.work[best] += m_nodes - before;
    }
}

// A refuted move's opponent wins even if the side to move is given every empty cell outside
// the refutation's proof and the move, so any move out there loses as well: those not yet
// refuted are dropped. The proof of the node's loss takes in each refutation.
void DfpnSolver::applyRefutations(Frame& frame) {
    m_allowed.fill(~std::uint64_t{0});
    for (std::size_t i = 0; i < frame.moves.size(); ++i) {
        const SolverTable::Entry* child = m_table.find(frame.keys[i]);
        if (frame.refuted[i] != 0 || child == nullptr || child->proof != 0) {
            continue;
        }
        frame.refuted[i] = 1;
        m_proof.fill(0);
        addCell(m_proof, frame.moves[i]);
        addProof(m_proof, m_table.proofOf(*child));
        for (int w = 0; w < m_words; ++w) {
            const auto word = static_cast<std::size_t>(w);
            frame.lossProof[word] |= m_proof[word];
            m_allowed[word] &= m_proof[word];
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < frame.moves.size(); ++i) {
        if (frame.refuted[i] != 0 || hasCell(m_allowed, frame.moves[i])) {
            frame.moves[kept] = frame.moves[i];
            frame.keys[kept] = frame.keys[i];
            frame.work[kept] = frame.work[i];
            frame.refuted[kept] = frame.refuted[i];
            ++kept;
        }
    }
    frame.moves.resize(kept);
    frame.keys.resize(kept);
    frame.work.resize(kept);
    frame.refuted.resize(kept);
}

void DfpnSolver::storeProved(std::uint64_t key, bool won, const CellBits& proof) {
    m_table.store(key, won ? 0 : infinity, won ? infinity : 0, 1, proof.data());
}

void DfpnSolver::addCells(CellBits& set, const std::vector<int>& cells) const {
    for (const int cell : cells) {
        addCell(set, cell);
    }
}

void DfpnSolver::addProof(CellBits& set, const std::uint64_t* proof) const {
    for (int w = 0; w < m_words; ++w) {
        set[static_cast<std::size_t>(w)] |= proof[w];
    }
}

// The cells that `player` captured in pairs: its proof holds only while both stay empty.
void DfpnSolver::addPairs(CellBits& set, const std::vector<InferiorCells::Fill>& fill,
                          int player) const {
    for (const InferiorCells::Fill& cell : fill) {
        if (cell.pair && cell.player == player) {
            addCell(set, cell.cell);
        }
    }
}

DfpnSolver::Numbers DfpnSolver::numbersOf(std::uint64_t key) const {
    const SolverTable::Entry* entry = m_table.find(key);
    return entry != nullptr ? Numbers{entry->proof, entry->disproof} : Numbers{1, 1};
}

bool DfpnSolver::outOfBudget() {
    // A position filled in or read for its connections takes tens to hundreds of times as
    // long: the clock is read at each one.
    const std::uint64_t every = m_connections || m_inferior ? 1 : clockEvery;
    if (!m_aborted &&
        (m_nodes >= m_nodeLimit || m_stop->load(std::memory_order_relaxed) ||
         (m_nodes > 0 && m_nodes % every == 0 && std::chrono::steady_clock::now() >= m_deadline))) {
        m_aborted = true;
    }
    return m_aborted;
}

// Won: the first move proven to win. Lost: the move that took the most work to refute.
Hex::Coord DfpnSolver::chosenMove(const Frame& root, Outcome outcome) const {
    if (outcome == Outcome::unknown || root.moves.empty()) {
        return Hex::noMove;
    }
    std::size_t chosen = 0;
    for (std::size_t i = 0; !root.terminal && i < root.moves.size(); ++i) {
        if (outcome == Outcome::won ? numbersOf(root.keys[i]).disproof == 0
                                    : root.work[i] > root.work[chosen]) {
            chosen = i;
            if (outcome == Outcome::won) {
                break;
            }
        }
    }
    return m_board.coord(root.moves[chosen]);
}
