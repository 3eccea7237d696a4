#include "sgf/SgfAnalysis.h"

#include "notation/HexNotation.h"
#include "notation/ProtocolText.h"
#include "sgf/SgfError.h"
#include "sgf/SgfTree.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

constexpr std::string_view property = "QR";

std::string rateText(double rate, bool proven) {
    if (proven) {
        return rate >= 0.5 ? "won" : "lost";
    }
    return std::to_string(std::lround(rate * 100.0)) + "%";
}

// Fixed notation with four decimals, never the locale's decimal comma.
std::string decimalText(double value) {
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 4);
    return std::string(text, written.ptr);
}

std::optional<double> parseRate(std::string_view text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || error != std::errc{} || stop != end || !(value >= 0.0 && value <= 1.0)) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> parseFlag(std::string_view text) {
    if (text == "0" || text == "1") {
        return text == "1";
    }
    return std::nullopt;
}

// The move of an SGF node, if it has one.
std::optional<Hex::Coord> nodeMove(const SgfTree::Node& node, std::uint32_t size) {
    const SgfTree::Property* move = SgfTree::find(node, "B");
    if (move == nullptr) {
        move = SgfTree::find(node, "W");
    }
    if (move == nullptr || move->values.size() != 1) {
        return std::nullopt;
    }
    return HexNotation::parseMove(move->values.front(), size);
}

} // namespace

std::string SgfAnalysis::write(const GameRecord& record, const SgfGame::Info& info,
                               const std::vector<MoveAnalysis>& analysis,
                               const std::vector<GameVariation>& variations) {
    std::vector<std::string> properties;
    for (const MoveAnalysis& move : analysis) {
        properties.push_back("C[" + comment(move, record.size) + "]" + std::string(property) + "[" +
                             numbers(move, record.size) + "]");
    }
    return SgfGame::write(record, info, properties, variations);
}

std::vector<MoveAnalysis> SgfAnalysis::read(std::string_view text, const GameRecord& record) {
    std::vector<MoveAnalysis> analysis;
    try {
        std::size_t index = 0; // of the node's move in the record
        for (const SgfTree::Node& node : SgfTree::read(text).nodes) {
            const std::optional<Hex::Coord> move = nodeMove(node, record.size);
            const SgfTree::Property* numbers = SgfTree::find(node, property);
            if (!move) {
                if (numbers != nullptr) {
                    return {};
                }
                continue;
            }
            if (numbers == nullptr) {
                break;
            }
            if (index >= record.moves.size() || *move != record.moves[index] ||
                numbers->values.size() != 1) {
                return {};
            }
            const int player = index % 2 == 0 ? 1 : 2;
            std::optional<MoveAnalysis> parsed =
                parseNumbers(numbers->values.front(), *move, player, record.size);
            if (!parsed) {
                return {};
            }
            analysis.push_back(*parsed);
            ++index;
        }
    } catch (const SgfError&) {
        return {};
    }
    return analysis;
}

std::string SgfAnalysis::comment(const MoveAnalysis& move, std::uint32_t size) {
    return std::string(move.player == 1 ? "Black " : "White ") +
           rateText(move.winRateAfter, move.provenAfter) + " (best " +
           HexNotation::moveName(move.bestMove, size) + " " +
           rateText(move.winRateBefore, move.provenBefore) + "), " +
           std::string(MoveAnalysis::labelName(move.label));
}

std::string SgfAnalysis::numbers(const MoveAnalysis& move, std::uint32_t size) {
    return decimalText(move.winRateBefore) + " " + decimalText(move.winRateAfter) + " " +
           HexNotation::moveName(move.bestMove, size) + " " + decimalText(move.loss) + " " +
           std::string(MoveAnalysis::labelName(move.label)) + " " +
           (move.provenBefore ? "1" : "0") + " " + (move.provenAfter ? "1" : "0");
}

std::optional<MoveAnalysis> SgfAnalysis::parseNumbers(std::string_view text, Hex::Coord move,
                                                      int player, std::uint32_t size) {
    const std::vector<std::string_view> fields = ProtocolText::split(text, ' ');
    if (fields.size() != 7) {
        return std::nullopt;
    }
    const std::optional<double> before = parseRate(fields[0]);
    const std::optional<double> after = parseRate(fields[1]);
    const std::optional<Hex::Coord> best = HexNotation::parseMove(fields[2], size);
    const std::optional<double> loss = parseRate(fields[3]);
    const std::optional<MoveAnalysis::Label> label = MoveAnalysis::labelNamed(fields[4]);
    const std::optional<bool> provenBefore = parseFlag(fields[5]);
    const std::optional<bool> provenAfter = parseFlag(fields[6]);
    if (!before || !after || !best || !loss || !label || !provenBefore || !provenAfter) {
        return std::nullopt;
    }
    return MoveAnalysis{move,   player,       *best, *before, *provenBefore,
                        *after, *provenAfter, *loss, *label};
}
