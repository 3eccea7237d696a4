#pragma once

#include "model/Coord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How one GTP engine for Hex is told the swap rule and the moves of a game, learned from its
// name and its command list.
//
// Most engines, Quorlen among them, take swap-pieces as the true swap: the first stone is
// mirrored and changes colour. The Benzene engines (named MoHex and Wolve) take it as
// swap-sides: the stone stays and the players change colours. A front end shows them the true
// swap by setting the position up anew: clear_board, then White's stone on the mirrored cell.
// The rule itself is switched with `param_game allow_swap 0|1` in the engines that list
// param_game (the Benzene ones have it off until told); other engines keep their own rule.
//
// Thread contract: none; a value.
class EngineDialect {
public:
    enum class Swap { pieces, sides };

    // From the engine's name reply and its list_commands reply (empty when it has none).
    static EngineDialect of(std::string_view name, std::string_view commandList);

    Swap swap() const { return m_swap; }
    bool knows(std::string_view command) const;

    // The command that switches the swap rule; nullopt when the engine has no such parameter.
    std::optional<std::string> swapRule(bool allowed) const;
    // The commands that tell the engine moves[from] onwards of a game on a board of side size,
    // when it knows the moves before from.
    std::vector<std::string> tell(const std::vector<Hex::Coord>& moves, std::size_t from,
                                  std::uint32_t size) const;
    // What brings the engine from its own swap-pieces answer to the true swap of the first
    // stone; nothing for an engine whose swap is the true swap.
    std::vector<std::string> afterOwnSwap(Hex::Coord first) const;

private:
    Swap m_swap = Swap::pieces;
    std::vector<std::string> m_commands;
};
