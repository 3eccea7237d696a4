#pragma once

#include <iosfwd>

// The progress bar the command-line tool draws on the error stream while it works through
// a series: "[#########.....................] 9/30", redrawn in place.
//
// Thread contract: none; one thread draws.
class ProgressBar {
public:
    ProgressBar(std::ostream& out, int total);

    // Draws the bar at `done` of the total; the caller ends the line when the series ends.
    void show(int done);

private:
    static constexpr int width = 30;

    std::ostream& m_out;
    int m_total;
};
