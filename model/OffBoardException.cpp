#include "model/OffBoardException.h"

namespace Hex {

OffBoardException::OffBoardException(const std::string& where, std::int32_t row, std::int32_t col,
                                     std::int32_t size)
    : Exception(std::string()) {
    setMessage("Out of bounds exception in " + where + ".  Board size is " + std::to_string(size) +
               ".  Input was (" + std::to_string(row) + ", " + std::to_string(col) + ")");
}

} // namespace Hex
