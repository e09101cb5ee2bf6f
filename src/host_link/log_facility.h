// The event log: what the plug-in read from and wrote to the debugger, why it exited, and how
// long every request to the debugger took.
//
// Nothing in the plug-in reads events back; the debugger can ask for the history to be
// dumped into a file. Logging never fails towards its caller and never changes errno.
#pragma once

#include "runtime/format.h"

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr const char* kLogInfo = "OSA__Info";
inline constexpr const char* kLogJsonRead = "OSA__JSON__Read";
inline constexpr const char* kLogJsonWrite = "OSA__JSON__Write";

// One static record per interval category; intervals nest, the depth says how deeply.
struct LogIntervalCategory {
  const char* name;
  uint32_t depth = 0;
};

void log_text(const char* category, const char* text);
// A null format is logged as "(null)". Texts longer than 16384 characters are cut.
void log_formatted(const char* category, const char* format, ...) OSA_PRINTF_LIKE(2, 3);
void log_interval_begin(LogIntervalCategory& category, const char* format, ...)
    OSA_PRINTF_LIKE(2, 3);
void log_interval_end(LogIntervalCategory& category);
// Writes the recorded events into a new file in directory.
void log_dump_history(const char* directory);
// Sets the size, in bytes, of the buffer that keeps the recorded events.
void log_set_history_size(std::size_t bytes);

// The calling thread's recorded events as one text, oldest first (what a dump would write).
std::string log_history_text();
// Forgets every event and open interval and restores the default history size.
void log_reset_for_tests();
