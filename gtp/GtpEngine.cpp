#include "gtp/GtpEngine.h"

#include "engine/IntersectionMove.h"
#include "engine/PathFinder.h"
#include "engine/SearchThreads.h"
#include "gtp/GenmoveGame.h"
#include "gtp/NearBestPaths.h"
#include "gtp/SearchReport.h"
#include "model/BoardText.h"
#include "notation/HexNotation.h"
#include "notation/ProgramVersion.h"
#include "notation/ProtocolText.h"
#include "players/ComputerPlayer.h"
#include "players/ExpertPlayer.h"
#include "players/WeightsFile.h"
#include "settings/FileText.h"
#include "settings/NumberText.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "sgf/SgfGame.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <random>
#include <sstream>

namespace {

using Reply = GtpEngine::Reply;

Reply failure(std::string text) {
    return Reply{false, std::move(text)};
}

Reply success(std::string text = {}) {
    return Reply{true, std::move(text)};
}

Reply wrongArguments(const char* usage) {
    return failure(std::string("syntax error: expected ") + usage);
}

// The board with the column letters above and the row numbers before each row.
std::string boardText(const Hex::Board& board) {
    const int n = static_cast<int>(board.size());
    std::string header = "  ";
    for (int col = 0; col < n; ++col) {
        header += " " + HexNotation::columnName(col);
    }
    std::ostringstream text;
    text << '\n' << header << '\n';
    std::istringstream rows(Hex::toText(board));
    int row = 1;
    for (std::string line; std::getline(rows, line); ++row) {
        char number[16];
        std::snprintf(number, sizeof number, "%2d ", row);
        text << number << line << '\n';
    }
    return text.str();
}

std::string cellList(const std::vector<Path>& paths) {
    std::vector<Hex::Coord> cells;
    for (const Path& path : paths) {
        for (const Hex::Coord cell : path.cells) {
            if (std::find(cells.begin(), cells.end(), cell) == cells.end()) {
                cells.push_back(cell);
            }
        }
    }
    std::string text;
    for (const Hex::Coord cell : cells) {
        text += (text.empty() ? "" : " ") + HexNotation::cellName(cell);
    }
    return text;
}

std::string valueText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

// The easy move on the board; with the swap off it stands in for White's opening move when
// that falls on Black's first stone (the swap decision would have taken such a stone).
Hex::Coord crossingMove(const Hex::Board& board, const Weights& weights) {
    PathFinder player1(board.size(), 0, 1);
    PathFinder player2(board.size(), 1, 2);
    player1.setWeights(&weights);
    player2.setWeights(&weights);
    return intersectionMove(player1, player2, board);
}

} // namespace

const std::vector<GtpEngine::Entry>& GtpEngine::commands() {
    static const std::vector<Entry> table{
        {"protocol_version", &GtpEngine::protocolVersion},
        {"name", &GtpEngine::name},
        {"version", &GtpEngine::version},
        {"known_command", &GtpEngine::knownCommand},
        {"list_commands", &GtpEngine::listCommands},
        {"quit", &GtpEngine::quit},
        {"boardsize", &GtpEngine::boardsize},
        {"clear_board", &GtpEngine::clearBoard},
        {"play", &GtpEngine::play},
        {"genmove", &GtpEngine::genmove},
        {"undo", &GtpEngine::undo},
        {"loadsgf", &GtpEngine::loadsgf},
        {"showboard", &GtpEngine::showboard},
        {"final_score", &GtpEngine::finalScore},
        {"time_left", &GtpEngine::timeLeft},
        {"param_game", &GtpEngine::paramGame},
        {"hexgui-analyze_commands", &GtpEngine::analyzeCommands},
        {"quorlen-paths", &GtpEngine::paths},
        {"quorlen-root_values", &GtpEngine::rootValues},
        {"quorlen-win_rates", &GtpEngine::winRates},
        {"quorlen-value", &GtpEngine::value},
        {"quorlen-pv", &GtpEngine::principalVariation},
        {"gogui-gfx-analyze", &GtpEngine::liveAnalysis},
    };
    return table;
}

GtpEngine::GtpEngine(Options options)
    : m_options(std::move(options)), m_nowhere(nullptr),
      m_sink(m_options.messages != nullptr ? *m_options.messages : m_nowhere),
      m_swap(m_options.swap) {
    SettingsDefaults::apply(m_settings);
    m_settings.set(SettingsKeys::learning, m_options.learning ? "1" : "0");
    m_settings.set(SettingsKeys::learningRate, NumberText::fromDecimal(m_options.learningRate));
    m_settings.setInt(SettingsKeys::searchThreads, m_options.threads);
    WeightsFile::read(m_options.weightsFile, m_fileWeights);
    newGame(static_cast<std::uint32_t>(m_settings.getInt(SettingsKeys::boardSize)));
}

GtpEngine::~GtpEngine() = default;

std::vector<std::string> GtpEngine::commandNames() const {
    std::vector<std::string> names;
    for (const Entry& entry : commands()) {
        names.emplace_back(entry.name);
    }
    return names;
}

GtpEngine::Reply GtpEngine::execute(const GtpCommand& command, std::uint64_t number) {
    const auto& table = commands();
    const auto entry = std::find_if(table.begin(), table.end(),
                                    [&](const Entry& e) { return command.name == e.name; });
    if (command.name.empty()) {
        return failure("no command");
    }
    if (entry == table.end()) {
        return failure("unknown command");
    }
    m_number = number;
    try {
        return (this->*entry->handler)(command.args);
    } catch (const std::exception& error) {
        // Nothing the engine does should throw; if it does, the session goes on.
        return failure(std::string("internal error: ") + error.what());
    }
}

std::string GtpEngine::respond(const GtpCommand& command, std::uint64_t number) {
    const Reply reply = execute(command, number);
    return GtpCommand::reply(command.id, reply.success, reply.text);
}

GtpEngine::Reply GtpEngine::protocolVersion(const Args&) {
    return success("2");
}

GtpEngine::Reply GtpEngine::name(const Args&) {
    return success("Quorlen");
}

GtpEngine::Reply GtpEngine::version(const Args&) {
    return success(std::string(programVersion));
}

GtpEngine::Reply GtpEngine::knownCommand(const Args& args) {
    if (args.size() != 1) {
        return wrongArguments("known_command NAME");
    }
    const auto names = commandNames();
    return success(std::find(names.begin(), names.end(), args[0]) != names.end() ? "true"
                                                                                 : "false");
}

GtpEngine::Reply GtpEngine::listCommands(const Args&) {
    std::string text;
    for (const std::string& command : commandNames()) {
        text += command + "\n";
    }
    return success(text);
}

GtpEngine::Reply GtpEngine::quit(const Args&) {
    m_quit = true;
    return success();
}

GtpEngine::Reply GtpEngine::boardsize(const Args& args) {
    // One number, or two equal ones (front ends send width and height); anything else, a
    // malformed number included, is an unacceptable size.
    const std::optional<int> width =
        args.empty() ? std::nullopt : ProtocolText::wholeNumber(args[0]);
    const std::optional<int> height = args.size() == 2 ? ProtocolText::wholeNumber(args[1]) : width;
    if (args.empty() || args.size() > 2 || !width || !height || *width != *height || *width < 3 ||
        *width > 30) {
        return failure("unacceptable size");
    }
    newGame(static_cast<std::uint32_t>(*width));
    return success();
}

GtpEngine::Reply GtpEngine::clearBoard(const Args&) {
    newGame(m_position->size());
    return success();
}

void GtpEngine::newGame(std::uint32_t size) {
    m_position = std::make_unique<GamePosition>(size);
    m_hopelessMoves = {};
    m_sink.clear();
    m_lastSearch = nullptr;
    m_lastSearched.clear();
    if (m_analysis) {
        m_analysis->forget(); // its memory is the players' until the next analysis
    }
    for (const auto& player : m_players) {
        if (player) {
            player->resetClock();
        }
    }
    for (const auto& player : m_experts) {
        if (player) {
            player->resetClock();
        }
    }
}

GtpEngine::Reply GtpEngine::play(const Args& args) {
    if (args.size() != 2) {
        return wrongArguments("play COLOR MOVE");
    }
    const std::optional<int> side = HexNotation::parseColour(args[0]);
    if (!side) {
        return failure("invalid color");
    }
    std::string move = args[1];
    std::transform(move.begin(), move.end(), move.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    if (move == "swap-sides") {
        return failure("swap-sides is not supported: the swap is swap-pieces (the stone is "
                       "mirrored and changes colour)");
    }
    const std::optional<Hex::Coord> cell = HexNotation::parseMove(move, m_position->size());
    if (!cell) {
        return failure("invalid move: " + args[1].substr(0, 20));
    }
    if (*cell == HexNotation::swapMarker(m_position->size()) && !m_swap) {
        return failure("illegal move: the swap is off");
    }
    const std::string why = m_position->refusal(*side, *cell);
    if (!why.empty()) {
        return failure("illegal move: " + why);
    }
    m_position->play(*cell);
    return success();
}

GtpEngine::Reply GtpEngine::genmove(const Args& args) {
    if (args.size() != 1) {
        return wrongArguments("genmove COLOR");
    }
    const std::optional<int> side = HexNotation::parseColour(args[0]);
    if (!side) {
        return failure("invalid color");
    }
    if (m_position->winner() != 0) {
        return failure("the game is over");
    }
    if (*side != m_position->sideToMove()) {
        return failure(std::string(HexNotation::colourName(m_position->sideToMove())) +
                       " is to move");
    }
    TimedPlayer& player = playerFor(*side);
    if (m_options.strength == Strength::expert) {
        expert(*side)->setSwapRule(m_swap);
        m_lastSearch = &expert(*side)->search();
        m_lastSearched = m_position->moves();
    }
    m_sink.clear();
    m_gate.begin(m_number);
    std::optional<Hex::Coord> answer =
        GenmoveGame::play(m_position->size(), m_position->moves(), player, m_gate, m_swap);
    const Hex::Board& board = m_position->board();
    if (!m_swap && answer &&
        board.inBounds(static_cast<std::uint32_t>(answer->row),
                       static_cast<std::uint32_t>(answer->col)) &&
        board.at(answer->row, answer->col) != 0) {
        answer = crossingMove(board, currentWeights());
    }
    if (!answer || !m_position->refusal(*side, *answer).empty()) {
        return failure("the computer player gave no legal move");
    }
    if (m_options.strength == Strength::expert && m_options.resign && givesUp(*side)) {
        return success("resign"); // the position stays as it is
    }
    m_position->play(*answer);
    return success(HexNotation::moveName(*answer, m_position->size()));
}

// Whether the expert's last search, for `side`, says to resign: every root move proven lost,
// or a win rate below resignRate for resignMoves searches in a row.
bool GtpEngine::givesUp(int side) {
    const ExpertPlayer& player = *expert(side);
    const std::vector<MctsSearch::RootMove> moves =
        player.search().rootMoves(std::numeric_limits<std::size_t>::max());
    const bool provenLost =
        !moves.empty() && std::all_of(moves.begin(), moves.end(), [](const auto& move) {
            return move.proven && move.winRate == 0.0;
        });
    int& hopeless = m_hopelessMoves[static_cast<std::size_t>(side - 1)];
    hopeless = player.lastResult().winRate < Options::resignRate ? hopeless + 1 : 0;
    return provenLost || hopeless >= Options::resignMoves;
}

TimedPlayer& GtpEngine::playerFor(int side) {
    if (m_options.strength == Strength::expert ? expert(side) == nullptr
                                               : player(side) == nullptr) {
        makePlayer(side, m_options.timeLimit);
    }
    if (m_options.strength == Strength::expert) {
        return *expert(side);
    }
    return *player(side);
}

void GtpEngine::makePlayer(int side, std::int32_t timeLimit) {
    if (m_options.strength == Strength::expert) {
        ExpertPlayer::Context context{m_sink, Clock::steady(),
                                      searchThreadCount(m_options.threads)};
        if (m_options.seed) {
            context.seed = *m_options.seed * 2u + static_cast<std::uint32_t>(side);
        }
        context.moveTime = m_options.moveTime;
        context.playouts = m_options.playouts;
        context.priors = m_options.priors;
        context.templates = m_options.templates;
        context.connections = m_options.connections;
        context.inferior = m_options.inferior;
        context.playoutPatterns = m_options.playoutPatterns;
        context.solverConnections = m_options.solverConnections;
        context.swapRule = m_swap;
        context.solver = m_options.solver;
        context.memory = m_treeMemory;
        context.openingBook = m_options.openingBook;
        auto& slot = m_experts[static_cast<std::size_t>(side - 1)];
        if (slot && m_lastSearch == &slot->search()) {
            m_lastSearch = nullptr;
        }
        slot = std::make_unique<ExpertPlayer>("Quorlen Expert", timeLimit, std::move(context));
        return;
    }
    auto& slot = m_players[static_cast<std::size_t>(side - 1)];
    slot.reset(); // writes the weights that the new player reads
    ComputerPlayer::Context context{m_sink, m_settings,     Clock::steady(), m_options.weightsFile,
                                    {},     m_options.pause};
    if (m_options.seed) {
        context.seed = [next = *m_options.seed * 2u + static_cast<std::uint32_t>(side)]() mutable {
            return next += 7919u;
        };
    }
    const bool hard = m_options.strength == Strength::hard;
    slot = std::make_unique<ComputerPlayer>(hard ? "Quorlen" : "Quorl", timeLimit, hard, side,
                                            std::move(context));
}

GtpEngine::Reply GtpEngine::undo(const Args&) {
    if (!m_position->undo()) {
        return failure("cannot undo");
    }
    return success();
}

GtpEngine::Reply GtpEngine::loadsgf(const Args& args) {
    const char* usage = "loadsgf FILE [MOVE], MOVE a move number from 1";
    if (args.empty() || args.size() > 2) {
        return wrongArguments(usage);
    }
    int moveNumber = std::numeric_limits<int>::max(); // every move of the file
    if (args.size() == 2) {
        const std::optional<int> given = ProtocolText::wholeNumber(args[1]);
        if (!given || *given < 1) {
            return wrongArguments(usage);
        }
        moveNumber = *given;
    }
    const std::optional<std::string> bytes = FileText::readAll(args[0]);
    if (!bytes) {
        return failure("cannot read " + args[0]);
    }
    const SgfGame::Reading reading = SgfGame::read(*bytes);
    if (!reading.record) {
        return failure(reading.error);
    }
    if (reading.record->size < 3) {
        return failure("unacceptable size");
    }
    std::vector<Hex::Coord> moves = reading.record->moves;
    const std::size_t before = reading.setupMoves + static_cast<std::size_t>(moveNumber) - 1;
    moves.resize(std::min(moves.size(), before));
    newGame(reading.record->size);
    m_position->playAll(moves); // a record read from SGF is a legal game
    return success();
}

GtpEngine::Reply GtpEngine::showboard(const Args&) {
    return success(boardText(m_position->board()));
}

GtpEngine::Reply GtpEngine::finalScore(const Args&) {
    switch (m_position->winner()) {
    case 1:
        return success("B+");
    case 2:
        return success("W+");
    default:
        return failure("the game is not over");
    }
}

GtpEngine::Reply GtpEngine::timeLeft(const Args& args) {
    if (args.size() != 3) {
        return wrongArguments("time_left COLOR SECONDS STONES");
    }
    const std::optional<int> side = HexNotation::parseColour(args[0]);
    if (!side) {
        return failure("invalid color");
    }
    const std::optional<int> seconds = ProtocolText::wholeNumber(args[1]);
    const std::optional<int> stones = ProtocolText::wholeNumber(args[2]);
    if (!seconds || !stones || *seconds < 0 || *stones < 0) {
        return wrongArguments("whole numbers of at least 0");
    }
    if (m_options.strength == Strength::easy) {
        return success();
    }
    // A bound far beyond any game keeps the budget's arithmetic within 32 bits.
    constexpr int longest = 1'000'000;
    const std::int32_t left = std::min(*seconds, longest);
    if (m_options.strength == Strength::expert) {
        ExpertPlayer* current = expert(*side);
        if (current == nullptr) {
            makePlayer(*side, left);
        } else if (current->timeLimit() - current->timeUsed() != left) {
            current->setTimeLimit(left); // the same player keeps its tree
            current->resetClock();
        }
        return success();
    }
    ComputerPlayer* current = player(*side);
    if (current == nullptr || current->timeLimit() - current->timeUsed() != left) {
        makePlayer(*side, left);
    }
    return success();
}

GtpEngine::Reply GtpEngine::paramGame(const Args& args) {
    if (args.empty()) {
        return success(std::string("[bool] allow_swap ") + (m_swap ? "1" : "0"));
    }
    if (args.size() != 2) {
        return wrongArguments("param_game [allow_swap 0|1]");
    }
    if (args[0] != "allow_swap") {
        return failure("unknown parameter: " + args[0].substr(0, 20));
    }
    const std::string value = ProtocolText::lowerCase(args[1]);
    if (value == "1" || value == "true") {
        m_swap = true;
    } else if (value == "0" || value == "false") {
        m_swap = false;
    } else {
        return wrongArguments("param_game allow_swap 0|1");
    }
    return success();
}

GtpEngine::Reply GtpEngine::analyzeCommands(const Args&) {
    // The live analysis keeps the front end's name: HexGui offers its Stop only while a
    // command of a few known names runs, this one among them.
    return success("plist/Near-best Paths of Black/quorlen-paths black\n"
                   "plist/Near-best Paths of White/quorlen-paths white\n"
                   "pspairs/Root Move Values/quorlen-root_values\n"
                   "pspairs/Win Rates/quorlen-win_rates\n"
                   "string/Position Value/quorlen-value\n"
                   "var/Principal Variation/quorlen-pv\n"
                   "string/Live Analysis/gogui-gfx-analyze %c\n");
}

GtpEngine::Reply GtpEngine::paths(const Args& args) {
    const std::optional<int> side =
        args.size() == 1 ? HexNotation::parseColour(args[0]) : std::nullopt;
    if (!side) {
        return wrongArguments("quorlen-paths COLOR");
    }
    const NearBestPaths seen = NearBestPaths::of(m_position->board(), currentWeights());
    return success(cellList(*side == 1 ? seen.player1 : seen.player2));
}

GtpEngine::Reply GtpEngine::rootValues(const Args&) {
    std::string text;
    if (m_options.strength == Strength::expert) {
        return success(text); // its root values are win rates, for quorlen-win_rates
    }
    for (const CellEvaluation& root : m_sink.values()) {
        text += (text.empty() ? "" : " ") + HexNotation::cellName({root.row, root.col}) + " " +
                valueText(root.value);
    }
    return success(text);
}

GtpEngine::Reply GtpEngine::winRates(const Args&) {
    if (m_lastSearch == nullptr) {
        return success();
    }
    return success(SearchReport(*m_lastSearch, m_position->size(), m_lastSearched)
                       .winRates(MctsSearch::Config{}.reportedMoves));
}

GtpEngine::Reply GtpEngine::principalVariation(const Args&) {
    constexpr std::size_t longest = 12;
    if (m_lastSearch == nullptr) {
        return success();
    }
    return success(
        SearchReport::cellList(SearchReport(*m_lastSearch, m_position->size(), m_lastSearched)
                                   .lineFrom(m_position->moves(), longest)));
}

GtpEngine::Reply GtpEngine::liveAnalysis(const Args& args) {
    const std::optional<int> side =
        args.size() == 1 ? HexNotation::parseColour(args[0]) : std::nullopt;
    if (args.size() > 1 || (args.size() == 1 && !side)) {
        return wrongArguments("gogui-gfx-analyze [COLOR]");
    }
    if (m_position->winner() != 0) {
        return failure("the game is over");
    }
    if (side && *side != m_position->sideToMove()) {
        return failure(std::string(HexNotation::colourName(m_position->sideToMove())) +
                       " is to move");
    }
    LiveAnalysis& live = analysis();
    m_lastSearch = &live.search();
    m_lastSearched = m_position->moves();
    const SearchReport report(live.search(), m_position->size(), m_lastSearched);
    std::atomic<bool> stop{false};
    m_gate.begin(m_number);
    m_gate.enterEndless(stop);
    // The gate must forget the flag however the search ends, an error included.
    const std::unique_ptr<InterruptGate, void (*)(InterruptGate*)> leaving(
        &m_gate, [](InterruptGate* gate) { gate->leave(); });
    live.run(MctsSearch::Position{m_position->size(), m_lastSearched, m_swap}, stop, [&] {
        const std::string graphics = report.liveGraphics();
        if (m_liveOutput && !graphics.empty()) {
            m_liveOutput(graphics);
        }
    });
    return success(report.summary());
}

LiveAnalysis& GtpEngine::analysis() {
    if (!m_analysis) {
        LiveAnalysis::Settings settings;
        settings.threads = searchThreadCount(m_options.threads);
        settings.memory = m_treeMemory;
        settings.seed = m_options.seed ? *m_options.seed * 2u + 3u : std::random_device{}();
        settings.solver = m_options.solver;
        m_analysis = std::make_unique<LiveAnalysis>(settings);
    }
    return *m_analysis;
}

GtpEngine::Reply GtpEngine::value(const Args&) {
    return success(valueText(NearBestPaths::of(m_position->board(), currentWeights()).value));
}

const Weights& GtpEngine::currentWeights() const {
    const auto& toMove = m_players[static_cast<std::size_t>(m_position->sideToMove() - 1)];
    const auto& other = m_players[static_cast<std::size_t>(2 - m_position->sideToMove())];
    if (toMove) {
        return toMove->weights();
    }
    return other ? other->weights() : m_fileWeights;
}
