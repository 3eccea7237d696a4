#pragma once

#include <QString>

#include <optional>

// Readers of the decimal numbers that the dialogs' fields and the settings hold. Numbers too
// large for the result type come back as the nearest value that fits, so that a range check
// refuses them instead of a wrapped value slipping through.

// A whole field as an unsigned decimal: optional blanks around digits only.
std::optional<unsigned> readUnsigned(const QString& text);

// A whole field as a signed decimal: optional blanks around an optional sign and digits.
std::optional<int> readSigned(const QString& text);

// The integer at the start of a stored text: leading blanks, an optional sign, then digits up
// to the first other character; 0 when there are no digits.
int readLenientInt(const QString& text);
