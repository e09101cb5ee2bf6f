// Fuzz target: any file content replayed by loadconfig, on a plug-in state with
// examples/demo_os.ort loaded. The content is the default configuration file beside the ORTI
// file, so a content that runs loadconfig loads itself and meets the nesting bound. The
// debugger's stand-in gives every request a fixed good answer (one for message displays, one
// for everything else). Nothing may crash, hang or leak, and loadconfig answers 0 or 1.
#include "fuzz_support.h"

#include "host_link/jsonrpc.h"
#include "plugin/command_table.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace {

// True when text begins with prefix; a plain loop, so that the stand-in's own comparisons do not
// reach the fuzzer's table of compared texts.
bool begins_with(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (*text != *prefix) {
      return false;
    }
  }
  return true;
}

// Message displays, most of an input's requests (every help line is one), get the debugger's
// own answer to them, which holds only the status; every other request gets the outputs its
// wrapper reads. Both go through the whole answer parse.
// Every request begins with the same words before its method name, so only the name is
// compared.
constexpr char kBeforeMethod[] = R"({ "jsonrpc" : "2.0", "method" : )";

const char* transport(const char* request) {
  if (begins_with(request + sizeof kBeforeMethod - 1, R"("OSA_Service_MessageDisplay", )")) {
    return R"({"jsonrpc":"2.0","result":{"return":0},"id":0})";
  }
  return R"({"jsonrpc":"2.0","result":{"output":1,"value":"Task_Init","return":0},"id":0})";
}

OSA_ServiceCntx* g_ctx = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static std::string sandbox = fuzz_support::enter_sandbox();
  static OSA_ServiceCntx ctx;
  ctx.context = 1;
  g_ctx = &ctx;
  jr_service_create(transport);
  fuzz_support::demo_orti();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  if (fuzz_support::names_a_config_file(content, true)) {
    return -1; // not added to the corpus
  }
  std::error_code ec;
  std::filesystem::remove_all("osa_orti_plugin", ec);
  // Written with the system's own calls: a file stream would allocate its buffer (and a
  // sanitizer record of that) for every input.
  const int file = open("demo_os.ort.cfg", O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (file < 0) {
    std::abort();
  }
  for (std::size_t written = 0; written < size;) {
    const ssize_t n = write(file, data + written, size - written);
    if (n <= 0) {
      std::abort();
    }
    written += static_cast<std::size_t>(n);
  }
  close(file);
  fuzz_support::loaded_state(g_ctx->area);
  const int32_t status = osa_cmd_execute(g_ctx, &g_ctx->area, nullptr, "loadconfig");
  if (status != 0 && status != 1) {
    std::abort();
  }
  if (g_ctx->area.plugin_state->config_depth != 0) {
    std::abort();
  }
  plugin_state_cleanup(g_ctx->area);
  fuzz_support::demo_orti().restore();
  return 0;
}
