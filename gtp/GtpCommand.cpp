#include "gtp/GtpCommand.h"

#include <algorithm>

namespace {

std::string cleaned(std::string_view line) {
    std::string text;
    text.reserve(line.size());
    for (const char c : line) {
        if (c == '#') {
            break;
        }
        if (c == '\t') {
            text += ' ';
        } else if (static_cast<unsigned char>(c) >= 32 && c != 127) {
            text += c;
        }
    }
    return text;
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> result;
    std::size_t start = text.find_first_not_of(' ');
    while (start != std::string_view::npos) {
        const std::size_t end = text.find(' ', start);
        result.emplace_back(text.substr(start, end - start));
        start = end == std::string_view::npos ? end : text.find_first_not_of(' ', end);
    }
    return result;
}

bool allDigits(const std::string& word) {
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<GtpCommand> GtpCommand::parse(std::string_view line) {
    std::vector<std::string> parts = words(cleaned(line));
    if (parts.empty()) {
        return std::nullopt;
    }
    GtpCommand command;
    auto next = parts.begin();
    if (allDigits(*next)) {
        command.id = std::move(*next++);
    }
    if (next != parts.end()) {
        command.name = std::move(*next++);
    }
    command.args.assign(std::make_move_iterator(next), std::make_move_iterator(parts.end()));
    return command;
}

bool GtpCommand::isInterrupt(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return false;
    }
    const std::size_t last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1) == "# interrupt";
}

std::string GtpCommand::reply(const std::string& id, bool success, std::string_view text) {
    // Front ends expect the blank after "=" or "?" also when the text is empty.
    std::string framed = (success ? "=" : "?") + id + " ";
    bool lineHasText = true;
    for (const char c : text) {
        if (c == '\n') {
            if (!lineHasText) {
                continue;
            }
            lineHasText = false;
        } else {
            lineHasText = true;
        }
        framed += c;
    }
    if (!framed.empty() && framed.back() == '\n') {
        framed.pop_back();
    }
    framed += "\n\n";
    return framed;
}
