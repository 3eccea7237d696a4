#pragma once

#include "players/ComputerPlayer.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsStore.h"
#include "support/FakeClock.h"
#include "support/RecordingSink.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

// Computer players with the default settings, a weights file in a fresh directory, a
// recording sink and no real pauses. They read the fixture's fake clock unless a test gives
// another; the opening's seed is 11 x the player number unless a test gives one.
class ComputerPlayerFixture : public ::testing::Test {
protected:
    ComputerPlayerFixture() { SettingsDefaults::apply(settings); }

    std::filesystem::path weightsFile() const { return m_directory / "quorlen.dat"; }

    std::unique_ptr<ComputerPlayer> make(bool hard, int number, std::int32_t timeLimit = 300,
                                         const Clock* otherClock = nullptr,
                                         std::optional<std::uint32_t> seed = std::nullopt) {
        const std::uint32_t opening = seed.value_or(11u * static_cast<unsigned>(number));
        ComputerPlayer::Context context{sink,
                                        settings,
                                        otherClock != nullptr ? *otherClock : clock,
                                        weightsFile(),
                                        [opening] { return opening; },
                                        [](std::chrono::milliseconds) {}};
        return std::make_unique<ComputerPlayer>(hard ? "Quorlen" : "Quorl", timeLimit, hard, number,
                                                std::move(context));
    }

    RecordingSink sink;
    SettingsStore settings;
    FakeClock clock;

private:
    TempDirectory m_directory;
};
