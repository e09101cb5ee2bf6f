// The leveled message printer that every operation of the awareness runtime and of the
// plug-in's commands reports through.
//
// A message of level L is formatted only when the log level is at least L (formatting traces
// that nobody reads would cost more than the work they describe), cut to 2047 characters, and
// every "%" of it becomes "#", because the debugger treats the message it is shown as a
// format of its own. It is then shown to the user (messageType 2) when the debug level is at
// least L, and copied to the debugger's log (messageType 4) when L is not negative. Levels: 0
// failures, 4 warnings and evaluation errors, 10 lookup notes, 50 call tracing, 100 and above
// load traces.
#pragma once

#include "awareness/awareness_state.h"
#include "osa/service_context.h"
#include "runtime/format.h"

#include <cstdarg>
#include <cstdint>

inline constexpr int32_t kMessageTypeOutput = 0;  // ordinary command output
inline constexpr int32_t kMessageTypeNotice = 1;  // not-available notices of object display
inline constexpr int32_t kMessageTypeUser = 2;    // errors, usage texts, debug messages
inline constexpr int32_t kMessageTypeLogCopy = 4; // the log copy of debug messages

// True when a message of this level would be formatted at all.
inline bool osa_trace_wanted(const AwarenessState& state, int32_t level) {
  return state.log_level >= level;
}

// ctx may be null (no call in progress): the text is then only kept in the message buffer.
void osa_trace(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t level, const char* format, ...)
    OSA_PRINTF_LIKE(4, 5);
void osa_vtrace(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t level, const char* format,
                std::va_list args);

// An already formatted text through the same rules (used for texts that may hold "%", such as
// parser reports and load traces).
void osa_trace_text(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t level, const char* text);

// Shows text to the user as it stands, with one message of the given type. Texts from the ORTI
// file, the target or the user never become a format.
int32_t osa_display(OSA_ServiceCntx* ctx, int32_t message_type, const std::string& text);
