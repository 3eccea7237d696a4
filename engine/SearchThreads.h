#pragma once

// The number of threads a search computes on, from the SEARCH_THREADS setting: 0 (or a
// setting that is missing or below 0) means one per hardware thread less one, which is left
// for the window, and at least one; a positive setting is taken as it is, up to
// maxSearchThreads.
inline constexpr int maxSearchThreads = 64;

int searchThreadCount(int setting);
