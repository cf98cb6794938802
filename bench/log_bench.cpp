// Log benchmark: the caller's cost of one log call (median, 99th percentile) with
// 4 threads x 100,000 lines, and the writer's throughput to disk. Checks afterwards that
// no line was lost or reordered within a thread. Run by hand under Wine (bench/README.md).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "minilib/HeapTuning.h"
#include "minilib/Log.h"
#include "minilib/Logger.h"

namespace {

int kThreads = 4;
constexpr int kLinesPerThread = 100000;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) kThreads = std::max(1, std::atoi(argv[1]));
  minilib::EnableLowFragmentationHeaps();  // as the program does at start
  minilib::Logger& logger = minilib::Logger::Instance();
  std::vector<std::vector<float>> costs(kThreads);
  double start = Now();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &costs] {
      std::vector<float>& mine = costs[t];
      mine.reserve(kLinesPerThread);
      for (int i = 0; i < kLinesPerThread; ++i) {
        double before = Now();
        MLOG_INFO("Bench") << "thread " << t << " line " << i << " some text of a usual length";
        mine.push_back(static_cast<float>((Now() - before) * 1e6));
      }
    });
  }
  for (auto& th : threads) th.join();
  double committed = Now();
  logger.Stop(120000);
  double written = Now();

  std::vector<float> all;
  for (auto& c : costs) all.insert(all.end(), c.begin(), c.end());
  std::sort(all.begin(), all.end());
  const double median = all[all.size() / 2];
  const double p99 = all[all.size() * 99 / 100];
  const double lines = static_cast<double>(kThreads) * kLinesPerThread;

  // Verify: every thread's lines present once, in order (the file may have rotated once).
  std::stringstream text;
  for (const std::wstring& path : {logger.Path() + L".bak", logger.Path()}) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (in) text << in.rdbuf();
  }
  std::string line;
  // A rotation at the end may have replaced the first .bak: each thread's kept lines must
  // then still be one unbroken run.
  std::vector<int> next(kThreads, -1);
  long long bad = 0, seen = 0;
  while (std::getline(text, line)) {
    size_t at = line.find("] thread ");
    if (at == std::string::npos) continue;
    int t = -1, i = -1;
    if (std::sscanf(line.c_str() + at, "] thread %d line %d", &t, &i) != 2 || t < 0 || t >= kThreads) continue;
    ++seen;
    if (next[t] >= 0 && i != next[t]) ++bad;
    next[t] = i + 1;
  }
  std::printf("log calls: %d threads x %d lines\n", kThreads, kLinesPerThread);
  std::printf("caller cost: median %.2f us, p99 %.2f us\n", median, p99);
  std::printf("commit phase: %.3f s; all lines on disk after %.3f s: %.0f lines/s written\n", committed - start,
              written - start, lines / (written - start));
  std::printf("lines kept (current file and .bak): %lld of %.0f; gaps or reordering within a thread: %lld\n", seen,
              lines, bad);
  return bad == 0 ? 0 : 1;
}
