#include "cli/ConvertCommand.h"

#include "notation/ProtocolText.h"
#include "settings/FileText.h"
#include "settings/GameRecord.h"
#include "sgf/GameFile.h"
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

int runConvert(const ConvertOptions& options, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> bytes = FileText::readAll(options.in);
    if (!bytes) {
        err << "quorlen-cli convert: cannot read " << options.in << '\n';
        return 1;
    }
    const bool inputIsSgf = GameFile::looksLikeSgf(*bytes);
    const GameFile::Reading reading = GameFile::parseGame(*bytes);
    if (!reading.record) {
        err << "quorlen-cli convert: " << options.in << ": " << reading.error << '\n';
        return 1;
    }
    for (const std::string& note : reading.notes) {
        err << "quorlen-cli convert: note: " << note << '\n';
    }
    const GameRecord& record = *reading.record;
    const bool toSgf = writesSgf(options.out, inputIsSgf);
    const std::string content = toSgf ? SgfGame::write(record, reading.info) : record.text();
    if (!FileText::replaceWhole(options.out, content)) {
        err << "quorlen-cli convert: cannot write " << options.out << '\n';
        return 1;
    }
    out << options.out << ": " << (toSgf ? "SGF game" : "game record") << ", size " << record.size
        << ", " << record.moves.size() << " moves\n";
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
