#include "document/SavedGame.h"

#include "notation/GamePosition.h"
#include "settings/FileText.h"
#include "settings/GameRecord.h"
#include "sgf/SgfAnalysis.h"
#include "sgf/SgfGame.h"

#include <algorithm>
#include <cctype>

bool SavedGame::isSgfName(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return extension == ".sgf";
}

std::optional<std::string> SavedGame::sgfText(std::string& problem) const {
    GamePosition position(size);
    problem = position.playAll(moves);
    if (!problem.empty()) {
        return std::nullopt;
    }
    SgfGame::Info info;
    if (resigned != 0) {
        info.result = resigned == 2 ? "B+R" : "W+R";
    } else if (winner != 0) {
        info.result = winner == 1 ? "B+" : "W+";
    }
    return SgfAnalysis::write(GameRecord{size, moves}, info, analysis, variations);
}

std::string SavedGame::write(const std::filesystem::path& file) const {
    std::string text;
    if (isSgfName(file)) {
        std::string problem;
        const std::optional<std::string> sgf = sgfText(problem);
        if (!sgf) {
            return "SGF cannot hold this game's moves (" + problem + "); save it as a record.";
        }
        text = *sgf;
    } else {
        text = GameRecord{size, moves}.text();
    }
    if (!FileText::replaceWhole(file, text)) {
        return "Quorlen could not write " + file.string() + ".";
    }
    return "";
}
