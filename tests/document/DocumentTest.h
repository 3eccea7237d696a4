#pragma once

#include "document/CQuorlenDoc.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

#include "support/Eventually.h"
#include "support/FakeClock.h"
#include "support/RecordingSink.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

// A document on a 4 x 4 board in a directory of its own; the test answers the game thread's
// announcements as the window would.
class DocumentTest : public ::testing::Test {
protected:
    using Pause = std::function<void(std::chrono::milliseconds)>;
    using PlayerFactory = std::function<std::unique_ptr<TimedPlayer>(int, PlayerKind)>;

    void SetUp() override {
        SettingsDefaults::apply(settings);
        settings.set(SettingsKeys::boardSize, "4");
    }

    // The clock stands still unless a test moves it, so a hard search ends only when its
    // position is decided: the same position gives the same reply however loaded the
    // machine is.
    std::unique_ptr<CQuorlenDoc> makeDocument(
        Pause pause = [](auto) {}, PlayerFactory makePlayer = {}) {
        return std::make_unique<CQuorlenDoc>(
            CQuorlenDoc::Context{settings, sink, clock, directory / "quorlen.dat", std::move(pause),
                                 std::move(makePlayer)});
    }

    // The window's part: every announcement posted since the last look is handed to the
    // document, in order.
    void deliver(CQuorlenDoc& document) {
        const std::vector<Message> messages = sink.messages();
        for (; m_delivered < messages.size(); ++m_delivered) {
            if (const auto* turn = std::get_if<WmAppHumanTurn>(&messages[m_delivered])) {
                document.onHumanTurn(turn->player);
            } else if (const auto* offer = std::get_if<WmAppSwapOffer>(&messages[m_delivered])) {
                document.onSwapOffer(offer->player);
            }
        }
    }
    bool asked(CQuorlenDoc& document, int side) {
        return eventually([&] {
            deliver(document);
            return document.awaitsMove(side);
        });
    }
    bool offeredSwap(CQuorlenDoc& document, int side) {
        return eventually([&] {
            deliver(document);
            return document.swapOffered(side);
        });
    }
    bool play(CQuorlenDoc& document, int side, Hex::Coord cell) {
        return asked(document, side) && document.cellClicked(cell.row, cell.col);
    }
    static bool stop(CQuorlenDoc& document) {
        if (document.isRunning()) {
            document.newGame();
        }
        return eventually([&] { return !document.isRunning(); });
    }

    FakeClock clock;
    SettingsStore settings;
    RecordingSink sink;
    TempDirectory directory;

private:
    std::size_t m_delivered = 0;
};
