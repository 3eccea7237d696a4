#include "players/WeightsFile.h"

#include "settings/FileText.h"
#include "settings/NumberText.h"

#include <optional>

void WeightsFile::read(const std::filesystem::path& path, Weights& weights) {
    const std::optional<std::string> bytes = FileText::readAll(path);
    if (bytes) {
        parse(*bytes, weights);
    }
}

bool WeightsFile::write(const std::filesystem::path& path, const Weights& weights) {
    return FileText::replaceWhole(path, text(weights), 0644);
}

std::size_t WeightsFile::parse(std::string_view bytes, Weights& weights) {
    std::size_t position = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        while (position < bytes.size() && NumberText::isSpace(bytes[position])) {
            ++position;
        }
        // "nan", "inf" and a number beyond a double's range fail like any other text, so
        // the engine never starts from a weight that is not a finite number.
        const std::optional<NumberText::Decimal> number =
            NumberText::readDecimal(bytes.substr(position));
        if (!number) {
            return i;
        }
        weights[i] = number->value;
        position += number->length;
    }
    return weights.size();
}

std::string WeightsFile::text(const Weights& weights) {
    std::string content;
    for (const double weight : weights) {
        content += NumberText::fromDecimal(weight) + "\n";
    }
    return content;
}
