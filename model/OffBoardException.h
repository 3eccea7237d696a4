#pragma once

#include "model/Exception.h"

#include <cstdint>
#include <string>

namespace Hex {

// A cell operation was given a coordinate off the board.
class OffBoardException : public Exception {
public:
    OffBoardException(const std::string& where, std::int32_t row, std::int32_t col,
                      std::int32_t size);
};

} // namespace Hex
