#include "ui/DecimalText.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

struct Digits {
    bool negative = false;
    int count = 0;
    std::uint64_t magnitude = 0; // saturates above every 32-bit value
    qsizetype end = 0;           // index after the last digit
};

bool isBlank(QChar ch) {
    return ch == u' ' || ch == u'\t';
}

qsizetype skipBlanks(const QString& text, qsizetype i) {
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    return i;
}

// Reads [sign] digits from index i on; a sign is taken only when allowed.
Digits readDigits(const QString& text, qsizetype i, bool signAllowed) {
    Digits result;
    if (signAllowed && i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        result.negative = text[i] == u'-';
        ++i;
    }
    constexpr std::uint64_t ceiling = std::uint64_t{1} << 40;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        const auto digit = static_cast<std::uint64_t>(text[i].unicode() - u'0');
        result.magnitude = std::min(ceiling, result.magnitude * 10 + digit);
        ++result.count;
        ++i;
    }
    result.end = i;
    return result;
}

int clampedSigned(const Digits& digits) {
    const auto value = static_cast<std::int64_t>(digits.magnitude);
    const std::int64_t signedValue = digits.negative ? -value : value;
    if (signedValue > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (signedValue < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(signedValue);
}

bool onlyBlanksFrom(const QString& text, qsizetype i) {
    return skipBlanks(text, i) == text.size();
}

} // namespace

std::optional<unsigned> readUnsigned(const QString& text) {
    const Digits digits = readDigits(text, skipBlanks(text, 0), false);
    if (digits.count == 0 || !onlyBlanksFrom(text, digits.end)) {
        return std::nullopt;
    }
    if (digits.magnitude > std::numeric_limits<unsigned>::max()) {
        return std::numeric_limits<unsigned>::max();
    }
    return static_cast<unsigned>(digits.magnitude);
}

std::optional<int> readSigned(const QString& text) {
    const Digits digits = readDigits(text, skipBlanks(text, 0), true);
    if (digits.count == 0 || !onlyBlanksFrom(text, digits.end)) {
        return std::nullopt;
    }
    return clampedSigned(digits);
}

int readLenientInt(const QString& text) {
    return clampedSigned(readDigits(text, skipBlanks(text, 0), true));
}
