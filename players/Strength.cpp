#include "players/Strength.h"

const char* strengthName(Strength strength) {
    switch (strength) {
    case Strength::easy:
        return "easy";
    case Strength::hard:
        return "hard";
    case Strength::expert:
        return "expert";
    }
    return "easy";
}

std::optional<Strength> strengthNamed(std::string_view name) {
    for (const Strength strength : {Strength::easy, Strength::hard, Strength::expert}) {
        if (name == strengthName(strength)) {
            return strength;
        }
    }
    return std::nullopt;
}
