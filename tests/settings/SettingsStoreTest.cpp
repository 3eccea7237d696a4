#include "settings/SettingsStore.h"
#include "settings/SettingsDefaults.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

constexpr std::string_view defaultFile = "P1_TYPE=0\r\n"
                                         "SHOW_BEST=0\r\n"
                                         "WINDOW_WIDTH=800\r\n"
                                         "COLOR_CELL=8421504\r\n"
                                         "COLOR_PATH=255\r\n"
                                         "COLOR_SELECTION=12632256\r\n"
                                         "COLOR_P1=16777215\r\n"
                                         "COLOR_P2=0\r\n"
                                         "P2_TYPE=0\r\n"
                                         "LEARNING=0\r\n"
                                         "LEARNING_RATE=0.05\r\n"
                                         "BOARD_SIZE=10\r\n"
                                         "WINDOW_HEIGHT=600\r\n"
                                         "COLOR_BORDER=0\r\n"
                                         "SHOW_PATHS=0\r\n"
                                         "COLOR_BACK=10518624\r\n"
                                         "TIME_LIMIT=300\r\n"
                                         "SHOW_EVALS=0\r\n";

// The default entries with the given keys changed or added.
std::map<std::string, std::string> defaultsWith(const std::map<std::string, std::string>& changes) {
    std::map<std::string, std::string> result;
    for (const auto& setting : SettingsDefaults::all()) {
        result[std::string(setting.key)] = setting.value;
    }
    for (const auto& [key, value] : changes) {
        result[key] = value;
    }
    return result;
}

std::map<std::string, std::string> asMap(const SettingsStore& store) {
    const Entries entries = store.entries();
    return {entries.begin(), entries.end()};
}

TEST(SettingsStore, DefaultStoreWritesTheEighteenLinesInBucketOrder) {
    SettingsStore store;
    SettingsDefaults::apply(store);
    EXPECT_EQ(store.fileText(), defaultFile);
    TempDirectory dir;
    ASSERT_TRUE(store.save(dir / "config.ini"));
    EXPECT_EQ(readBytes(dir / "config.ini"), defaultFile);
}

TEST(SettingsStore, BucketTakesBytesAsSigned) {
    EXPECT_EQ(SettingsStore::bucketOf(""), 0u);
    EXPECT_EQ(SettingsStore::bucketOf("A"), 60u);    // 65 - 5
    EXPECT_EQ(SettingsStore::bucketOf("\xff"), 29u); // (2^32 - 6) mod 97, not 250 mod 97
    EXPECT_EQ(SettingsStore::bucketOf("BOARD_SIZE"), 52u);
    EXPECT_EQ(SettingsStore::bucketOf(std::string(100, 'z')), // wraps in 32 bits
              SettingsStore::bucketOf(std::string(100, 'z')));
}

TEST(SettingsStore, NewKeyGoesToTheHeadOfItsChainAndAReplacedValueStays) {
    // K3, K100 and K5, K102, K110 share buckets.
    ASSERT_EQ(SettingsStore::bucketOf("K3"), SettingsStore::bucketOf("K100"));
    SettingsStore store;
    store.set("K3", "a");
    store.set("K100", "b");
    store.set("K3", "c");
    store.set("K102", "d");
    store.set("K5", "e");
    EXPECT_EQ(store.entries(), (Entries{{"K100", "b"}, {"K3", "c"}, {"K5", "e"}, {"K102", "d"}}));
}

TEST(SettingsStore, GetOfAnAbsentKeyGivesEmptyTextAndInsertsNothing) {
    SettingsStore store;
    SettingsDefaults::apply(store);
    EXPECT_EQ(store.get("NO_SUCH_KEY"), "");
    EXPECT_EQ(store.get("board_size"), ""); // keys are case-sensitive
    EXPECT_EQ(store.getInt("NO_SUCH_KEY"), 0);
    EXPECT_EQ(store.size(), 18u);
    EXPECT_EQ(store.fileText(), defaultFile);
}

TEST(SettingsStore, ValuesConvertLeniently) {
    SettingsStore store;
    SettingsDefaults::apply(store);
    EXPECT_EQ(store.getInt("COLOR_BACK"), 10518624);
    EXPECT_EQ(store.getDecimal("LEARNING_RATE"), 0.05);
    store.set("BOARD_SIZE", " 12abc");
    EXPECT_EQ(store.getInt("BOARD_SIZE"), 12);
    store.setInt("TIME_LIMIT", -60);
    EXPECT_EQ(store.get("TIME_LIMIT"), "-60");
    store.set("LEARNING_RATE", "nan");
    EXPECT_EQ(store.getDecimal("LEARNING_RATE"), 0.0);
}

TEST(SettingsStore, NextTokenAddsTheDelimiterLengthEvenWithoutDelimiter) {
    std::size_t position = 0;
    EXPECT_EQ(SettingsStore::nextToken("a,,bc", ",", position), "a");
    EXPECT_EQ(position, 2u);
    EXPECT_EQ(SettingsStore::nextToken("a,,bc", ",", position), "");
    EXPECT_EQ(position, 3u);
    EXPECT_EQ(SettingsStore::nextToken("a,,bc", ",", position), "bc");
    EXPECT_EQ(position, 6u);
    EXPECT_EQ(SettingsStore::nextToken("a,,bc", ",", position), "");
    EXPECT_EQ(position, 6u);
    position = 0;
    EXPECT_EQ(SettingsStore::nextToken("x\ny\r\nz", "\r\n", position), "x\ny");
    EXPECT_EQ(position, 5u);
    EXPECT_EQ(SettingsStore::nextToken("x\ny\r\nz", "\r\n", position), "z");
    EXPECT_EQ(position, 8u);
}

// A settings file's bytes and the store they leave when read over the defaults.
struct LoadCase {
    const char* name;
    std::string bytes;
    std::map<std::string, std::string> changes;
};

class SettingsLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(SettingsLoad, ReadsOverTheDefaults) {
    SettingsStore store;
    SettingsDefaults::apply(store);
    store.loadBytes(GetParam().bytes);
    EXPECT_EQ(asMap(store), defaultsWith(GetParam().changes));
}

void PrintTo(const LoadCase& loadCase, std::ostream* out) {
    *out << loadCase.name;
}

// A zero byte ends the text of its 4096-byte chunk only; the next chunk goes on.
std::string withZeroByte() {
    std::string bytes = "BOARD_SIZE=7\r\nTIME_";
    bytes += '\0';
    bytes += "LIMIT=1\r\n";
    bytes.resize(4096, 'x');
    return bytes + "P1_TYPE=2\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsLoad,
    testing::Values(
        LoadCase{"OneLine", "BOARD_SIZE=7\r\n", {{"BOARD_SIZE", "7"}}},
        LoadCase{"LastLineWithoutLineEnd",
                 "BOARD_SIZE=7\r\nP1_TYPE=1",
                 {{"BOARD_SIZE", "7"}, {"P1_TYPE", "1"}}},
        LoadCase{"EmptyLineEndsReading",
                 "BOARD_SIZE=7\r\nP1_TYPE=1\r\n\r\nP2_TYPE=2\r\n",
                 {{"BOARD_SIZE", "7"}, {"P1_TYPE", "1"}}},
        LoadCase{"NoKeyOrNoValueIgnored",
                 "=5\r\nTIME_LIMIT=\r\nNOEQUALS\r\nP1_TYPE=1\r\n",
                 {{"P1_TYPE", "1"}}},
        LoadCase{"SecondEqualsEndsTheValue", "TIME_LIMIT=600=9\r\n", {{"TIME_LIMIT", "600"}}},
        LoadCase{"BlanksBelongToKeyAndValue", "BOARD_SIZE = 7\r\n", {{"BOARD_SIZE ", " 7"}}},
        LoadCase{"LaterValueWins", "BOARD_SIZE=7\r\nBOARD_SIZE=8\r\n", {{"BOARD_SIZE", "8"}}},
        LoadCase{"BareLineFeedsMakeOneLine",
                 "BOARD_SIZE=7\nP1_TYPE=1\nP2_TYPE=2\n",
                 {{"BOARD_SIZE", "7\nP1_TYPE"}}},
        LoadCase{"EmptyFile", "", {}}, LoadCase{"LeadingEmptyLine", "\r\nBOARD_SIZE=7\r\n", {}},
        LoadCase{"ValuesAreNotChecked",
                 "BOARD_SIZE=-1\r\nLEARNING_RATE=inf\r\n",
                 {{"BOARD_SIZE", "-1"}, {"LEARNING_RATE", "inf"}}},
        LoadCase{
            "ZeroByteEndsItsChunk", withZeroByte(), {{"BOARD_SIZE", "7"}, {"TIME_P1_TYPE", "2"}}},
        LoadCase{"HighBytesAndCarriageReturns", "K\xe9Y=v\ra\r\n", {{"K\xe9Y", "v\ra"}}}),
    [](const testing::TestParamInfo<LoadCase>& param) { return param.param.name; });

TEST(SettingsStore, SaveThenLoadGivesTheSameStore) {
    SettingsStore saved;
    SettingsDefaults::apply(saved);
    saved.set("BOARD_SIZE", "7");
    saved.set("BOARD_SIZE ", " 7");
    saved.set("K\xe9Y", "v a l");
    TempDirectory dir;
    ASSERT_TRUE(saved.save(dir / "config.ini"));

    // Read over the defaults, as at start-up: same entries in the same order.
    SettingsStore overDefaults;
    SettingsDefaults::apply(overDefaults);
    ASSERT_TRUE(overDefaults.load(dir / "config.ini"));
    EXPECT_EQ(overDefaults.entries(), saved.entries());
    // Read into an empty store: same entries.
    SettingsStore empty;
    ASSERT_TRUE(empty.load(dir / "config.ini"));
    EXPECT_EQ(asMap(empty), asMap(saved));
}

TEST(SettingsStore, MissingFileIsReportedAndChangesNothing) {
    TempDirectory dir;
    SettingsStore store;
    SettingsDefaults::apply(store);
    EXPECT_FALSE(store.load(dir / "config.ini"));
    EXPECT_FALSE(store.load(dir.path()));
    EXPECT_EQ(store.fileText(), defaultFile);
}

TEST(SettingsStore, EmptyStoreWritesAnEmptyFile) {
    TempDirectory dir;
    writeBytes(dir / "config.ini", "OLD=1\r\n");
    const SettingsStore store;
    EXPECT_TRUE(store.save(dir / "config.ini"));
    EXPECT_EQ(readBytes(dir / "config.ini"), "");
}

TEST(SettingsStore, FailedSaveKeepsThePreviousFile) {
    TempDirectory dir;
    writeBytes(dir / "config.ini", "BOARD_SIZE=7\r\n");
    SettingsStore store;
    SettingsDefaults::apply(store);
    {
        FileSizeLimit diskFull(10);
        EXPECT_FALSE(store.save(dir / "config.ini"));
    }
    EXPECT_FALSE(store.save(dir / "missing" / "config.ini"));
    EXPECT_EQ(readBytes(dir / "config.ini"), "BOARD_SIZE=7\r\n");
    EXPECT_EQ(dir.names(), std::set<std::string>{"config.ini"});
}

TEST(SettingsStore, SaveIntoAReadOnlyDirectoryKeepsThePreviousFile) {
    TempDirectory dir;
    writeBytes(dir / "config.ini", "BOARD_SIZE=7\r\n");
    SettingsStore store;
    SettingsDefaults::apply(store);
    if (!readOnlyDirectoryStopsWrites(dir.path())) {
        GTEST_SKIP() << "running as root: a read-only directory does not stop writes";
    }
    EXPECT_FALSE(store.save(dir / "config.ini"));
    EXPECT_EQ(readBytes(dir / "config.ini"), "BOARD_SIZE=7\r\n");
    EXPECT_EQ(dir.names(), std::set<std::string>{"config.ini"});
}

} // namespace
