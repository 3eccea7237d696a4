#include "settings/SettingsStore.h"

#include "settings/FileText.h"
#include "settings/NumberText.h"

#include <optional>

std::size_t SettingsStore::bucketOf(std::string_view key) {
    std::uint32_t h = 0;
    for (const char byte : key) {
        const auto b =
            static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(byte)));
        h = 2u * h + b - 5u;
    }
    return h % bucketCount;
}

std::string_view SettingsStore::nextToken(std::string_view text, std::string_view delimiter,
                                          std::size_t& position) {
    if (position >= text.size()) {
        return {};
    }
    const std::size_t found = text.find(delimiter, position);
    const std::size_t end = found == std::string_view::npos ? text.size() : found;
    const std::string_view token = text.substr(position, end - position);
    position += delimiter.size() + token.size();
    return token;
}

std::string SettingsStore::get(std::string_view key) const {
    std::lock_guard lock(m_lock);
    const auto found = m_index.find(key);
    return found == m_index.end() ? std::string() : found->second->value;
}

void SettingsStore::set(std::string_view key, std::string_view value) {
    std::lock_guard lock(m_lock);
    setLocked(key, value);
}

void SettingsStore::setLocked(std::string_view key, std::string_view value) {
    const auto found = m_index.find(key);
    if (found != m_index.end()) {
        found->second->value = value;
        return;
    }
    std::forward_list<Entry>& chain = m_buckets[bucketOf(key)];
    chain.push_front(Entry{std::string(key), std::string(value)});
    Entry& entry = chain.front();
    m_index.emplace(entry.key, &entry);
}

int SettingsStore::getInt(std::string_view key) const {
    return NumberText::toInt(get(key));
}

double SettingsStore::getDecimal(std::string_view key) const {
    return NumberText::toDecimal(get(key));
}

void SettingsStore::setInt(std::string_view key, int value) {
    set(key, NumberText::fromInt(value));
}

bool SettingsStore::load(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = FileText::readAll(path);
    if (!bytes) {
        return false;
    }
    loadBytes(*bytes);
    return true;
}

void SettingsStore::loadBytes(std::string_view bytes) {
    const std::string content = FileText::textOfChunks(bytes);
    std::lock_guard lock(m_lock);
    std::size_t linePosition = 0;
    // An empty line (or the end of the text) ends the reading.
    for (std::string_view line = nextToken(content, "\r\n", linePosition); !line.empty();
         line = nextToken(content, "\r\n", linePosition)) {
        std::size_t fieldPosition = 0;
        const std::string_view key = nextToken(line, "=", fieldPosition);
        const std::string_view value = nextToken(line, "=", fieldPosition);
        if (!key.empty() && !value.empty()) {
            setLocked(key, value);
        }
    }
}

std::string SettingsStore::fileText() const {
    std::string text;
    for (const auto& [key, value] : entries()) {
        text.append(key).append("=").append(value).append("\r\n");
    }
    return text;
}

bool SettingsStore::save(const std::filesystem::path& path) const {
    return FileText::replaceWhole(path, fileText());
}

std::vector<std::pair<std::string, std::string>> SettingsStore::entries() const {
    std::lock_guard lock(m_lock);
    std::vector<std::pair<std::string, std::string>> result;
    result.reserve(m_index.size());
    for (const std::forward_list<Entry>& chain : m_buckets) {
        for (const Entry& entry : chain) {
            result.emplace_back(entry.key, entry.value);
        }
    }
    return result;
}

std::size_t SettingsStore::size() const {
    std::lock_guard lock(m_lock);
    return m_index.size();
}
