// Any bytes as a weights file: the weights read are finite, the others keep their
// defaults, and writing and reading them again changes nothing.
#include "FuzzCheck.h"

#include "players/WeightsFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Weights weights = defaultWeights;
    const std::size_t count = WeightsFile::parse(bytes, weights);
    FUZZ_CHECK(count <= weights.size());
    for (std::size_t i = 0; i < weights.size(); ++i) {
        FUZZ_CHECK(std::isfinite(weights[i]));
        FUZZ_CHECK(i < count || weights[i] == defaultWeights[i]);
    }
    const std::string written = WeightsFile::text(weights);
    Weights reread = defaultWeights;
    FUZZ_CHECK(WeightsFile::parse(written, reread) == weights.size());
    FUZZ_CHECK(WeightsFile::text(reread) == written);
    return 0;
}
