// Feeds arbitrary text to the playback line reader, line by line, asking for the two tags in
// turn with and without the line being required, and checks what every accepted line yields.
// Then plays the text back as a whole recording, with and without errors ignored, through a
// dispatcher whose one method asks the recorded debugger a question (so the playback
// transport runs too), and checks the result code.
#include "host_link/playback.h"

#include "host_link/jsonrpc.h"
#include "host_link/process_flags.h"
#include "host_link/simple_json/json_value.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

void check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

// Levels of "ask" inside "ask" beyond which the handler asks nothing more: a long input would
// otherwise nest deeper than the fuzzer's stack allows.
constexpr int kMaxAskNesting = 64;
int ask_nesting = 0;

// Asks the debugger as many questions as "params" holds in "n" (at most 3), nesting when the
// recording answers with another "ask" request first.
JsonPtr ask_handler(const JsonValue* params) {
  int64_t n = 1;
  if (params != nullptr) {
    json_object_get_integer(params, "n", &n);
  }
  int failed = 0;
  ++ask_nesting;
  for (int64_t i = 0; i < n && i < 3 && ask_nesting <= kMaxAskNesting; ++i) {
    JsonPtr result;
    failed += JrSendRequest(jr_service(), "OSA_Service_Q", json_new_object(), &result) ? 0 : 1;
  }
  --ask_nesting;
  JsonPtr answer = json_new_object();
  json_object_add_integer(answer.get(), "return", failed);
  return answer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  PlaybackState& state = playback_state();
  std::string messages;
  state = PlaybackState{};
  state.capture = &messages; // keep the reports off standard output
  state.source.from_memory = true;
  state.source.memory = text;

  std::size_t newlines = 0;
  for (const char c : text) {
    newlines += c == '\n' ? 1 : 0;
  }
  const std::size_t max_lines = newlines + 1;
  for (std::size_t step = 0; step <= max_lines + 1; ++step) {
    const char* tag = step % 2 == 0 ? kPlaybackDebuggerTag : kPlaybackPluginTag;
    const bool required = (step / 2) % 2 == 0;
    const int before = state.line_count;
    std::string message;
    const bool got = playback_read_line(state, tag, required, &message);
    check(state.line_count == before || state.line_count == before + 1);
    check(state.result == kPlaybackOk || state.result == kPlaybackBadLine);
    if (got) {
      check(message.empty() || (!is_space(message.front()) && !is_space(message.back())));
      check(message.find('\n') == std::string::npos);
    }
    if (state.line_count == before && !got) {
      break; // the text is used up
    }
  }
  check(static_cast<std::size_t>(state.line_count) <= max_lines);

  // The splitter alone, on the whole text as one line.
  std::string_view found;
  if (playback_split_line(text, kPlaybackPluginTag, &found) == PlaybackLineKind::Message) {
    check(found.data() >= text.data() && found.data() + found.size() <= text.data() + text.size());
  }
  state = PlaybackState{};

  for (const bool ignore : {false, true}) {
    jsonrpc_reset_for_tests();
    jsonrpc_create_bindings();
    jsonrpc_bind("ask", ask_handler);
    jr_service_create(playback_transport);
    process_flags().ignore_errors = ignore;
    state.capture = &messages;
    messages.clear();
    const int result = playback_text(text, "fuzz");
    check(result == kPlaybackOk || result == kPlaybackBadLine || result == kPlaybackDifferent);
    check(static_cast<std::size_t>(state.line_count) <= max_lines);
    check((result == kPlaybackOk) == (messages.rfind("Successfully played back all ", 0) == 0));
  }
  process_flags().ignore_errors = false;
  jsonrpc_reset_for_tests();
  state = PlaybackState{};
  return 0;
}
