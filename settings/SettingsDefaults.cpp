#include "settings/SettingsDefaults.h"

#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

const std::array<SettingsDefaults::Setting, 18>& SettingsDefaults::all() {
    using namespace SettingsKeys;
    static constexpr std::array<Setting, 18> defaults{{
        {boardSize, "10"},
        {windowWidth, "800"},
        {windowHeight, "600"},
        {colorBack, "10518624"}, // red 96, green 127, blue 160
        {colorBorder, "0"},
        {colorCell, "8421504"},       // mid grey
        {colorSelection, "12632256"}, // light grey
        {colorP1, "16777215"},        // white
        {colorP2, "0"},               // black
        {colorPath, "255"},           // red
        {p1Type, "0"},
        {p2Type, "0"},
        {timeLimit, "300"},
        {showPaths, "0"},
        {learning, "0"},
        {learningRate, "0.05"},
        {showEvals, "0"},
        {showBest, "0"},
    }};
    return defaults;
}

void SettingsDefaults::apply(SettingsStore& store) {
    for (const Setting& setting : all()) {
        store.set(setting.key, setting.value);
    }
}
