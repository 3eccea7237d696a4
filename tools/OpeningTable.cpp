// Computes the opening book's table: for every first stone on boards of the given sides (one
// of each pair that a half turn maps onto each other), Player 1's win rate when Player 2 may
// not swap it, by the expert's search of a fixed number of playouts on one thread, so that
// every run prints the same table. Prints C++ initialiser rows {side, row, col, rate} with the
// rate in ten-thousandths, for mcts/OpeningBookTable.inc (tools/make-opening-book.sh).
//   quorlen_opening_table PLAYOUTS SIDE...

#include "mcts/MctsSearch.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <string_view>

namespace {

bool parse(std::string_view text, std::uint64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

int rateOf(std::uint32_t side, Hex::Coord stone, std::uint64_t playouts) {
    MctsSearch::Config config;
    config.threads = 1;
    config.stopWhenDecided = false;
    MctsSearch search(config);
    search.setPosition(MctsSearch::Position{side, {stone}, false});
    MctsSearch::Limits limits;
    limits.playouts = playouts;
    const std::atomic<bool> stop{false};
    const MctsSearch::Result result = search.run(limits, stop);
    return static_cast<int>(std::lround((1.0 - result.winRate) * 10000.0));
}

} // namespace

int main(int argc, char** argv) {
    std::uint64_t playouts = 0;
    if (argc < 3 || !parse(argv[1], playouts) || playouts == 0) {
        std::cerr << "usage: quorlen_opening_table PLAYOUTS SIDE...\n";
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        std::uint64_t side = 0;
        if (!parse(argv[i], side) || side < 2 || side > 30) {
            std::cerr << "quorlen_opening_table: no board side: " << argv[i] << '\n';
            return 2;
        }
        const auto n = static_cast<std::int32_t>(side);
        for (std::int32_t cell = 0; cell <= (n * n - 1) / 2; ++cell) {
            const Hex::Coord stone{cell / n, cell % n};
            std::cout << "{" << n << ", " << stone.row << ", " << stone.col << ", "
                      << rateOf(static_cast<std::uint32_t>(side), stone, playouts) << "},\n"
                      << std::flush;
        }
    }
    return 0;
}
