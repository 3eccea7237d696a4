#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The number conversions that every reader and writer of the program's text files shares:
// the settings store's values, the game record's lines and the weights file.
//
// The readers are lenient: they take the longest number at the start of a text and ignore
// what follows. They never depend on the process's locale (the desktop program sets one),
// and they take any bytes at all in time linear in their length.
class NumberText {
public:
    // The white space that the lenient readers skip: blank, tab, line feed, vertical tab,
    // form feed and carriage return.
    static bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

    // The leading integer of text: white space skipped, an optional sign, then digits up to
    // the first other character; no digits gives 0. A value beyond the 32-bit range gives
    // the nearest of INT_MIN and INT_MAX, so that no huge number wraps into a small one.
    static int toInt(std::string_view text);

    // The leading decimal number of text, white space skipped (see readDecimal); no number
    // gives 0.0.
    static double toDecimal(std::string_view text);

    struct Decimal {
        double value = 0.0;
        std::size_t length = 0; // bytes of text that form the number
    };
    // The longest decimal number at the very start of text: an optional sign, digits with an
    // optional decimal point (at least one digit), and an optional exponent: e or E, an
    // optional sign and at least one digit. Texts such as "nan", "inf" and "0x1p3" are not
    // decimal numbers (the last reads as 0). nullopt when there is no number, or when its
    // value lies beyond the range of a double (too large, or too small to be told from 0),
    // so that no reader ever takes an infinite or silently flushed value.
    static std::optional<Decimal> readDecimal(std::string_view text);

    // "%d".
    static std::string fromInt(int value);

    // "%g": six significant digits, fixed notation for decimal exponents -4 to 5, otherwise
    // the exponent form with at least two exponent digits; trailing zeros dropped.
    static std::string fromDecimal(double value);
};
