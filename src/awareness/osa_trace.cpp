// Leveled messages through the debugger's message display.
#include "awareness/osa_trace.h"

#include "osa/service_requests.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

int32_t osa_display(OSA_ServiceCntx* ctx, int32_t message_type, const std::string& text) {
  if (ctx == nullptr) {
    return 1;
  }
  return osa_message_display_text(ctx, message_type, text.c_str());
}

namespace {

// Cuts, neutralizes and shows a message this call owns: a formatted trace is made once and
// shown from that text, not copied again.
void show_trace(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t level, std::string message) {
  if (message.size() > kTextLimit) {
    message.resize(kTextLimit);
  }
  std::replace(message.begin(), message.end(), '%', '#');
  state.message_buffer = message;
  // Both displays get this call's own text: a nested call that prints while the first display
  // waits replaces the message buffer, not what this call shows.
  if (state.debug_level >= level) {
    osa_display(ctx, kMessageTypeUser, message);
  }
  if (level >= 0) {
    osa_display(ctx, kMessageTypeLogCopy, message);
  }
}

} // namespace

void osa_trace_text(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t level, const char* text) {
  if (!osa_trace_wanted(state, level)) {
    return;
  }
  show_trace(state, ctx, level, std::string(text != nullptr ? text : "(null)"));
}

void osa_vtrace(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t level, const char* format,
                std::va_list args) {
  if (!osa_trace_wanted(state, level)) {
    return;
  }
  std::string text = vformat(format, args);
  // A message ends at its first NUL, as the text handed to osa_trace_text does.
  text.resize(std::strlen(text.c_str()));
  show_trace(state, ctx, level, std::move(text));
}

void osa_trace(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t level, const char* format,
               ...) {
  if (!osa_trace_wanted(state, level)) {
    return;
  }
  std::va_list args;
  va_start(args, format);
  osa_vtrace(state, ctx, level, format, args);
  va_end(args);
}
