// What the benchmark programs share: a reporter that keeps each run's CPU time per iteration,
// so that a program can print its figures beside their goals after the table, and the
// process's resident memory as the kernel counts it.
//
// CPU time rather than wall time: benchmarks run on machines shared with builds, where wall
// time mostly measures the wait for a processor.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace bench {

// MB in the figures: 2^20 bytes, as the benchmark table prints its rates.
inline constexpr double kMegabyte = 1024.0 * 1024.0;

class SummaryReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations <= 0) {
        continue;
      }
      const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
      // With repetitions the fastest one counts: the others lost time to the machine.
      auto [it, inserted] = seconds_.try_emplace(run.run_name.str(), seconds);
      if (!inserted && seconds < it->second) {
        it->second = seconds;
      }
    }
  }

  // CPU seconds per iteration of the named run ("BM_KoilParse/10"), or 0 when it did not run.
  double seconds(const std::string& name) const {
    auto it = seconds_.find(name);
    return it != seconds_.end() ? it->second : 0.0;
  }

private:
  std::map<std::string, double> seconds_;
};

// Runs the benchmarks the command line selects through the reporter.
inline void run_benchmarks(int* argc, char** argv, SummaryReporter& reporter) {
  benchmark::Initialize(argc, argv);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"), or 0 where there is none.
inline uint64_t status_bytes(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) {
    return 0;
  }
  char line[256];
  uint64_t kilobytes = 0;
  const std::size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
      kilobytes = std::strtoull(line + length + 1, nullptr, 10);
      break;
    }
  }
  std::fclose(status);
  return kilobytes * 1024;
}

// Starts a new peak: the kernel's high-water mark of resident memory drops to what is resident
// now. False where the kernel does not offer it.
inline bool reset_peak_resident() {
  std::FILE* refs = std::fopen("/proc/self/clear_refs", "w");
  if (refs == nullptr) {
    return false;
  }
  const bool written = std::fputs("5", refs) >= 0;
  return std::fclose(refs) == 0 && written;
}

// Gives the heap's free memory back to the system, so that what stays resident is what the
// process still uses (the C library keeps freed large blocks once it has seen a few).
inline void release_free_memory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

} // namespace bench
