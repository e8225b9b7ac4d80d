// Outcomes the player would otherwise miss (a file saved, nothing saved, a load refused): each is
// logged as every outcome is, and its very line is also handed to the caller's sink, which the
// game shows on screen. Lower layers take the sink as an argument, so they never learn who shows
// it; an empty sink logs only.
#pragma once
#include <functional>

using NoticeSink = std::function<void(const char* line)>;  // the line without stamp or line feed

// Logs the formatted line and hands it to sink when there is one.
void Notice(const NoticeSink& sink, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Hands the formatted line to sink only: an outcome the log keeps silent about, or has told
// already in its own words.
void Tell(const NoticeSink& sink, const char* format, ...) __attribute__((format(printf, 2, 3)));
