#pragma once

#include <array>
#include <string_view>

class SettingsStore;

// The built-in settings that start-up puts into the store before it reads the settings file.
class SettingsDefaults {
public:
    struct Setting {
        std::string_view key;
        std::string_view value;
    };

    // The eighteen defaults in the order in which they are set; that order decides the
    // order of keys within a bucket, and so the order of the settings file.
    static const std::array<Setting, 18>& all();

    // Sets every default, in order.
    static void apply(SettingsStore& store);
};
