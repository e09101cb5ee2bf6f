// The event log's storage: a bounded in-memory history of text and interval events.
//
// Choices of this implementation:
// - History: kept per calling thread in a byte-bounded queue of event lines; when a new event
//   does not fit, the oldest events are dropped first. Default size 1 MiB (1048576 bytes). An
//   event larger than the whole history keeps only its first bytes; size 0 records nothing.
// - Event line: "<seconds since the first event, 6 decimals> <category> <text>\n". Interval
//   events write "begin[<depth>] <label>" and "end[<depth>] <microseconds> us" as their text.
// - Dump file: "osa_plugin_history_<n>.log" in the given directory (created when missing),
//   n the smallest number from 1 whose file does not exist yet; an existing file is never
//   overwritten. The history stays in memory after a dump.
#include "host_link/log_facility.h"

#include "runtime/platform.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kDefaultHistoryBytes = 1u << 20;
constexpr std::size_t kFirstBufferBytes = 128;
constexpr std::size_t kMaxTextChars = 16384;
constexpr unsigned kMaxDumpNames = 100000;

using Clock = std::chrono::steady_clock;

struct LogHistory {
  std::size_t capacity = kDefaultHistoryBytes;
  std::size_t used = 0;
  std::deque<std::string> events;
  bool started = false;
  Clock::time_point origin;
  // Begin times of the open intervals of each category, innermost last.
  std::map<const LogIntervalCategory*, std::vector<Clock::time_point>> open_intervals;
};

// The one place where the log keeps its state.
LogHistory& history() {
  thread_local LogHistory state;
  return state;
}

// Keeps errno as the caller left it, whatever the log does meanwhile.
struct ErrnoKeeper {
  int saved = errno;
  ~ErrnoKeeper() { errno = saved; }
};

void trim_to_capacity(LogHistory& h) {
  while (h.used > h.capacity && !h.events.empty()) {
    h.used -= h.events.front().size();
    h.events.pop_front();
  }
}

void record_event(const char* category, const std::string& text) {
  LogHistory& h = history();
  const Clock::time_point now = Clock::now();
  if (!h.started) {
    h.started = true;
    h.origin = now;
  }
  if (h.capacity == 0) {
    return;
  }
  const double seconds = std::chrono::duration<double>(now - h.origin).count();
  std::string line = format("%.6f ", seconds);
  line += category != nullptr ? category : "(null)";
  line += ' ';
  line += text;
  line += '\n';
  if (line.size() > h.capacity) {
    line.resize(h.capacity);
  }
  h.used += line.size();
  h.events.push_back(std::move(line));
  trim_to_capacity(h);
}

// printf into a small buffer first; only texts that do not fit are formatted again into an
// allocated one, and those are cut at kMaxTextChars characters.
std::string format_event_text(const char* format_text, std::va_list args) {
  if (format_text == nullptr) {
    return "(null)";
  }
  const std::string fmt = std::strstr(format_text, "%I64") != nullptr ? portable_format(format_text)
                                                                      : std::string(format_text);
  char small[kFirstBufferBytes];
  std::va_list first;
  va_copy(first, args);
  const int needed = std::vsnprintf(small, sizeof small, fmt.c_str(), first);
  va_end(first);
  if (needed < 0) {
    return std::string();
  }
  if (static_cast<std::size_t>(needed) < sizeof small) {
    return std::string(small, static_cast<std::size_t>(needed));
  }
  const std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(needed), kMaxTextChars);
  std::unique_ptr<char[]> big(new char[length + 1]);
  std::va_list second;
  va_copy(second, args);
  std::vsnprintf(big.get(), length + 1, fmt.c_str(), second);
  va_end(second);
  return std::string(big.get(), length);
}

} // namespace

void log_text(const char* category, const char* text) {
  ErrnoKeeper keep;
  std::string body = text != nullptr ? std::string(text) : std::string("(null)");
  if (body.size() > kMaxTextChars) {
    body.resize(kMaxTextChars);
  }
  record_event(category, body);
}

void log_formatted(const char* category, const char* format_text, ...) {
  ErrnoKeeper keep;
  std::va_list args;
  va_start(args, format_text);
  const std::string body = format_event_text(format_text, args);
  va_end(args);
  record_event(category, body);
}

void log_interval_begin(LogIntervalCategory& category, const char* format_text, ...) {
  ErrnoKeeper keep;
  std::va_list args;
  va_start(args, format_text);
  const std::string label = format_event_text(format_text, args);
  va_end(args);
  ++category.depth;
  history().open_intervals[&category].push_back(Clock::now());
  record_event(category.name, format("begin[%u] ", category.depth) + label);
}

void log_interval_end(LogIntervalCategory& category) {
  ErrnoKeeper keep;
  if (category.depth == 0) {
    return;
  }
  long long micros = 0;
  auto& open = history().open_intervals[&category];
  if (!open.empty()) {
    micros =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - open.back()).count();
    open.pop_back();
  }
  record_event(category.name, format("end[%u] %lld us", category.depth, micros));
  --category.depth;
}

void log_dump_history(const char* directory) {
  ErrnoKeeper keep;
  if (directory == nullptr) {
    return;
  }
  const std::string dir(directory);
  if (!dir.empty() && !platform_make_directories(dir)) {
    return;
  }
  for (unsigned n = 1; n <= kMaxDumpNames; ++n) {
    const std::string path = platform_join_path(dir, format("osa_plugin_history_%u.log", n));
    // "x": fails when the file exists, so an earlier dump is never overwritten.
    std::FILE* file = platform_fopen(path, "wbx");
    if (file == nullptr) {
      if (errno == EEXIST) {
        continue;
      }
      return;
    }
    for (const std::string& event : history().events) {
      std::fwrite(event.data(), 1, event.size(), file);
    }
    std::fclose(file);
    return;
  }
}

void log_set_history_size(std::size_t bytes) {
  ErrnoKeeper keep;
  LogHistory& h = history();
  h.capacity = bytes;
  trim_to_capacity(h);
}

std::string log_history_text() {
  ErrnoKeeper keep;
  std::string all;
  for (const std::string& event : history().events) {
    all += event;
  }
  return all;
}

void log_reset_for_tests() {
  ErrnoKeeper keep;
  history() = LogHistory();
}
