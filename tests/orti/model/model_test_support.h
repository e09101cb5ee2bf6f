// Helpers of the object model tests: parse trees built by hand, and a capture of the error,
// warning and load-trace output that a load writes, in the order it was written.
#pragma once

#include "orti/model/load_trace.h"
#include "orti/parser/parse_tree.h"
#include "runtime/message_output.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace model_test {

inline AttributeSpec spec(int32_t kind, const char* name, int32_t line,
                          std::optional<std::string> c_type = std::nullopt,
                          std::vector<EnumElement> elements = {}, bool to_trace = false,
                          std::optional<std::string> description = std::nullopt) {
  AttributeSpec s;
  s.to_trace = to_trace;
  s.type.kind = kind;
  s.type.c_type = std::move(c_type);
  s.type.elements = std::move(elements);
  s.name = name;
  s.description = std::move(description);
  s.line = line;
  return s;
}

inline EnumElement element(const char* label, int64_t value, int32_t line,
                           const char* link = nullptr) {
  EnumElement e;
  e.label = label;
  e.value = value;
  e.line = line;
  if (link != nullptr) {
    e.link_name = link;
  }
  return e;
}

struct Attr {
  const char* name;
  const char* formula;
  int32_t line;
};

// Builds a tree in file order; lines are whatever the test passes.
struct TreeBuilder {
  OrtiParseTree tree;

  explicit TreeBuilder(const char* file_name = "t.ort", OrtiVersion version = {2, 2}) {
    tree.file_name = file_name;
    tree.orti_version = version;
    tree.koil_version = {2, 2};
  }

  ObjectDeclaration& declare(const char* type, int32_t line, std::vector<AttributeSpec> attrs,
                             std::optional<std::string> description = std::nullopt) {
    auto decl = std::make_unique<ObjectDeclaration>();
    decl->type_name = type;
    decl->description = std::move(description);
    decl->attributes = std::move(attrs);
    decl->line = line;
    tree.declarations.push_back(std::move(decl));
    return *tree.declarations.back();
  }

  ObjectDefinition& define(const char* type, const char* name, int32_t line,
                           std::initializer_list<Attr> attrs, bool is_list = false) {
    auto def = std::make_unique<ObjectDefinition>();
    def->type_name = type;
    def->object_name = name;
    for (const Attr& a : attrs) {
      def->attributes.push_back(AttributeDef{a.name, a.formula, a.line});
    }
    def->line = line;
    def->is_list = is_list;
    def->file_index = tree.definitions.size();
    tree.definitions.push_back(std::move(def));
    return *tree.definitions.back();
  }

  // A minimal OS kind: declared and defined with one RUNNINGTASK attribute.
  void minimal_os(int32_t line = 1) {
    declare("OS", line,
            {spec(kKindEnum, "RUNNINGTASK", line, "int", {element("NO_TASK", 0, line)})});
    define("OS", "TheOs", line + 100, {{"RUNNINGTASK", "running", line + 101}});
  }
};

// Captures messages ("E: ", "W: ") and traces ("T<level>: ") while it lives.
struct Capture {
  std::vector<std::string> lines;

  explicit Capture(int32_t max_trace_level = -1) {
    set_message_sink(
        [](void* user, MessageSeverity severity, const char* text) {
          static_cast<Capture*>(user)->lines.push_back(
              std::string(severity == MessageSeverity::Error ? "E: " : "W: ") + text);
        },
        this);
    set_load_trace_hook(
        [](void* user, int32_t level, const char* text) {
          static_cast<Capture*>(user)->lines.push_back("T" + std::to_string(level) + ": " + text);
        },
        this, max_trace_level);
  }
  ~Capture() {
    reset_message_sink();
    reset_load_trace_hook();
  }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  // Only the lines whose prefix is one of "E: ", "W: ", "T<level>: ".
  std::vector<std::string> with_prefix(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
      if (line.rfind(prefix, 0) == 0) {
        out.push_back(line);
      }
    }
    return out;
  }
  std::vector<std::string> messages() const {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
      if (line[0] != 'T') {
        out.push_back(line);
      }
    }
    return out;
  }
};

} // namespace model_test
