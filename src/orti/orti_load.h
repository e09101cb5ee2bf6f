// The one load path of an ORTI file: open it, scan and parse it, build its object model.
//
// Every program that reads an ORTI file (the plug-in's load_orti, orti-check, the fuzz target,
// the benchmark) goes through here, so that they all accept and refuse the same files with the
// same messages. Nothing here prints or exits: messages go to the caller's sink with a level,
// and the outcome is a status.
//
// Levels of the messages: 0 for what the user must read (parse errors, "%d errors
// encountered", a file that cannot be opened, a scanner that failed), 4 for the hint after a
// failed load that extended syntax would have loaded (kOrtiDialectHint), 100 for parser
// warnings, 100 + detail for the object model's load traces. The object model's own errors and
// warnings, and the warning for each construct of an OS generator that extended syntax
// accepts, go to the runtime's message output (standard error).
//
//   OrtiLoadSink sink{print_leveled, &my_state, /*max_level=*/0};
//   LoadedOrti loaded;
//   if (orti_load_file(path, /*extended_syntax=*/0, sink, loaded) == OrtiLoadStatus::Loaded)
//     use(*loaded.model);
#pragma once

#include "orti/model/orti_model.h"
#include "orti/parser/parse_tree.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// The hint's level: a warning for the user, shown by the plug-in at its default debug level.
inline constexpr int32_t kOrtiDialectHintLevel = 4;
// Given once after the messages of a strict load that failed on a construct of an OS generator
// (KoilDialect), and never after a load that succeeded. Hosts may look for it to load again
// with extended syntax.
inline constexpr const char* kOrtiDialectHint =
    "The file uses a construct of an OS generator that is outside the ORTI grammar; "
    "load_orti --extended_syntax accepts it\n";

struct OrtiLoadSink {
  void (*message)(void* user, int32_t level, const char* text) = nullptr;
  void* user = nullptr;
  // Messages above this level are neither formatted nor delivered: the model builder's traces
  // run once per attribute of every object, and formatting traces nobody reads would dominate
  // the load time.
  int32_t max_level = 0;
};

enum class OrtiLoadStatus {
  Loaded,
  OpenFailed,    // the file could not be opened (a directory counts as such)
  ScannerFailed, // the stream could not be read, or memory ran out while scanning
  ParseErrors,   // the error report counted at least one error
  ParseFailed,   // the parser refused the file without counting an error
  ModelFailed,   // the tree was accepted but no model could be built
};

// The tree and the model built from it. The model's texts and records live in the tree, so
// both live and die together, the model first.
struct LoadedOrti {
  OrtiParseTree tree;
  std::unique_ptr<OrtiModel> model;
  int extended_syntax = 0; // after the parse (an old-style file switches it on)
  int error_count = 0;     // errors the parser reported

  LoadedOrti() = default;
  LoadedOrti(LoadedOrti&&) = default;
  // Drops this model, then its tree, before taking the other's.
  LoadedOrti& operator=(LoadedOrti&& other) noexcept;
};

// Opens path for reading as text. A directory is refused (EISDIR), since reading one fails
// only later, in the middle of a scan. On failure *error_number gets the C library's error
// number and the result is null.
std::FILE* orti_open(const std::string& path, int* error_number);

// "Could not open file %s: %s\n" with the path and the system's text for error_number.
std::string orti_open_failure_text(const std::string& path, int error_number);

// Parses the open stream (not closed here) into out.tree, with file_name recorded as the
// tree's file name, and builds the model. On any status but Loaded the tree is cleared and no
// model is kept.
OrtiLoadStatus orti_load_stream(std::FILE* stream, const std::string& file_name,
                                int extended_syntax, const OrtiLoadSink& sink, LoadedOrti& out);

// The same over text in memory.
OrtiLoadStatus orti_load_text(std::string_view text, const std::string& file_name,
                              int extended_syntax, const OrtiLoadSink& sink, LoadedOrti& out);

// Opens path (reporting a failure at level 0), loads it and closes it.
OrtiLoadStatus orti_load_file(const std::string& path, int extended_syntax,
                              const OrtiLoadSink& sink, LoadedOrti& out);
