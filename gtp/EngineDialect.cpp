#include "gtp/EngineDialect.h"

#include "notation/HexNotation.h"
#include "notation/ProtocolText.h"

#include <algorithm>
#include <sstream>

namespace {

// White's stone after the true swap of the first stone.
std::string mirroredStone(Hex::Coord first) {
    return "play white " + HexNotation::cellName(Hex::Coord{first.col, first.row});
}

} // namespace

EngineDialect EngineDialect::of(std::string_view name, std::string_view commandList) {
    EngineDialect dialect;
    std::istringstream words{std::string(name)};
    std::string first;
    words >> first;
    first = ProtocolText::lowerCase(first);
    if (first == "mohex" || first == "wolve") {
        dialect.m_swap = Swap::sides;
    }
    std::istringstream lines{std::string(commandList)};
    for (std::string line; std::getline(lines, line);) {
        line = ProtocolText::trimmed(line);
        if (!line.empty()) {
            dialect.m_commands.push_back(line);
        }
    }
    return dialect;
}

bool EngineDialect::knows(std::string_view command) const {
    return std::find(m_commands.begin(), m_commands.end(), command) != m_commands.end();
}

std::optional<std::string> EngineDialect::swapRule(bool allowed) const {
    if (!knows("param_game")) {
        return std::nullopt;
    }
    return std::string("param_game allow_swap ") + (allowed ? "1" : "0");
}

std::vector<std::string> EngineDialect::tell(const std::vector<Hex::Coord>& moves, std::size_t from,
                                             std::uint32_t size) const {
    std::vector<std::string> commands;
    for (std::size_t i = from; i < moves.size(); ++i) {
        if (i == 1 && moves[i] == HexNotation::swapMarker(size) && m_swap == Swap::sides) {
            commands.emplace_back("clear_board");
            commands.push_back(mirroredStone(moves[0]));
            continue;
        }
        const int side = i % 2 == 0 ? 1 : 2;
        commands.push_back("play " + std::string(HexNotation::colourName(side)) + " " +
                           HexNotation::moveName(moves[i], size));
    }
    return commands;
}

std::vector<std::string> EngineDialect::afterOwnSwap(Hex::Coord first) const {
    if (m_swap == Swap::pieces) {
        return {};
    }
    return {"clear_board", mirroredStone(first)};
}
