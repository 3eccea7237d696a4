#pragma once

#include "model/Exception.h"

#include <cstdint>
#include <string>

namespace Hex {

// A player named a cell that already holds a stone.
class InvalidCoordException : public Exception {
public:
    InvalidCoordException(std::int32_t row, std::int32_t col, std::int32_t size,
                          const std::string& reason);
};

} // namespace Hex
