#include "match/MatchTable.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <ostream>
#include <string>

namespace {

std::string percent(double rate) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", 100.0 * rate);
    return text;
}

std::string fraction(int part, int whole) {
    return std::to_string(part) + "/" + std::to_string(whole);
}

std::string row(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string row(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

} // namespace

MatchTable::Interval MatchTable::winRateInterval(int wins, int games) {
    if (games <= 0) {
        return {0.0, 1.0};
    }
    const double z = 1.959963984540054; // the 97.5% point of the normal distribution
    const double n = games;
    const double rate = wins / n;
    const double z2 = z * z;
    const double centre = (rate + z2 / (2.0 * n)) / (1.0 + z2 / n);
    const double half =
        z * std::sqrt(rate * (1.0 - rate) / n + z2 / (4.0 * n * n)) / (1.0 + z2 / n);
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

void MatchTable::print(const Match::Summary& summary, std::ostream& out) {
    out << "games " << summary.played << (summary.interrupted ? " (interrupted)" : "") << '\n';
    out << row("%-7s %-24s %5s %5s %8s %8s %8s  %-17s %9s %9s\n", "engine", "name", "games", "wins",
               "as Black", "as White", "win rate", "95% interval", "avg think", "longest");
    for (int engine = 0; engine < 2; ++engine) {
        const Match::EngineStats& stats = summary.engines[static_cast<std::size_t>(engine)];
        const Interval interval = winRateInterval(stats.wins, stats.games);
        const double rate = stats.games > 0 ? static_cast<double>(stats.wins) / stats.games : 0.0;
        const double average = stats.moves > 0 ? stats.thinkSeconds / stats.moves : 0.0;
        const std::string range = percent(interval.low) + " to " + percent(interval.high);
        out << row(
            "%-7s %-24.24s %5d %5d %8s %8s %8s  %-17s %7.2f s %7.2f s\n", engine == 0 ? "A" : "B",
            stats.name.c_str(), stats.games, stats.wins,
            fraction(stats.winsAsBlack, stats.gamesAsBlack).c_str(),
            fraction(stats.wins - stats.winsAsBlack, stats.games - stats.gamesAsBlack).c_str(),
            percent(rate).c_str(), range.c_str(), average, stats.longestSeconds);
    }
    out << "Black won " << summary.blackWins << ", White won " << summary.played - summary.blackWins
        << '\n';
    const Match::EngineStats& a = summary.engines[0];
    const Match::EngineStats& b = summary.engines[1];
    if (a.resignations + b.resignations + a.forfeits + b.forfeits > 0) {
        out << "lost by resignation: A " << a.resignations << ", B " << b.resignations
            << "; by forfeit (crash, time-out, illegal answer): A " << a.forfeits << ", B "
            << b.forfeits << '\n';
    }
    for (const std::string& note : summary.notes) {
        out << note << '\n';
    }
}
