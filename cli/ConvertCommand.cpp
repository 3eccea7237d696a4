#include "cli/ConvertCommand.h"

#include "notation/GamePosition.h"
#include "notation/ProtocolText.h"
#include "settings/FileText.h"
#include "settings/GameRecord.h"
#include "sgf/SgfGame.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace {

struct ConvertOptions {
    std::string in;
    std::string out;
};

bool looksLikeSgf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    const std::size_t first = bytes.find_first_not_of(" \t\r\n\v\f");
    return first != std::string_view::npos && bytes[first] == '(';
}

bool writesSgf(const std::filesystem::path& out, bool inputIsSgf) {
    std::string extension = out.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    if (extension == ".sgf") {
        return true;
    }
    if (extension == ".txt") {
        return false;
    }
    return !inputIsSgf;
}

// The game of the input's bytes, or the reason there is none.
std::optional<GameRecord> readGame(std::string_view bytes, bool isSgf, std::string& problem,
                                   std::string& note) {
    if (isSgf) {
        SgfGame::Reading reading = SgfGame::read(bytes);
        problem = reading.error;
        note = reading.note;
        return reading.record;
    }
    std::optional<GameRecord> record = GameRecord::parse(bytes);
    if (!record) {
        problem = "not a game record (the board size 1 to 30 on the first line, then one line "
                  "row.col per move, every line ending in CR LF) nor an SGF game";
        return std::nullopt;
    }
    // The record format takes any cells; only a legal game can become SGF.
    GamePosition position(record->size);
    problem = position.playAll(record->moves);
    if (!problem.empty()) {
        return std::nullopt;
    }
    return record;
}

int runConvert(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> bytes = FileText::readAll(options.in);
    if (!bytes) {
        err << "quorlen-cli convert: cannot read " << options.in << '\n';
        return 1;
    }
    const bool inputIsSgf = looksLikeSgf(*bytes);
    std::string problem;
    std::string note;
    const std::optional<GameRecord> record = readGame(*bytes, inputIsSgf, problem, note);
    if (!record) {
        err << "quorlen-cli convert: " << options.in << ": " << problem << '\n';
        return 1;
    }
    if (!note.empty()) {
        err << "quorlen-cli convert: note: " << note << '\n';
    }
    const bool toSgf = writesSgf(options.out, inputIsSgf);
    const std::string content = toSgf ? SgfGame::write(*record) : record->text();
    if (!FileText::replaceWhole(options.out, content)) {
        err << "quorlen-cli convert: cannot write " << options.out << '\n';
        return 1;
    }
    out << options.out << ": " << (toSgf ? "SGF game" : "game record") << ", size " << record->size
        << ", " << record->moves.size() << " moves\n";
    return 0;
}

} // namespace

void addConvertCommand(CLI::App& app, int& exitCode) {
    addConvertCommand(app, exitCode, std::cout, std::cerr);
}

void addConvertCommand(CLI::App& app, int& exitCode, std::ostream& out, std::ostream& err) {
    auto* convert = app.add_subcommand("convert", "Convert a game between a record and SGF");
    auto options = std::make_shared<ConvertOptions>();
    convert->add_option("IN", options->in, "Game record or SGF file to read")->required();
    convert->add_option("OUT", options->out, "File to write (.sgf: SGF, .txt: record)")->required();
    convert->callback(
        [options, &exitCode, &out, &err] { exitCode = runConvert(*options, out, err); });
}
