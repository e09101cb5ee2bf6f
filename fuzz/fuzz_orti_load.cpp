// Fuzz target: arbitrary bytes through the shared ORTI load path (parser, then object model when
// the parse counted no error), strictly and with extended syntax. Whatever the input, a load
// either keeps a model that consumed every definition or keeps nothing.
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
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // Strictly and with extended syntax, which opens the constructs of OS generators.
  for (int extended = 0; extended < 2; ++extended) {
    LoadedOrti loaded;
    const OrtiLoadStatus status = orti_load_text(text, "fuzz.ort", extended, sink, loaded);
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
    if (status == OrtiLoadStatus::Loaded) {
      // Every element a reader may pick is the formula of a definition or none.
      const OrtiModel& model = *loaded.model;
      for (uint32_t core = 0; core < os_object_count(model); ++core) {
        const OrtiObject* os = os_for_core(model, core);
        if (os == nullptr) {
          std::abort();
        }
        for (const auto& attribute : os->standard) {
          if (attribute && attribute_element_count(*attribute) > kMaxArrayIndex + 1) {
            std::abort();
          }
        }
      }
    }
  }
  return 0;
}
