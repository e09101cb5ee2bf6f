// The KOIL parser: an ORTI file, read from an open stream, into an OrtiParseTree.
//
// The grammar has no error recovery: the first syntax error ends the parse. Semantic problems
// found while nodes are built (reserved attribute names and the like) go to the error report
// and do not stop it. The parser never prints: every message goes through the caller's
// reports, which receive the scanner's current line and token text beside the message.
#pragma once

#include "orti/parser/parse_tree.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

struct KoilReports {
  // The error report counts an error (the caller keeps the count); the warning report does
  // not.
  void (*error)(void* user, const char* message, int32_t line, const char* token_text) = nullptr;
  void (*warning)(void* user, const char* message, int32_t line, const char* token_text) = nullptr;
  // The scanner could not go on (read failure, memory exhaustion); the parse then returns
  // kKoilParseScannerFailed. Null: the message is dropped, the status still tells.
  void (*fatal)(void* user, const char* message) = nullptr;
  // Extended syntax accepted a construct of an OS generator (the tree records it as well):
  // once per construct and parse, at its first use. detail names what was met, for the
  // warning of koil_dialect_warning. Null: nothing is told beyond the tree's record.
  void (*dialect)(void* user, KoilDialect construct, int32_t line, const char* detail) = nullptr;
  void* user = nullptr;
};

struct KoilParseSettings {
  // 0 off, 1 on. The parser switches it on, with a warning, for an old-style file that has no
  // version section; the model builder reads it afterwards.
  int extended_syntax = 0;
};

inline constexpr int kKoilParseAccepted = 0;
inline constexpr int kKoilParseRejected = 1;      // syntax error or parser stack overflow
inline constexpr int kKoilParseScannerFailed = 2; // the stream failed or memory ran out

// Clears the tree (its file name excepted, which the loader may set before or after) and parses
// the whole stream into it. Returns one of the three statuses above. The stream is not closed.
int koil_parse(std::FILE* input, OrtiParseTree& tree, KoilParseSettings& settings,
               const KoilReports& reports);

// The same for text in memory (tests, fuzzing, tools).
int koil_parse_text(std::string_view input, OrtiParseTree& tree, KoilParseSettings& settings,
                    const KoilReports& reports);

// The warning for the first use of a construct that extended syntax accepted: what was met,
// where, and that later uses go unreported.
std::string koil_dialect_warning(KoilDialect construct, const char* detail, int32_t line,
                                 const char* file_name);

// The loader's form of a report: message, line and token text as
// "%s parsing (line %d):\n%s\n".
std::string koil_report_text(const char* message, int32_t line, const char* token_text);
