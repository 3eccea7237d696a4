#include "players/WeightsFile.h"

// Placeholder until the weights file lands.

void WeightsFile::read(const std::filesystem::path&, Weights&) {}

bool WeightsFile::write(const std::filesystem::path&, const Weights&) {
    return false;
}
