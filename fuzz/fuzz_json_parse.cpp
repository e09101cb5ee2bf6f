// Fuzz target: the JSON parser on arbitrary bytes. Every text that parses must be written and
// parsed again to the same tree, and writing that tree again must give the same text.
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // The parser reads NUL-terminated texts; bytes after an embedded NUL are never looked at.
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string errors;
  JsonPtr first = json_parse(text.c_str(), errors);
  if (!first) {
    if (errors.rfind("Error: ", 0) != 0) {
      std::abort(); // a failure must always say why
    }
    return 0;
  }
  if (!errors.empty()) {
    std::abort();
  }
  const std::string written = json_to_text(*first);
  JsonPtr second = json_parse(written.c_str(), errors);
  if (!second || !json_equal(*first, *second) || json_to_text(*second) != written) {
    std::abort();
  }
  return 0;
}
