// Benchmark: scanning and parsing generated ORTI files of 1, 10 and 50 MB from a stream, beside
// the machine's limit for the same files: reading the stream in the scanner's blocks, and
// reading it while looking at every byte once (counting lines), which any scanner must do.
// The goal is at least 300 MB/s on every size; the summary after the table gives each rate
// with its goal and how close the parse comes to the plain scan. A thread that parses again
// writes its tree into the blocks its last tree left (the loop of BM_KoilParse, a reload);
// BM_KoilParseFresh gives each parse memory the kernel has to map and zero first, as a
// process's first load of a file has.
#include "bench_summary.h"
#include "orti/parser/koil_lexer.h"
#include "orti/parser/koil_parser.h"
#include "orti/parser/koil_text.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// An ORTI file in the style of a large multi-core configuration: a declaration section, then
// TASK, STACK and ALARM objects until the size is reached.
std::string generate_orti(std::size_t target) {
  std::string text = "/* generated */\nVERSION {\n    KOIL = \"2.2\";\n"
                     "    OSSEMANTICS = \"ORTI\", \"2.2\";\n};\n"
                     "IMPLEMENTATION Bench {\n"
                     "    OS {\n"
                     "        TOTRACE ENUM \"unsigned int\" [\n"
                     "            \"NO_TASK\" = 0, \"T0\" : T0 = 1, \"T1\" : T1 = 0x2\n"
                     "        ] RUNNINGTASK, \"Running Task\";\n"
                     "    }, \"Operating System\";\n"
                     "    TASK {\n"
                     "        CTYPE \"unsigned char\" PRIORITY, \"Priority\";\n"
                     "        ENUM [ \"SUSPENDED\" = 0, \"READY\" = 1, \"RUNNING\" = 3 ] STATE;\n"
                     "        ENUM \"unsigned int *\" [ \"S\" : S0 = \"&stack0\" ] STACK;\n"
                     "    };\n"
                     "    STACK { CTYPE SIZE; CTYPE \"void *\" BASEADDRESS; };\n"
                     "    ALARM { CTYPE \"unsigned long\" ALARMTIME; STRING ACTION; };\n"
                     "};\n"
                     "OS Os { RUNNINGTASK = \"OsRunning\"; };\n";
  text.reserve(target + 512);
  for (std::size_t i = 0; text.size() < target; ++i) {
    const std::string n = std::to_string(i);
    text += "TASK T" + n + " {\n    PRIORITY = \"OsTaskPrio[" + n +
            "]\";\n    STATE = \"OsTaskState[" + n + "]\"; // state\n    STACK = \"&OsStack" + n +
            "[0]\";\n};\n";
    text += "STACK S" + n + " { SIZE = \"1024\"; BASEADDRESS = \"&OsStack" + n + "[0]\"; };\n";
    text += "/* alarm " + n + " */\nALARM A" + n + " { ALARMTIME = \"OsAlarm[" + n +
            "].time\"; ACTION = \"\"; };\n";
  }
  return text;
}

// One temporary file per size, written once.
std::FILE* orti_file(std::size_t megabytes) {
  static std::map<std::size_t, std::FILE*> files;
  std::FILE*& file = files[megabytes];
  if (file == nullptr) {
    const std::string text = generate_orti(megabytes * 1024 * 1024);
    file = std::tmpfile();
    if (file != nullptr) {
      std::fwrite(text.data(), 1, text.size(), file);
      std::fflush(file);
    }
  }
  return file;
}

template <bool kFresh> void parse_file(benchmark::State& state) {
  std::FILE* file = orti_file(static_cast<std::size_t>(state.range(0)));
  if (file == nullptr) {
    state.SkipWithError("no temporary file");
    return;
  }
  std::fseek(file, 0, SEEK_END);
  const long bytes = std::ftell(file);
  int errors = 0;
  KoilReports reports;
  reports.user = &errors;
  reports.error = [](void* user, const char*, int32_t, const char*) { ++*static_cast<int*>(user); };
  for (auto _ : state) {
    if (kFresh) {
      state.PauseTiming();
      koil_release_spare_blocks();
      bench::release_free_memory();
      state.ResumeTiming();
    }
    std::rewind(file);
    OrtiParseTree tree;
    KoilParseSettings settings;
    const int result = koil_parse(file, tree, settings, reports);
    if (result != 0 || errors != 0) {
      state.SkipWithError("generated file rejected");
      return;
    }
    benchmark::DoNotOptimize(tree.definitions.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}
void BM_KoilParse(benchmark::State& state) {
  parse_file<false>(state);
}
void BM_KoilParseFresh(benchmark::State& state) {
  parse_file<true>(state);
}
BENCHMARK(BM_KoilParseFresh)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KoilParse)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

// Reads the whole stream in the scanner's blocks; visit sees each block.
template <class Visit> bool read_blocks(std::FILE* file, Visit&& visit) {
  std::rewind(file);
  std::vector<char> block(kKoilReadBlock);
  for (;;) {
    const std::size_t n = std::fread(block.data(), 1, block.size(), file);
    if (n == 0) {
      return std::feof(file) != 0;
    }
    visit(block.data(), n);
  }
}

void BM_ReadFile(benchmark::State& state) {
  std::FILE* file = orti_file(static_cast<std::size_t>(state.range(0)));
  if (file == nullptr) {
    state.SkipWithError("no temporary file");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    if (!read_blocks(file, [&](const char* data, std::size_t n) {
          benchmark::DoNotOptimize(data);
          bytes += n;
        })) {
      state.SkipWithError("read failed");
      return;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ReadFile)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void BM_ByteScan(benchmark::State& state) {
  std::FILE* file = orti_file(static_cast<std::size_t>(state.range(0)));
  if (file == nullptr) {
    state.SkipWithError("no temporary file");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    uint64_t lines = 1;
    if (!read_blocks(file, [&](const char* data, std::size_t n) {
          for (std::size_t i = 0; i < n; ++i) {
            lines += data[i] == '\n' ? 1 : 0;
          }
          bytes += n;
        })) {
      state.SkipWithError("read failed");
      return;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_ByteScan)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

void print_summary(const bench::SummaryReporter& reporter) {
  constexpr double kGoal = 300.0;
  std::printf("\nKOIL parsing from a stream, MB/s of CPU time (MB = 2^20 bytes; goal: at least "
              "%.0f on every size)\n",
              kGoal);
  for (int megabytes : {1, 10, 50}) {
    const std::string size = "/" + std::to_string(megabytes);
    std::FILE* file = orti_file(static_cast<std::size_t>(megabytes));
    if (file == nullptr || std::fseek(file, 0, SEEK_END) != 0) {
      continue;
    }
    const double mb = static_cast<double>(std::ftell(file)) / bench::kMegabyte;
    const auto rate = [&](const char* name) {
      const double seconds = reporter.seconds(name + size);
      return seconds > 0 ? mb / seconds : 0.0;
    };
    const double parse = rate("BM_KoilParse");
    const double fresh = rate("BM_KoilParseFresh");
    const double read = rate("BM_ReadFile");
    const double scan = rate("BM_ByteScan");
    if (parse <= 0) {
      continue;
    }
    std::printf("  %2d MB: parse %6.0f MB/s (%s); limit: read %6.0f MB/s, read and scan %6.0f "
                "MB/s; the parse runs at %.0f%% of the scan\n",
                megabytes, parse, parse >= kGoal ? "goal met" : "below the goal", read, scan,
                scan > 0 ? 100.0 * parse / scan : 0.0);
    if (fresh > 0) {
      std::printf("         first parse, into fresh memory: %6.0f MB/s (%s)\n", fresh,
                  fresh >= kGoal ? "goal met" : "below the goal");
    }
  }
}

} // namespace

int main(int argc, char** argv) {
  bench::SummaryReporter reporter;
  bench::run_benchmarks(&argc, argv, reporter);
  print_summary(reporter);
  return 0;
}
