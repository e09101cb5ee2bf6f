// Load traces of the object model: what the model builder found while it turned a parse tree
// into a model, at level 100 plus a detail number.
//
// The plug-in's loader installs a hook that routes them to its leveled messages; a program
// that loads a file on its own installs its own. Without a hook every trace goes to standard
// error. The hook states the highest level it wants, so that a load with tracing off formats
// nothing: lookups run once per attribute of every object, and formatting traces that nobody
// reads would dominate the load time.
#pragma once

#include "runtime/format.h"

#include <cstdint>

inline constexpr int32_t kLoadTraceBaseLevel = 100;

using LoadTraceHook = void (*)(void* user, int32_t level, const char* text);

// Routes every trace whose level (100 + detail) is at most max_level to hook. A null hook
// restores the default (standard error, every level).
void set_load_trace_hook(LoadTraceHook hook, void* user, int32_t max_level);
void reset_load_trace_hook();

// True when a trace of this detail would reach anybody.
bool load_trace_wanted(int32_t detail);

void load_trace(int32_t detail, const char* format, ...) OSA_PRINTF_LIKE(2, 3);

// "(null)" for an absent text: traces and messages print absent texts that way.
inline const char* text_or_null(const char* text) {
  return text != nullptr ? text : "(null)";
}
