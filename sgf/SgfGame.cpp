#include "sgf/SgfGame.h"

#include "notation/GamePosition.h"
#include "notation/HexNotation.h"
#include "notation/ProgramVersion.h"
#include "notation/ProtocolText.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

struct Property {
    std::string name; // its upper-case letters (old files mix in lower case, which is ignored)
    std::vector<std::string> values;
};

using Node = std::vector<Property>;

// Thrown inside the reader with the message for the user.
struct SgfError {
    std::string message;
};

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The SGF syntax: one game tree of nodes, no variations.
class TreeReader {
public:
    explicit TreeReader(std::string_view text) : m_text(text) {}

    std::vector<Node> readGame() {
        skipByteOrderMark();
        skipSpace();
        if (atEnd() || m_text[m_pos] != '(') {
            throw SgfError{"not an SGF game: it does not start with '('"};
        }
        ++m_pos;
        std::vector<Node> nodes;
        for (;;) {
            skipSpace();
            if (atEnd()) {
                throw SgfError{"the game is not closed with ')'"};
            }
            const char c = m_text[m_pos];
            if (c == ';') {
                ++m_pos;
                nodes.emplace_back();
            } else if (c == ')') {
                ++m_pos;
                break;
            } else if (c == '(') {
                throw SgfError{"variations are not supported: a record holds one line of play"};
            } else if (std::isalpha(static_cast<unsigned char>(c)) && !nodes.empty()) {
                nodes.back().push_back(readProperty());
            } else {
                throw SgfError{"unexpected '" + printable(c) + "' at byte " +
                               std::to_string(m_pos + 1)};
            }
        }
        if (nodes.empty()) {
            throw SgfError{"the game has no node"};
        }
        skipSpace();
        if (!atEnd()) {
            throw SgfError{m_text[m_pos] == '(' ? "the file holds more than one game"
                                                : "unexpected text after the game"};
        }
        return nodes;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }

    void skipSpace() {
        while (!atEnd() && isSpace(m_text[m_pos])) {
            ++m_pos;
        }
    }

    void skipByteOrderMark() {
        if (m_text.substr(0, 3) == "\xEF\xBB\xBF") {
            m_pos = 3;
        }
    }

    static std::string printable(char c) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte < 127) {
            return std::string(1, c);
        }
        static constexpr char hex[] = "0123456789abcdef";
        return std::string("\\x") + hex[byte >> 4] + hex[byte & 15];
    }

    Property readProperty() {
        Property property;
        while (!atEnd() && std::isalpha(static_cast<unsigned char>(m_text[m_pos]))) {
            if (std::isupper(static_cast<unsigned char>(m_text[m_pos]))) {
                property.name += m_text[m_pos];
            }
            ++m_pos;
        }
        skipSpace();
        while (!atEnd() && m_text[m_pos] == '[') {
            ++m_pos;
            property.values.push_back(readValue());
            skipSpace();
        }
        if (property.values.empty()) {
            throw SgfError{"property " + property.name + " has no value"};
        }
        return property;
    }

    // The text up to the closing ']', with '\' escaping the next character and an escaped
    // line break (a soft break) removed.
    std::string readValue() {
        std::string value;
        while (!atEnd()) {
            const char c = m_text[m_pos++];
            if (c == ']') {
                return value;
            }
            if (c == '\\' && !atEnd()) {
                const char escaped = m_text[m_pos++];
                if (escaped == '\r' || escaped == '\n') {
                    const char pair = escaped == '\r' ? '\n' : '\r';
                    if (!atEnd() && m_text[m_pos] == pair) {
                        ++m_pos;
                    }
                    continue;
                }
                value += escaped;
            } else {
                value += c;
            }
        }
        throw SgfError{"a property value is not closed with ']'"};
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// A value as a message quotes it: at most 20 characters, other bytes than printable ASCII
// shown as '?'.
std::string shown(std::string_view value) {
    constexpr std::size_t longest = 20;
    std::string text;
    for (const char c : value.substr(0, longest)) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte >= 32 && byte < 127 ? c : '?';
    }
    return value.size() > longest ? text + "..." : text;
}

const Property* find(const Node& node, std::string_view name) {
    const auto found = std::find_if(node.begin(), node.end(),
                                    [name](const Property& p) { return p.name == name; });
    return found == node.end() ? nullptr : &*found;
}

std::uint32_t boardSize(const Node& root) {
    if (const Property* game = find(root, "GM")) {
        if (ProtocolText::wholeNumber(ProtocolText::trimmed(game->values.front())) != 11) {
            throw SgfError{"not a Hex game: GM[" + shown(game->values.front()) +
                           "] (Hex is GM[11])"};
        }
    }
    const Property* size = find(root, "SZ");
    if (size == nullptr) {
        throw SgfError{"the game names no board size (SZ)"};
    }
    const std::string text = ProtocolText::trimmed(size->values.front());
    const std::size_t colon = text.find(':');
    const std::optional<int> width =
        ProtocolText::wholeNumber(ProtocolText::trimmed(text.substr(0, colon)));
    const std::optional<int> height =
        colon == std::string::npos
            ? width
            : ProtocolText::wholeNumber(ProtocolText::trimmed(text.substr(colon + 1)));
    if (!width || !height) {
        throw SgfError{"SZ[" + shown(text) + "] is not a board size"};
    }
    if (*width != *height) {
        throw SgfError{"SZ[" + shown(text) + "]: boards that are not square are not supported"};
    }
    if (*width < 1 || static_cast<std::uint32_t>(*width) > GameRecord::maxSize) {
        throw SgfError{"SZ[" + shown(text) + "]: board sizes are 1 to " +
                       std::to_string(GameRecord::maxSize)};
    }
    return static_cast<std::uint32_t>(*width);
}

void refuseSetup(const Node& node) {
    for (const char* setup : {"AB", "AW", "AE"}) {
        if (find(node, setup) != nullptr) {
            throw SgfError{std::string("setup stones (") + setup +
                           ") are not supported: a record holds only moves"};
        }
    }
}

struct Move {
    int side = 0;
    std::string value;
};

// The node's move, if it has one.
std::optional<Move> moveOf(const Node& node) {
    const Property* black = find(node, "B");
    const Property* white = find(node, "W");
    if (black != nullptr && white != nullptr) {
        throw SgfError{"a node holds both a Black and a White move"};
    }
    const Property* move = black != nullptr ? black : white;
    if (move == nullptr) {
        return std::nullopt;
    }
    if (move->values.size() != 1) {
        throw SgfError{move->name + " holds more than one move"};
    }
    return Move{black != nullptr ? 1 : 2,
                ProtocolText::lowerCase(ProtocolText::trimmed(move->values.front()))};
}

std::string colourTitle(int side) {
    return side == 1 ? "Black" : "White";
}

// Plays the moves on the position; returns the note of a final resignation.
std::string playMoves(GamePosition& position, const std::vector<Move>& moves) {
    std::string note;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const Move& move = moves[i];
        const std::string label = "move " + std::to_string(i + 1) + " (" +
                                  (move.side == 1 ? "B[" : "W[") + shown(move.value) + "])";
        if (move.value == "resign") {
            if (i + 1 != moves.size()) {
                throw SgfError{label + ": moves follow a resignation"};
            }
            note = colourTitle(move.side) + "'s resignation at the end is not kept";
            break;
        }
        if (move.value == "swap-sides") {
            throw SgfError{label + ": swap-sides is not supported, only swap-pieces"};
        }
        const std::optional<Hex::Coord> cell = HexNotation::parseMove(move.value, position.size());
        if (!cell) {
            throw SgfError{label + ": not a cell of a board of size " +
                           std::to_string(position.size())};
        }
        const std::string why = position.refusal(move.side, *cell);
        if (!why.empty()) {
            throw SgfError{label + ": " + why};
        }
        position.play(*cell);
    }
    return note;
}

std::string escaped(std::string_view text) {
    std::string value;
    for (const char c : text) {
        if (c == ']' || c == '\\') {
            value += '\\';
        }
        value += c;
    }
    return value;
}

} // namespace

std::string SgfGame::write(const GameRecord& record, const Info& info) {
    std::string text = "(;FF[4]GM[11]SZ[" + std::to_string(record.size) +
                       "]AP[Quorlen:" + std::string(programVersion) + "]";
    const std::pair<const char*, const std::string*> infos[] = {
        {"PB", &info.black}, {"PW", &info.white}, {"RE", &info.result}};
    for (const auto& [name, value] : infos) {
        if (!value->empty()) {
            text += std::string(name) + "[" + escaped(*value) + "]";
        }
    }
    for (std::size_t i = 0; i < record.moves.size(); ++i) {
        text += i % 2 == 0 ? ";B[" : ";W[";
        text += HexNotation::moveName(record.moves[i], record.size) + "]";
    }
    return text + ")\n";
}

SgfGame::Reading SgfGame::read(std::string_view text) {
    Reading reading;
    try {
        const std::vector<Node> nodes = TreeReader(text).readGame();
        const std::uint32_t size = boardSize(nodes.front());
        std::vector<Move> moves;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            refuseSetup(nodes[i]);
            if (i > 0 && find(nodes[i], "SZ") != nullptr) {
                throw SgfError{"SZ may only stand in the first node"};
            }
            if (std::optional<Move> move = moveOf(nodes[i])) {
                moves.push_back(std::move(*move));
            }
        }
        GamePosition position(size);
        reading.note = playMoves(position, moves);
        reading.record = GameRecord{size, position.moves()};
    } catch (const SgfError& error) {
        reading.error = error.message;
    }
    return reading;
}
