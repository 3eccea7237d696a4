#include "sgf/GameFile.h"

#include "notation/GamePosition.h"
#include "settings/FileText.h"
#include "sgf/SgfAnalysis.h"

GameFile::Reading GameFile::read(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = FileText::readAll(path);
    if (!bytes) {
        Reading reading;
        reading.error = "cannot be read";
        return reading;
    }
    return parse(*bytes);
}

GameFile::Reading GameFile::parse(std::string_view bytes) {
    Reading reading;
    if (looksLikeSgf(bytes)) {
        SgfGame::Reading sgf = SgfGame::read(bytes);
        reading.record = std::move(sgf.record);
        reading.error = std::move(sgf.error);
        reading.notes = std::move(sgf.notes);
        reading.info = std::move(sgf.info);
        reading.variations = std::move(sgf.variations);
        reading.variationsLeftOut = sgf.variationsLeftOut;
        if (reading.record) {
            reading.analysis = SgfAnalysis::read(bytes, *reading.record);
        }
        return reading;
    }
    reading.record = GameRecord::parse(bytes);
    if (!reading.record) {
        reading.error = "not a game record (the board size 1 to 30 on the first line, then one "
                        "line row.col per move, every line ending in CR LF) nor an SGF game";
    }
    return reading;
}

GameFile::Reading GameFile::parseGame(std::string_view bytes) {
    Reading reading = parse(bytes);
    if (reading.record && !looksLikeSgf(bytes)) {
        GamePosition position(reading.record->size);
        reading.error = position.playAll(reading.record->moves);
        if (!reading.error.empty()) {
            reading.record.reset();
        }
    }
    return reading;
}

bool GameFile::looksLikeSgf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    const std::size_t first = bytes.find_first_not_of(" \t\r\n\v\f");
    return first != std::string_view::npos && bytes[first] == '(';
}
