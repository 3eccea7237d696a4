#include "engine/GameTreeSearch.h"

#include "engine/MessageSink.h"
#include "model/CellName.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double infinity = std::numeric_limits<double>::max(); // 1.7976931348623157e308

} // namespace

GameTreeSearch::GameTreeSearch(std::int32_t budgetSeconds, std::unique_ptr<TreeNode> root,
                               MessageSink& sink, const Clock& clock)
    : m_budget(budgetSeconds), m_root(std::move(root)), m_sink(sink), m_clock(clock) {
    m_root->move = Hex::noMove;
}

GameTreeSearch::~GameTreeSearch() = default;

double GameTreeSearch::run(int& row, int& col) {
    m_elapsed = 0;
    m_start = m_clock.nowSeconds();
    m_depth = 0;
    double lastValue = 0.0;
    for (int iteration = 1; mayDeepen(iteration) && !isStopped(); ++iteration) {
        const std::int64_t iterationStart = m_clock.nowSeconds();
        postStatus(iteration, row, col);
        m_interrupted = false;

        // Step 1: grow the tree by one ply. A broken-off expansion leaves a ragged tree that
        // is not searched; the previous iteration's move stands.
        if (evaluatesAhead()) {
            announceLeaves();
        }
        const int made = expandLeaves(*m_root);
        if (m_interrupted || made == 0) {
            break;
        }
        if (made == 1 && iteration <= 1 && !m_root->children.empty()) {
            row = m_root->children.front()->move.row;
            col = m_root->children.front()->move.col;
            finished(1, row, col, lastValue);
            break;
        }
        if (isStopped()) {
            break;
        }

        // Step 2: search it. Only children searched to the end move (r, c).
        int r = row;
        int c = col;
        int counter = 0;
        const double value = alphaBeta(*m_root, -infinity, infinity, r, c, counter);
        row = r;
        col = c;
        if (m_interrupted) {
            break;
        }
        lastValue = value;
        finished(iteration, row, col, value);
        if (value == 1.0 || value == -1.0) {
            return value; // decided
        }

        // Step 3: stop when the next iteration cannot be expected to fit.
        if (m_fixedDepth > 0) {
            continue;
        }
        const std::int64_t now = m_clock.nowSeconds();
        m_elapsed = static_cast<std::int32_t>(now - m_start);
        const auto last = static_cast<std::int32_t>(now - iterationStart);
        if (m_budget - m_elapsed < 2 * last) {
            break;
        }
    }
    return lastValue;
}

int GameTreeSearch::expandLeaves(TreeNode& node) {
    if (node.children.empty()) {
        if (isStopped() || budgetSpent() || m_nodeCount >= m_nodeLimit) {
            m_interrupted = true;
            return 0;
        }
        return expandCounted(node);
    }
    int made = 0;
    for (const auto& child : node.children) {
        made += expandLeaves(*child);
        if (m_interrupted) {
            break;
        }
    }
    return made;
}

void GameTreeSearch::announceLeaves() {
    std::vector<TreeNode*> leaves;
    std::vector<TreeNode*> pending{m_root.get()};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        if (node->children.empty()) {
            leaves.push_back(node);
        }
        for (auto child = node->children.rbegin(); child != node->children.rend(); ++child) {
            pending.push_back(child->get());
        }
    }
    willNeed(leaves);
}

void GameTreeSearch::announceUnvalued(const TreeNode& node) {
    std::vector<TreeNode*> unvalued;
    for (const auto& child : node.children) {
        if (child->value == 0.0) {
            unvalued.push_back(child.get());
        }
    }
    willNeed(unvalued);
}

double GameTreeSearch::alphaBeta(TreeNode& node, double alpha, double beta, int& row, int& col,
                                 int& counter) {
    const bool atRoot = counter == 0;
    if (mustBreakOff()) {
        return 0.0;
    }
    if (node.children.empty()) {
        if (!(shouldExtend(node) && m_nodeCount < m_nodeLimit)) {
            return evaluateCounted(node); // not cached
        }
        expandCounted(node);
    }

    // Ordering phase: every child gets a static value and joins a heap, best on top.
    const bool maximising = node.nodeType == TreeNode::player1ToMove;
    const auto worse = [maximising](const TreeNode* a, const TreeNode* b) {
        return maximising ? a->value < b->value : a->value > b->value;
    };
    if (evaluatesAhead()) {
        announceUnvalued(node);
    }
    std::vector<TreeNode*> heap;
    heap.reserve(node.children.size());
    for (const auto& child : node.children) {
        if (budgetSpent()) {
            m_interrupted = true;
            break;
        }
        if (child->value == 0.0) {
            child->value = evaluateCounted(*child);
        }
        heap.push_back(child.get());
        std::push_heap(heap.begin(), heap.end(), worse);
        if (atRoot) {
            m_sink.post(
                WmAppShowEval{CellEvaluation{child->move.row, child->move.col, child->value}});
        }
    }

    // Search phase, fail-hard. A child cut short by the budget or a stop gives no value.
    while (!heap.empty() && !m_interrupted) {
        if (budgetSpent()) {
            m_interrupted = true;
            break;
        }
        std::pop_heap(heap.begin(), heap.end(), worse);
        TreeNode* child = heap.back();
        heap.pop_back();
        ++counter;
        const double value = alphaBeta(*child, alpha, beta, row, col, counter);
        if (m_interrupted || mustBreakOff()) {
            break;
        }
        if (maximising) {
            if (value > alpha) {
                alpha = value;
                if (atRoot) {
                    row = child->move.row;
                    col = child->move.col;
                }
            }
            if (beta <= alpha) {
                return alpha;
            }
        } else {
            if (value < beta) {
                beta = value;
                if (atRoot) {
                    row = child->move.row;
                    col = child->move.col;
                }
            }
            if (beta <= alpha) {
                return beta;
            }
        }
    }
    return maximising ? alpha : beta;
}

bool GameTreeSearch::shouldExtend(TreeNode& node) {
    if (node.value == 0.0) {
        node.value = evaluateCounted(node);
    }
    if (node.parent == nullptr || node.parent->parent == nullptr) {
        return false;
    }
    const double swing = std::fabs(node.value - node.parent->value);
    const double previousSwing = std::fabs(node.parent->value - node.parent->parent->value);
    return swing > 2.0 * previousSwing;
}

int GameTreeSearch::expandCounted(TreeNode& node) {
    const std::size_t before = node.children.size();
    const int made = expand(node);
    m_nodeCount += node.children.size() - before;
    return made;
}

double GameTreeSearch::evaluateCounted(TreeNode& node) {
    ++m_evaluations;
    return evaluate(node);
}

void GameTreeSearch::postStatus(int iteration, int row, int col) {
    std::string text = "Looking ahead " + std::to_string(iteration) + " moves...";
    if (row >= 0 && col >= 0 && m_showBest) {
        text += "(" + Hex::cellName(Hex::Coord{row, col}) + ")";
    }
    m_sink.post(WmAppStatusText{std::move(text)});
}

bool GameTreeSearch::mayDeepen(int iteration) const {
    return m_fixedDepth > 0 ? iteration <= m_fixedDepth : m_elapsed < m_budget;
}

void GameTreeSearch::finished(int iteration, int row, int col, double value) {
    m_depth = iteration;
    if (m_observer) {
        m_observer(Iteration{iteration, Hex::Coord{row, col}, value});
    }
}

bool GameTreeSearch::budgetSpent() const {
    return m_fixedDepth == 0 && m_clock.nowSeconds() - m_start > m_budget;
}

bool GameTreeSearch::mustBreakOff() {
    if (isStopped()) {
        m_interrupted = true;
    }
    return m_interrupted;
}
