// Any bytes as a settings file, read over the defaults: the store then writes a file that
// reads back into a fresh store as the same entries.
#include "FuzzCheck.h"

#include "settings/SettingsDefaults.h"
#include "settings/SettingsStore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SettingsStore store;
    SettingsDefaults::apply(store);
    store.loadBytes(bytes);
    for (const auto& setting : SettingsDefaults::all()) {
        FUZZ_CHECK(!store.get(setting.key).empty());
    }
    SettingsStore reread;
    reread.loadBytes(store.fileText());
    auto entries = store.entries();
    auto rereadEntries = reread.entries();
    std::sort(entries.begin(), entries.end());
    std::sort(rereadEntries.begin(), rereadEntries.end());
    FUZZ_CHECK(entries == rereadEntries);
    return 0;
}
