#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The syntax of an SGF file that holds one game: a tree of nodes, each a list of properties
// such as B[c5] or AB[a1][b2]. The main line is the root's node sequence, then at every
// branch the first variation's, as the programs that write Hex games read them. Each other
// variation that leaves the main line is kept as a branch: its own line, again the first
// variation at every branch. A branch off a branch is read for its syntax and dropped.
//
// Property names keep only their upper-case letters (old files mix in lower case). Values
// are unescaped: '\' takes the next character as it is, and an escaped line break is removed.
// Any bytes at all are read without a crash, in time and memory linear in their length.
class SgfTree {
public:
    struct Property {
        std::string name;
        std::vector<std::string> values;
    };
    using Node = std::vector<Property>;

    // A line that leaves the main line after its first `after` nodes.
    struct Branch {
        std::size_t after = 0;
        std::vector<Node> nodes; // never empty
    };

    struct MainLine {
        std::vector<Node> nodes; // never empty
        bool variations = false; // a branch had more than one variation
        std::vector<Branch> branches;
        bool branchesDropped = false; // a branch had branches of its own
    };

    // Throws SgfError, naming the problem, for anything that is not one well-formed game.
    static MainLine read(std::string_view text);

    // The node's first property of that name, or null.
    static const Property* find(const Node& node, std::string_view name);
};
