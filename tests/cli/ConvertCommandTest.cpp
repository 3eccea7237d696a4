#include "cli/ConvertCommand.h"
#include "notation/ProgramVersion.h"

#include "support/CliRun.h"
#include "support/TempDirectory.h"

#include <gtest/gtest.h>

namespace {

const std::string version(programVersion);

CliRun runConvert(std::vector<std::string> args) {
    return runCliWith([](CLI::App& app, int& exitCode, std::ostream& out,
                         std::ostream& err) { addConvertCommand(app, exitCode, out, err); },
                      std::move(args));
}

class ConvertCommandTest : public testing::Test {
protected:
    std::string path(const char* name) const { return (directory / name).string(); }

    TempDirectory directory;
};

TEST_F(ConvertCommandTest, TheOutputFormatFollowsTheExtensionElseItIsTheOtherOne) {
    // The swap is the marker N.N in the record and swap-pieces in SGF.
    writeBytes(directory / "in.sgf", "(;GM[11]SZ[4];B[B2];W[swap];B[resign])");
    const CliRun toRecord = runConvert({"convert", path("in.sgf"), path("out")});
    ASSERT_EQ(toRecord.exitCode, 0) << toRecord.err;
    EXPECT_EQ(toRecord.out, path("out") + ": game record, size 4, 2 moves\n");
    EXPECT_EQ(readBytes(directory / "out"), "4\r\n1.1\r\n4.4\r\n");
    EXPECT_EQ(toRecord.err,
              "quorlen-cli convert: note: Black's resignation at the end is not kept\n");

    const CliRun sgfToSgf = runConvert({"convert", path("in.sgf"), path("clean.SGF")});
    ASSERT_EQ(sgfToSgf.exitCode, 0) << sgfToSgf.err;
    EXPECT_EQ(readBytes(directory / "clean.SGF"),
              "(;FF[4]GM[11]SZ[4]AP[Quorlen:" + version + "];B[b2];W[swap-pieces])\n");

    const CliRun recordToSgf = runConvert({"convert", path("out"), path("again")});
    ASSERT_EQ(recordToSgf.exitCode, 0) << recordToSgf.err;
    EXPECT_EQ(recordToSgf.out, path("again") + ": SGF game, size 4, 2 moves\n");
    EXPECT_EQ(readBytes(directory / "again"), readBytes(directory / "clean.SGF"));
}

TEST_F(ConvertCommandTest, ASwapOfSidesBecomesThePieceSwapWithItsPlayersAndResult) {
    writeBytes(directory / "sides.sgf",
               "(;GM[11]SZ[5]PB[first]PW[second]RE[B+];B[b1];W[swap];W[c3];B[d2])");
    const CliRun run = runConvert({"convert", path("sides.sgf"), path("pieces.sgf")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readBytes(directory / "pieces.sgf"),
              "(;FF[4]GM[11]SZ[5]AP[Quorlen:" + version +
                  "]PB[first]PW[second]RE[W+];B[b1];W[swap-pieces];B[c3];W[b4])\n");
}

TEST_F(ConvertCommandTest, ARefusedInputNamesTheProblemAndLeavesTheOutputAlone) {
    writeBytes(directory / "out.txt", "kept");
    const struct {
        const char* name;
        const char* bytes;
        const char* message;
    } cases[] = {
        {"setup.sgf", "(;SZ[5]AB[a1][b2])",
         "no game reaches the setup position: 2 Black and 0 White stones"},
        {"twice.txt", "5\r\n1.1\r\n1.1\r\n", "move 2 (b2): cell b2 is occupied"},
    };
    for (const auto& each : cases) {
        writeBytes(directory / each.name, each.bytes);
        const CliRun run = runConvert({"convert", path(each.name), path("out.txt")});
        EXPECT_EQ(run.exitCode, 1) << each.name;
        EXPECT_EQ(run.err, "quorlen-cli convert: " + path(each.name) + ": " + each.message + "\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(readBytes(directory / "out.txt"), "kept");

    const CliRun missing = runConvert({"convert", path("none.sgf"), path("out.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "quorlen-cli convert: cannot read " + path("none.sgf") + "\n");
    writeBytes(directory / "ok.sgf", "(;SZ[3])");
    const CliRun unwritable = runConvert({"convert", path("ok.sgf"), path("no/such/dir.txt")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_EQ(runConvert({"convert", path("ok.sgf")}).exitCode, 2);
}

} // namespace
