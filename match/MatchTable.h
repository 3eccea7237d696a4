#pragma once

#include "match/Match.h"

#include <iosfwd>

// The closing table of a match between two engines: per engine its games, wins (as Black and
// as White), win rate with its 95% confidence interval, and average and longest think time;
// the wins of each colour; and a note for every forfeited game.
class MatchTable {
public:
    struct Interval {
        double low = 0.0;
        double high = 0.0;
    };

    // The Wilson score interval of a win rate at 95% confidence; [0, 1] without games.
    static Interval winRateInterval(int wins, int games);

    static void print(const Match::Summary& summary, std::ostream& out);
};
