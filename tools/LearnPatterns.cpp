// Learns the local-pattern weights of the expert's search (PatternPrior) from Hex games in SGF:
// for every move of every game, every empty cell's pattern counts as available to the side to
// move, and the played cell's as played. Writes the counts as tactics/PatternTable.cpp.
//
//     quorlen_learn_patterns [--min-available N] OUTPUT.cpp SGF_FILE_OR_FOLDER...
//     quorlen_learn_patterns --evaluate SGF_FILE_OR_FOLDER...
//
// --evaluate learns from three games in four and reports how well the weights predict the
// moves of the fourth (ranked among the empty cells), without writing anything.
#include "sgf/SgfGame.h"
#include "tactics/PatternPrior.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Choice = std::function<void(const PlayoutBoard&, int toMove, int played)>;

std::vector<fs::path> sgfFiles(const std::vector<std::string>& arguments) {
    std::vector<fs::path> files;
    for (const std::string& argument : arguments) {
        if (fs::is_directory(argument)) {
            for (const auto& entry : fs::recursive_directory_iterator(argument)) {
                if (entry.is_regular_file() && entry.path().extension() == ".sgf") {
                    files.push_back(entry.path());
                }
            }
        } else {
            files.emplace_back(argument);
        }
    }
    std::sort(files.begin(), files.end()); // the same table from the same files
    return files;
}

std::vector<GameRecord> readGames(const std::vector<fs::path>& files) {
    std::vector<GameRecord> games;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        SgfGame::Reading reading = SgfGame::read(text.str());
        if (!in || !reading.record) {
            std::fprintf(stderr, "skipped %s: %s\n", file.c_str(),
                         reading.error.empty() ? "cannot be read" : reading.error.c_str());
            continue;
        }
        games.push_back(std::move(*reading.record));
    }
    return games;
}

// Every choice of a cell in the game but the first move (an opening chosen for the swap, not
// for its shape): the position before it, the side to move, the cell played.
void forEachChoice(const GameRecord& game, const Choice& choice) {
    const auto n = static_cast<int>(game.size);
    PlayoutBoard board(n);
    for (std::size_t i = 0; i < game.moves.size(); ++i) {
        const Hex::Coord move = game.moves[i];
        const int toMove = i % 2 == 0 ? PlayoutBoard::player1 : PlayoutBoard::player2;
        if (move == Hex::Coord{n, n}) {
            const int first = board.index(game.moves[0]);
            board.set(first, PlayoutBoard::empty);
            board.set(board.mirror(first), PlayoutBoard::player2);
            continue;
        }
        if (i > 0) {
            choice(board, toMove, board.index(move));
        }
        board.set(board.index(move), static_cast<std::uint8_t>(toMove));
    }
}

struct Counts {
    std::unordered_map<std::uint64_t, LearnedPattern> inner;
    std::unordered_map<std::uint64_t, LearnedPattern> outer;
    std::size_t choices = 0;

    void add(std::unordered_map<std::uint64_t, LearnedPattern>& table, std::uint64_t code,
             bool played) {
        LearnedPattern& counts = table[code];
        counts.code = code;
        counts.available += 1;
        counts.played += played ? 1 : 0;
    }

    void learn(const GameRecord& game) {
        forEachChoice(game, [this](const PlayoutBoard& board, int toMove, int played) {
            ++choices;
            for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
                if (board.at(cell) == PlayoutBoard::empty) {
                    const std::uint64_t code = PatternPrior::code(board, cell, toMove);
                    add(inner, PatternPrior::canonical(code & PatternPrior::innerMask),
                        cell == played);
                    add(outer, PatternPrior::canonical(code), cell == played);
                }
            }
        });
    }

    // Sorted by code; the twelve-cell patterns seen fewer than minAvailable times left out.
    static std::vector<LearnedPattern>
    table(const std::unordered_map<std::uint64_t, LearnedPattern>& counts, std::uint32_t min) {
        std::vector<LearnedPattern> rows;
        for (const auto& [code, row] : counts) {
            if (row.available >= min) {
                rows.push_back(row);
            }
        }
        std::sort(rows.begin(), rows.end(),
                  [](const auto& a, const auto& b) { return a.code < b.code; });
        return rows;
    }
};

struct Prediction {
    std::size_t choices = 0;
    std::size_t first = 0;
    std::size_t topFive = 0;
    double logLikelihood = 0.0;
};

// How the weights rank the played cell among the empty ones; ties count against it.
Prediction predict(const PatternPrior& prior, const std::vector<GameRecord>& games) {
    Prediction result;
    for (const GameRecord& game : games) {
        forEachChoice(game, [&](const PlayoutBoard& board, int toMove, int played) {
            const float mine = prior.weight(board, played, toMove);
            double total = 0.0;
            std::size_t above = 0;
            for (int cell = board.firstCell(); cell < board.endCell(); ++cell) {
                if (board.at(cell) == PlayoutBoard::empty) {
                    const float weight = prior.weight(board, cell, toMove);
                    total += weight;
                    above += cell != played && weight >= mine ? 1 : 0;
                }
            }
            ++result.choices;
            result.first += above == 0 ? 1 : 0;
            result.topFive += above < 5 ? 1 : 0;
            result.logLikelihood += std::log(mine / total);
        });
    }
    return result;
}

void report(const char* name, const Prediction& p) {
    const auto share = [&](std::size_t k) {
        return 100.0 * k / std::max<std::size_t>(1, p.choices);
    };
    std::printf("%-28s %6zu moves: first %5.1f%%, top five %5.1f%%, mean log-likelihood %.3f\n",
                name, p.choices, share(p.first), share(p.topFive),
                p.logLikelihood / std::max<std::size_t>(1, p.choices));
}

int evaluate(const std::vector<GameRecord>& games) {
    std::vector<GameRecord> train;
    std::vector<GameRecord> test;
    for (std::size_t i = 0; i < games.size(); ++i) {
        (i % 4 == 3 ? test : train).push_back(games[i]);
    }
    Counts counts;
    for (const GameRecord& game : train) {
        counts.learn(game);
    }
    const std::vector<LearnedPattern> inner = Counts::table(counts.inner, 0);
    report("uniform", predict(PatternPrior({}, {}), test));
    report("six neighbours", predict(PatternPrior(inner, {}), test));
    for (const std::uint32_t min : {1U, 5U, 20U, 50U}) {
        const std::string name = "twelve cells, seen " + std::to_string(min) + "+";
        report(name.c_str(), predict(PatternPrior(inner, Counts::table(counts.outer, min)), test));
    }
    return 0;
}

void writeRows(std::ofstream& out, const char* name, const std::vector<LearnedPattern>& rows) {
    out << "constexpr LearnedPattern " << name << "[] = {\n";
    for (const LearnedPattern& row : rows) {
        char line[80];
        std::snprintf(line, sizeof line, "    {0x%llxULL, %u, %u},\n",
                      static_cast<unsigned long long>(row.code), row.played, row.available);
        out << line;
    }
    out << "};\n\n";
}

int write(const std::string& output, const std::vector<GameRecord>& games, std::uint32_t min,
          const std::string& command) {
    Counts counts;
    for (const GameRecord& game : games) {
        counts.learn(game);
    }
    const std::vector<LearnedPattern> inner = Counts::table(counts.inner, 0);
    const std::vector<LearnedPattern> outer = Counts::table(counts.outer, min);
    std::ofstream out(output, std::ios::binary);
    out << "// clang-format off\n"
        << "// Generated by quorlen_learn_patterns from " << games.size() << " games ("
        << counts.choices << " moves):\n"
        << "// how often each local pattern was there for the side to move (available) and how\n"
        << "// often that side played its centre (played), by canonical PatternPrior code; "
        << inner.size() << "\n// six-neighbour patterns, " << outer.size() << " of "
        << counts.outer.size() << " twelve-cell ones (those seen at least " << min
        << " times).\n// Remake it from the project's folder with\n//     " << command << "\n"
        << "#include \"tactics/PatternTable.h\"\n\nnamespace {\n\n";
    writeRows(out, "innerPatterns", inner);
    writeRows(out, "outerPatterns", outer);
    out << "} // namespace\n\n"
        << "std::span<const LearnedPattern> PatternTable::inner() { return innerPatterns; }\n"
        << "std::span<const LearnedPattern> PatternTable::outer() { return outerPatterns; }\n";
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%zu games, %zu moves: %zu six-neighbour and %zu twelve-cell patterns\n",
                games.size(), counts.choices, inner.size(), outer.size());
    report("on the games learned from", predict(PatternPrior(inner, outer), games));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string command = argv[0];
    for (const std::string& argument : arguments) {
        command += " " + argument;
    }
    const bool evaluating = !arguments.empty() && arguments.front() == "--evaluate";
    std::uint32_t min = 5;
    if (evaluating) {
        arguments.erase(arguments.begin());
    } else if (arguments.size() >= 2 && arguments.front() == "--min-available") {
        min = static_cast<std::uint32_t>(std::clamp(std::atol(arguments[1].c_str()), 1L, 1000000L));
        arguments.erase(arguments.begin(), arguments.begin() + 2);
    }
    if (arguments.size() < (evaluating ? 1U : 2U)) {
        std::fprintf(stderr, "usage: quorlen_learn_patterns [--min-available N] OUTPUT.cpp "
                             "SGF...\n       quorlen_learn_patterns --evaluate SGF...\n");
        return 2;
    }
    const std::string output = evaluating ? std::string() : arguments.front();
    const std::vector<GameRecord> games =
        readGames(sgfFiles({arguments.begin() + (evaluating ? 0 : 1), arguments.end()}));
    if (games.empty()) {
        std::fprintf(stderr, "no games\n");
        return 1;
    }
    return evaluating ? evaluate(games) : write(output, games, min, command);
}
