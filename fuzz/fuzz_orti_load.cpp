// Fuzz target: arbitrary bytes through the shared ORTI load path (parser, then object model when
// the parse counted no error). Whatever the input, a load either keeps a model that consumed
// every definition or keeps nothing.
#include "orti/orti_load.h"
#include "runtime/message_output.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void ignore_message(void*, MessageSeverity, const char*) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // Every message and trace is formatted and handed on (and dropped), so the formatting runs
  // as well.
  set_message_sink(ignore_message, nullptr);
  OrtiLoadSink sink;
  sink.message = [](void*, int32_t, const char*) {};
  sink.max_level = 1000;
  LoadedOrti loaded;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const OrtiLoadStatus status = orti_load_text(text, "fuzz.ort", 0, sink, loaded);
  if ((status == OrtiLoadStatus::Loaded) != (loaded.model != nullptr)) {
    std::abort();
  }
  if (status != OrtiLoadStatus::Loaded && !loaded.tree.definitions.empty()) {
    std::abort(); // a refused file keeps nothing
  }
  for (const auto& def : loaded.tree.definitions) {
    if (!def->processed || def->instance == nullptr) {
      std::abort(); // a kept model has consumed every definition
    }
  }
  return 0;
}
