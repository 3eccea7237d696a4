#include "settings/SettingsStore.h"
#include "settings/SettingsDefaults.h"

#include "support/TempDirectory.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// The default settings file: eighteen lines in the order of the store's buckets.
const std::string defaultFile = [] {
    std::string text;
    for (const char* line :
         {"P1_TYPE=0", "SHOW_BEST=0", "WINDOW_WIDTH=800", "COLOR_CELL=8421504", "COLOR_PATH=255",
          "COLOR_SELECTION=12632256", "COLOR_P1=16777215", "COLOR_P2=0", "P2_TYPE=0", "LEARNING=0",
          "LEARNING_RATE=0.05", "BOARD_SIZE=10", "WINDOW_HEIGHT=600", "COLOR_BORDER=0",
          "SHOW_PATHS=0", "COLOR_BACK=10518624", "TIME_LIMIT=300", "SHOW_EVALS=0"}) {
        text += std::string(line) + "\r\n";
    }
    return text;
}();

std::map<std::string, std::string> asMap(const SettingsStore& store) {
    const Entries entries = store.entries();
    return {entries.begin(), entries.end()};
}

TEST(SettingsStore, DefaultStoreWritesEighteenLinesInBucketOrder) {
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
    EXPECT_EQ(SettingsStore::bucketOf(std::string(100, 'z')), 15u); // (2^32 - 117) mod 97
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

// Values convert as NumberText reads and writes them (its tests give the lenient cases).
TEST(SettingsStore, AbsentKeysGiveEmptyTextAndValuesConvertLeniently) {
    SettingsStore store;
    SettingsDefaults::apply(store);
    EXPECT_EQ(store.get("NO_SUCH_KEY"), "");
    EXPECT_EQ(store.get("board_size"), ""); // keys are case-sensitive
    EXPECT_EQ(store.getInt("NO_SUCH_KEY"), 0);
    EXPECT_EQ(store.fileText(), defaultFile); // nothing was inserted
    EXPECT_EQ(store.getDecimal("LEARNING_RATE"), 0.05);
    store.set("BOARD_SIZE", " 12abc");
    EXPECT_EQ(store.getInt("BOARD_SIZE"), 12);
    store.setInt("TIME_LIMIT", -60);
    EXPECT_EQ(store.get("TIME_LIMIT"), "-60");
}

// The position moves past the delimiter even when the token ran to the end of the text.
TEST(SettingsStore, NextTokenAddsTheDelimiterLengthEvenWithoutDelimiter) {
    const struct {
        std::string_view text, delimiter;
        std::vector<std::pair<std::string_view, std::size_t>> tokens;
    } cases[] = {{"a,,bc", ",", {{"a", 2}, {"", 3}, {"bc", 6}, {"", 6}}},
                 {"x\ny\r\nz", "\r\n", {{"x\ny", 5}, {"z", 8}}}};
    for (const auto& c : cases) {
        std::size_t position = 0;
        for (const auto& [token, after] : c.tokens) {
            EXPECT_EQ(SettingsStore::nextToken(c.text, c.delimiter, position), token);
            EXPECT_EQ(position, after) << token;
        }
    }
}

// A zero byte ends the text of its 4096-byte chunk only; the next chunk goes on.
std::string withZeroByte() {
    std::string bytes = "BOARD_SIZE=7\r\nTIME_";
    bytes += '\0';
    bytes += "LIMIT=1\r\n";
    bytes.resize(4096, 'x');
    return bytes + "P1_TYPE=2\r\n";
}

TEST(SettingsStore, FileIsReadOverTheDefaults) {
    // A settings file's bytes and what they change when read over the defaults.
    const struct {
        const char* name;
        std::string bytes;
        std::map<std::string, std::string> changes;
    } cases[] = {
        {"OneLine", "BOARD_SIZE=7\r\n", {{"BOARD_SIZE", "7"}}},
        {"LastLineWithoutLineEnd", "A=7\r\nB=1", {{"A", "7"}, {"B", "1"}}},
        {"EmptyLineEndsReading", "A=7\r\nB=1\r\n\r\nC=2\r\n", {{"A", "7"}, {"B", "1"}}},
        {"NoKeyOrNoValueIgnored", "=5\r\nTIME_LIMIT=\r\nNOEQUALS\r\nA=1\r\n", {{"A", "1"}}},
        {"SecondEqualsEndsTheValue", "TIME_LIMIT=600=9\r\n", {{"TIME_LIMIT", "600"}}},
        {"BlanksBelongToKeyAndValue", "BOARD_SIZE = 7\r\n", {{"BOARD_SIZE ", " 7"}}},
        {"LaterValueWins", "BOARD_SIZE=7\r\nBOARD_SIZE=8\r\n", {{"BOARD_SIZE", "8"}}},
        {"BareLineFeedsMakeOneLine", "A=7\nB=1\nC=2\n", {{"A", "7\nB"}}},
        {"EmptyFile", "", {}},
        {"LeadingEmptyLine", "\r\nBOARD_SIZE=7\r\n", {}},
        {"ValuesAreNotChecked",
         "BOARD_SIZE=-1\r\nLEARNING_RATE=inf\r\n",
         {{"BOARD_SIZE", "-1"}, {"LEARNING_RATE", "inf"}}},
        {"ZeroByteEndsItsChunk", withZeroByte(), {{"BOARD_SIZE", "7"}, {"TIME_P1_TYPE", "2"}}},
        {"HighBytesAndCarriageReturns", "K\xe9Y=v\ra\r\n", {{"K\xe9Y", "v\ra"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsStore store;
        SettingsDefaults::apply(store);
        store.loadBytes(c.bytes);
        SettingsStore expected;
        SettingsDefaults::apply(expected);
        for (const auto& [key, value] : c.changes) {
            expected.set(key, value);
        }
        EXPECT_EQ(asMap(store), asMap(expected));
    }
}

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

TEST(SettingsStore, SaveReplacesTheFileWholeOrKeepsThePreviousOne) {
    TempDirectory dir;
    writeBytes(dir / "config.ini", "OLD=1\r\n");
    EXPECT_TRUE(SettingsStore().save(dir / "config.ini"));
    EXPECT_EQ(readBytes(dir / "config.ini"), ""); // an empty store writes an empty file

    SettingsStore store;
    SettingsDefaults::apply(store);
    {
        FileSizeLimit diskFull(10);
        EXPECT_FALSE(store.save(dir / "config.ini"));
    }
    EXPECT_FALSE(store.save(dir / "missing" / "config.ini"));
    EXPECT_EQ(readBytes(dir / "config.ini"), "");
    EXPECT_EQ(dir.names(), std::set<std::string>{"config.ini"});
}

} // namespace
