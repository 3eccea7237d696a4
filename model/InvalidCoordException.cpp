#include "model/InvalidCoordException.h"

namespace Hex {

InvalidCoordException::InvalidCoordException(std::int32_t row, std::int32_t col, std::int32_t size,
                                             const std::string& reason)
    : Exception(std::string()) {
    setMessage("Invalid coord of (" + std::to_string(row) + ", " + std::to_string(col) +
               ") on a board of size " + std::to_string(size) + ".  " + reason);
}

} // namespace Hex
