#include "players/WeightsFile.h"
#include "settings/FileText.h"
#include "settings/GameRecord.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsStore.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Two versions of each of the program's files, each written the way the program writes it.
struct Version {
    SettingsStore settings;
    Weights weights{};
    GameRecord record;
};

// A settings file of about 64 KiB, so that a kill often lands inside its writing.
void fillVersion(Version& version, int which) {
    SettingsDefaults::apply(version.settings);
    for (int i = 0; i < 2000; ++i) {
        version.settings.set("KEY_" + std::to_string(i), std::string(20, which == 0 ? 'a' : 'b'));
    }
    version.weights = {which + 0.5, -1.25, 2.0 * which, 7.0};
    version.record.size = 30;
    for (int i = 0; i < 450; ++i) {
        version.record.moves.push_back({(i + which) % 30, i / 15});
    }
}

void replaceAll(const TempDirectory& directory, const Version& version) {
    version.settings.save(directory / "config.ini");
    WeightsFile::write(directory / "quorlen.dat", version.weights);
    FileText::replaceWhole(directory / "game.txt", version.record.text());
}

// Times one round of writing in this process (a forked child under the sanitizers writes
// much slower than its parent), says how long it took, then replaces the three files with the
// two versions in turn until it is killed.
[[noreturn]] void replaceForever(const TempDirectory& directory,
                                 const std::array<Version, 2>& versions, int started) {
    const auto before = std::chrono::steady_clock::now();
    replaceAll(directory, versions[0]);
    const long long round = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - before)
                                .count();
    [[maybe_unused]] const ssize_t written = ::write(started, &round, sizeof round);
    for (std::size_t turn = 1;; turn = 1 - turn) {
        replaceAll(directory, versions[turn]);
    }
}

// A process killed at any moment while it replaces the settings file, the weights file and a
// game record leaves each of them whole: the old content or the new, never a mix, never
// empty, never missing.
TEST(FileReplacementCrash, AKilledWriterLeavesEveryFileWhole) {
    std::array<Version, 2> versions;
    fillVersion(versions[0], 0);
    fillVersion(versions[1], 1);
    const std::array<std::array<std::string, 2>, 3> contents = {{
        {versions[0].settings.fileText(), versions[1].settings.fileText()},
        {WeightsFile::text(versions[0].weights), WeightsFile::text(versions[1].weights)},
        {versions[0].record.text(), versions[1].record.text()},
    }};
    const std::array<const char*, 3> names = {"config.ini", "quorlen.dat", "game.txt"};

    TempDirectory directory;
    replaceAll(directory, versions[0]);
    std::mt19937 random(20240611);
    std::array<int, 2> seen{};
    for (int kill = 0; kill < 200; ++kill) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            replaceForever(directory, versions, started[1]);
        }
        long long round = 0;
        ASSERT_EQ(::read(started[0], &round, sizeof round), static_cast<ssize_t>(sizeof round));
        ::close(started[0]);
        ::close(started[1]);
        // The kills spread over two rounds of the child's writing, however fast the disk is.
        std::uniform_int_distribution<long long> moment(0, 2 * round);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        for (std::size_t f = 0; f < names.size(); ++f) {
            const std::string bytes = readBytes(directory / names[f]);
            const bool old = bytes == contents[f][0];
            ASSERT_TRUE(old || bytes == contents[f][1])
                << names[f] << " after kill " << kill << " holds " << bytes.size() << " bytes";
            ++seen[old ? 0 : 1];
        }
    }
    // The kills landed at different points of the writing.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

} // namespace
