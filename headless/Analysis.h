#pragma once

#include "engine/Weights.h"
#include "headless/BoardPosition.h"

#include <nlohmann/json.hpp>

// Everything the engine sees in one position, as one JSON object whose keys keep this
// order: "size", "board", "to_move", "last_move", "winner", "winning_path", "weights",
// "cost", "features", "paths", "value", "intersection_move", "candidates". Maps of both
// sides are keyed "1" (Player 1, joining the rows) and "2" (Player 2, joining the columns).
// Doubles are written so that they read back exactly.
nlohmann::ordered_json analyzePosition(const BoardPosition& position, const Weights& weights);
