#pragma once

// The number of threads a search computes on, from the SEARCH_THREADS setting: 0 (or a
// setting that is missing or below 0) means one per hardware thread, and at least one (the
// window's thread only waits for events while a computer player thinks, so it needs no
// processor of its own); a positive setting is taken as it is, up to maxSearchThreads.
inline constexpr int maxSearchThreads = 64;

int searchThreadCount(int setting);
