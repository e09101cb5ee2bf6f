// Fuzz target: arbitrary bytes through the KOIL scanner and parser. Neither may crash, hang or
// keep memory beyond what the input accounts for; the tree is freed after every run.
#include "orti/parser/koil_lexer.h"
#include "orti/parser/koil_parser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void count_report(void* user, const char*, int32_t, const char*) {
  ++*static_cast<int*>(user);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  // The scanner alone, to the end of the input.
  KoilLexer lexer(input);
  std::size_t tokens = 0;
  while (lexer.next() != kKoilEnd) {
    ++tokens;
    if (tokens > size) {
      __builtin_trap(); // every token consumes at least one byte
    }
  }

  // The parser, with and without extended syntax.
  for (int extended = 0; extended < 2; ++extended) {
    OrtiParseTree tree;
    KoilParseSettings settings;
    settings.extended_syntax = extended;
    int reports = 0;
    KoilReports hooks;
    hooks.error = count_report;
    hooks.warning = count_report;
    hooks.dialect = [](void*, KoilDialect construct, int32_t line, const char* detail) {
      if (koil_dialect_warning(construct, detail, line, "fuzz.ort").empty()) {
        __builtin_trap();
      }
    };
    hooks.user = &reports;
    const int result = koil_parse_text(input, tree, settings, hooks);
    if (result != 0 && reports == 0) {
      __builtin_trap(); // a rejected file always says why
    }
    if (settings.extended_syntax == 0 && result == 0 && tree.uses_dialect()) {
      __builtin_trap(); // a strict parse records a construct only where it failed on it
    }
    orti_tree_clear(tree);
  }
  return 0;
}
