#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <forward_list>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// The single key/value store of all settings; keys and values are byte strings held as text.
//
// Entries live in a chained hash table of 97 buckets. A new key goes to the head of its
// bucket's chain; iteration (and so the order of the settings file) runs through the
// buckets in ascending index, each from the head of its chain.
//
// File format: lines KEY=VALUE, each ending in CR LF; no sections, comments, quoting or
// trimming. Reading stops at the first empty line; a line without a key or without a value
// is skipped; KEY=A=B sets KEY to A.
//
// Thread contract: every public operation may be called from any thread; each holds the
// store's one lock for its whole duration, and get returns a copy of the value.
class SettingsStore {
public:
    static constexpr std::size_t bucketCount = 97;

    SettingsStore() = default;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The key's value; the empty text for an absent key (which is not inserted).
    std::string get(std::string_view key) const;
    // Replaces the value of an existing key in place, or inserts the key at its chain's head.
    void set(std::string_view key, std::string_view value);

    // The value read leniently as an integer (absent or not a number: 0).
    int getInt(std::string_view key) const;
    // The value read leniently as a decimal number (absent or not a number: 0.0).
    double getDecimal(std::string_view key) const;
    // Stores the value formatted with "%d".
    void setInt(std::string_view key, int value);

    // Reads the settings file over the store; false only when it cannot be read, and then
    // the store is unchanged.
    bool load(const std::filesystem::path& path);
    // Writes the store to the file, replacing it whole; false when it cannot be written,
    // and then the old file stays as it was.
    bool save(const std::filesystem::path& path) const;

    // Reads a settings file's bytes over the store (load without the file).
    void loadBytes(std::string_view bytes);
    // The settings file's content for the store as it is (save without the file).
    std::string fileText() const;

    // (key, value) of every entry in iteration order.
    std::vector<std::pair<std::string, std::string>> entries() const;
    std::size_t size() const;

    // The bucket of a key: h = 2h + b - 5 over its bytes b taken as signed 8-bit values, in
    // unsigned 32-bit arithmetic, then h modulo the bucket count.
    static std::size_t bucketOf(std::string_view key);

    // The text from position up to the next delimiter (or the end); position then moves
    // past the token and one delimiter's length, even when none was found. At or past the
    // end: the empty text, position unchanged. The delimiter must not be empty.
    static std::string_view nextToken(std::string_view text, std::string_view delimiter,
                                      std::size_t& position);

private:
    struct Entry {
        std::string key;
        std::string value;
    };

    void setLocked(std::string_view key, std::string_view value);

    mutable std::mutex m_lock;
    std::array<std::forward_list<Entry>, bucketCount> m_buckets;
    // Finds an entry without walking its chain, so that a hand-made file with a great many
    // keys still loads in linear time; the views point into the entries' own keys, which
    // never move.
    std::unordered_map<std::string_view, Entry*> m_index;
};
