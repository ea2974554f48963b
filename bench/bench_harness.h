#pragma once
// The benchmarks' common timing: microseconds from the performance counter on Windows (the
// clock a host's own timing uses) and from steady_clock elsewhere, the median and p90 of the
// samples, and one machine-readable line per figure for scripts/bench.sh.
#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline double now_us() {
#ifdef _WIN32
  static const double per_us = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1e6;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / per_us;
#else
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
#endif
}

class Samples {
 public:
  void add(double us) { us_.push_back(us); }
  size_t count() const { return us_.size(); }
  // Nearest-rank percentile, so every value printed is one that was measured.
  double percentile(double p) const {
    if (us_.empty()) return 0;
    std::vector<double> sorted = us_;
    std::sort(sorted.begin(), sorted.end());
    size_t rank = static_cast<size_t>(p / 100.0 * static_cast<double>(sorted.size()) + 0.999999);
    rank = std::clamp<size_t>(rank, 1, sorted.size());
    return sorted[rank - 1];
  }
  double median() const { return percentile(50); }
  double p90() const { return percentile(90); }

 private:
  std::vector<double> us_;
};

// Times `runs` calls of `step` after `warmup` untimed ones.
template <typename F>
Samples time_runs(int runs, int warmup, F&& step) {
  for (int i = 0; i < warmup; ++i) step();
  Samples samples;
  for (int i = 0; i < runs; ++i) {
    const double start = now_us();
    step();
    samples.add(now_us() - start);
  }
  return samples;
}

// What a figure is held to; a field left at its default does not apply.
struct Goal {
  double max_us = -1;      // at most this many microseconds
  double max_ratio = -1;   // at most this many times the baseline
  double max_extra_us = -1;  // at most this many microseconds beyond the baseline
  std::string text = "-";  // as the table shows it
};

// One line per figure, '|'-separated so names may hold spaces:
//   BENCH|figure|median_us|p90_us|runs|baseline name|baseline median_us|max_us|max_ratio|max_extra_us|goal text
// A figure without a baseline prints "-" for both baseline fields.
inline void report(const std::string& figure, const Samples& samples,
                   const std::string& baseline_name, const Samples* baseline, const Goal& goal) {
  char base[32] = "-";
  if (baseline) std::snprintf(base, sizeof base, "%.2f", baseline->median());
  std::printf("BENCH|%s|%.2f|%.2f|%zu|%s|%s|%g|%g|%g|%s\n", figure.c_str(), samples.median(),
              samples.p90(), samples.count(), baseline ? baseline_name.c_str() : "-", base,
              goal.max_us, goal.max_ratio, goal.max_extra_us, goal.text.c_str());
  std::fflush(stdout);
}

// A figure measured but not held to anything (an aid to read the others).
inline void report_plain(const std::string& figure, const Samples& samples) {
  report(figure, samples, "", nullptr, Goal{});
}

}  // namespace bench
