#pragma once

// The number of search threads for the SEARCH_THREADS setting: the setting when it is
// positive (at most maxSearchThreads); otherwise (absent, 0 or negative) one fewer than the
// hardware threads, leaving one for the window, and at least one.
inline constexpr int maxSearchThreads = 256;

int searchThreadCount(int setting);
