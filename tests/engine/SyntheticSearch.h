#pragma once

#include "engine/GameTreeSearch.h"

#include <functional>
#include <memory>
#include <vector>

// A game written down as a tree of static values, for searching by hand-checked minimax.
struct Spec {
    double value = 0.0;
    std::vector<Spec> children;
    mutable int evaluations = 0;
};

inline Spec leaf(double value) {
    return Spec{value, {}};
}
inline Spec node(double value, std::vector<Spec> children) {
    return Spec{value, std::move(children)};
}

// A node of the synthetic game: either a written-down Spec, or (spec == nullptr) a node of an
// endless binary tree whose values come from its id.
class SpecNode : public TreeNode {
public:
    SpecNode(TreeNode* parentNode, int type, Hex::Coord firstMove, const Spec* written,
             std::uint64_t number)
        : TreeNode(parentNode, type, firstMove), spec(written), id(number) {}
    const Spec* spec;
    std::uint64_t id;
};

class SyntheticSearch : public GameTreeSearch {
public:
    // The root is Player 1's (maximising) unless told otherwise. Root children are the moves
    // (0, 0), (0, 1), ... in spec order.
    SyntheticSearch(std::int32_t budget, const Spec* rootSpec, MessageSink& sink,
                    const Clock& clock, int rootType = TreeNode::player1ToMove)
        : GameTreeSearch(budget,
                         std::make_unique<SpecNode>(nullptr, rootType, Hex::noMove, rootSpec, 1),
                         sink, clock) {}

    std::function<void(const SpecNode&)> onEvaluate;
    std::function<void(const SpecNode&)> onExpand;
    int expansions = 0;

protected:
    int expand(TreeNode& parent) override {
        auto& self = static_cast<SpecNode&>(parent);
        ++expansions;
        if (onExpand) {
            onExpand(self);
        }
        const int count = self.spec != nullptr ? static_cast<int>(self.spec->children.size()) : 2;
        for (int i = 0; i < count; ++i) {
            const Hex::Coord move = parent.move.row >= 0 ? parent.move : Hex::Coord{0, i};
            const Spec* childSpec = self.spec != nullptr ? &self.spec->children[i] : nullptr;
            parent.children.push_back(std::make_unique<SpecNode>(&parent, 1 - parent.nodeType, move,
                                                                 childSpec, self.id * 2 + i));
        }
        return count;
    }

    double evaluate(TreeNode& target) override {
        const auto& self = static_cast<const SpecNode&>(target);
        if (onEvaluate) {
            onEvaluate(self);
        }
        if (self.spec == nullptr) {
            return static_cast<double>((self.id * 2654435761u) % 1000) / 1000.0 - 0.4995;
        }
        ++self.spec->evaluations;
        return self.spec->value;
    }
};
