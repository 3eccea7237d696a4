#include "sgf/SgfTree.h"

#include "sgf/SgfError.h"

#include <algorithm>
#include <cctype>

namespace {

using Node = SgfTree::Node;
using Property = SgfTree::Property;

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// One game tree in the making: "(" nodes, then variations, then ")".
struct OpenTree {
    bool hasNode = false;
    bool hasVariation = false;
    int line = -1;        // where its nodes go: 0 the main line, b a branch's, -1 dropped
    std::size_t fork = 0; // on the main line: its nodes before the first variation
};

class TreeReader {
public:
    explicit TreeReader(std::string_view text) : m_text(text) {}

    SgfTree::MainLine read() {
        skipByteOrderMark();
        skipSpace();
        if (atEnd() || m_text[m_pos] != '(') {
            throw SgfError{"not an SGF game: it does not start with '('"};
        }
        ++m_pos;
        OpenTree game;
        game.line = 0;
        m_open.push_back(game);
        while (!m_open.empty()) {
            skipSpace();
            if (atEnd()) {
                throw SgfError{"the game is not closed with ')'"};
            }
            step(m_text[m_pos]);
        }
        skipSpace();
        if (!atEnd()) {
            throw SgfError{m_text[m_pos] == '(' ? "the file holds more than one game"
                                                : "unexpected text after the game"};
        }
        return std::move(m_line);
    }

private:
    // The trees are kept as a stack rather than by recursion, so that deep nesting cannot
    // exhaust the call stack.
    void step(char c) {
        OpenTree& tree = m_open.back();
        if (c == ';' && !tree.hasVariation) {
            ++m_pos;
            tree.hasNode = true;
            m_inNode = true;
            m_node = tree.line >= 0 ? &lineNodes(tree.line).emplace_back() : &m_dropped;
            m_dropped.clear();
        } else if (c == '(' && tree.hasNode) {
            ++m_pos;
            m_inNode = false;
            OpenTree variation;
            if (tree.line >= 0 && !tree.hasVariation) {
                variation.line = tree.line; // the first variation continues the line
                tree.fork = m_line.nodes.size();
            } else {
                m_line.variations = true;
                if (tree.line == 0) {
                    m_line.branches.push_back({tree.fork, {}});
                    variation.line = static_cast<int>(m_line.branches.size());
                } else {
                    m_line.branchesDropped = true;
                }
            }
            tree.hasVariation = true;
            m_open.push_back(variation);
        } else if (c == ')') {
            if (!tree.hasNode) {
                throw SgfError{m_open.size() == 1 ? "the game has no node"
                                                  : "a variation has no node"};
            }
            ++m_pos;
            m_inNode = false;
            m_open.pop_back();
        } else if (isLetter(c) && m_inNode) {
            m_node->push_back(readProperty());
        } else {
            throw SgfError{"unexpected '" + printable(c) + "' at byte " +
                           std::to_string(m_pos + 1)};
        }
    }

    bool atEnd() const { return m_pos >= m_text.size(); }

    std::vector<Node>& lineNodes(int line) {
        return line == 0 ? m_line.nodes : m_line.branches[static_cast<std::size_t>(line - 1)].nodes;
    }

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
        while (!atEnd() && isLetter(m_text[m_pos])) {
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
    std::vector<OpenTree> m_open;
    SgfTree::MainLine m_line;
    bool m_inNode = false;  // properties may follow
    Node* m_node = nullptr; // where they go
    Node m_dropped;         // a node off the main line
};

} // namespace

SgfTree::MainLine SgfTree::read(std::string_view text) {
    return TreeReader(text).read();
}

const SgfTree::Property* SgfTree::find(const Node& node, std::string_view name) {
    const auto found = std::find_if(node.begin(), node.end(),
                                    [name](const Property& p) { return p.name == name; });
    return found == node.end() ? nullptr : &*found;
}
