// The worst and the mean of timed runs, in milliseconds.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdint>

struct Timings {
  double worst = 0, total = 0;
  int64_t runs = 0;
  // Runs work once and counts its time; returns that time.
  template <typename Work>
  double time(Work work) {
    const auto begin = std::chrono::steady_clock::now();
    work();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    worst = std::max(worst, ms);
    total += ms;
    runs += 1;
    return ms;
  }
  double mean() const { return total / double(std::max<int64_t>(runs, 1)); }
};
