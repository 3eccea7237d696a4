#include "settings/NumberText.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <system_error>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipSpace(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && NumberText::isSpace(text[i])) {
        ++i;
    }
    return i;
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return i;
}

// Length of the decimal number at the start of text, 0 when there is none.
std::size_t decimalLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t intStart = i;
    i = skipDigits(text, i);
    std::size_t digits = i - intStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = i + 1;
        const std::size_t fracEnd = skipDigits(text, fracStart);
        digits += fracEnd - fracStart;
        if (digits > 0) {
            i = fracEnd;
        }
    }
    if (digits == 0) {
        return 0;
    }
    // An exponent counts only with at least one digit: "1e" is the number 1 and a text "e".
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const std::size_t expEnd = skipDigits(text, j);
        if (expEnd > j) {
            i = expEnd;
        }
    }
    return i;
}

} // namespace

int NumberText::toInt(std::string_view text) {
    std::size_t i = skipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The magnitude stops growing once it is past the 32-bit range; the digits that follow
    // are still consumed, so a number of any length costs one pass.
    constexpr std::int64_t cap = std::int64_t{INT_MAX} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        if (magnitude < cap) {
            magnitude = magnitude * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        return magnitude >= cap ? INT_MIN : static_cast<int>(-magnitude);
    }
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

double NumberText::toDecimal(std::string_view text) {
    const std::optional<Decimal> number = readDecimal(text.substr(skipSpace(text)));
    return number ? number->value : 0.0;
}

std::optional<NumberText::Decimal> NumberText::readDecimal(std::string_view text) {
    const std::size_t length = decimalLength(text);
    if (length == 0) {
        return std::nullopt;
    }
    // from_chars takes no plus sign and, unlike strtod, ignores the locale.
    const std::size_t start = text[0] == '+' ? 1 : 0;
    const char* first = text.data() + start;
    const char* last = text.data() + length;
    double value = 0.0;
    const std::from_chars_result result =
        std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec != std::errc{} || result.ptr != last) {
        return std::nullopt;
    }
    return Decimal{value, length};
}

std::string NumberText::fromInt(int value) {
    char buffer[16];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string NumberText::fromDecimal(double value) {
    // to_chars with the general format and a precision is printf's "%g" in the C locale.
    char buffer[32];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}
