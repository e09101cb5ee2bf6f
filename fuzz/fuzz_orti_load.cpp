// Fuzz target: arbitrary bytes through the KOIL parser and, when a file is accepted without an
// error, through the object model. Whatever tree the parser accepts, building its model must
// neither crash nor leave a definition pointing at a model that was not kept.
#include "orti/model/instantiate.h"
#include "orti/model/load_trace.h"
#include "orti/parser/koil_parser.h"
#include "runtime/message_output.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void count_error(void* user, const char*, int32_t, const char*) {
  ++*static_cast<int*>(user);
}
void ignore_warning(void*, const char*, int32_t, const char*) {}
void ignore_message(void*, MessageSeverity, const char*) {}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // Every trace is formatted and handed on (and dropped), so the formatting runs as well.
  set_load_trace_hook([](void*, int32_t, const char*) {}, nullptr, 1000);
  set_message_sink(ignore_message, nullptr);
  int errors = 0;
  KoilReports reports;
  reports.error = count_error;
  reports.warning = ignore_warning;
  reports.user = &errors;
  OrtiParseTree tree;
  tree.file_name = "fuzz.ort";
  KoilParseSettings settings;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (koil_parse_text(text, tree, settings, reports) != 0 || errors != 0) {
    return 0;
  }
  std::unique_ptr<OrtiModel> model = parse_koil(&tree, settings.extended_syntax);
  for (const auto& def : tree.definitions) {
    if (!model && (def->processed || def->instance != nullptr)) {
      std::abort();
    }
    if (model && !def->processed) {
      std::abort(); // a kept model has consumed every definition
    }
  }
  return 0;
}
