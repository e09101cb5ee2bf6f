// Test helper: runs the KOIL parser over a text or a file and keeps every report it made.
#pragma once

#include "orti/parser/koil_parser.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct CapturedReport {
  bool is_error = false;
  std::string message;
  int32_t line = 0;
  std::string token_text;
};

struct CapturedDialect {
  KoilDialect construct;
  int32_t line;
  std::string detail;
};

struct ParseCapture {
  OrtiParseTree tree;
  KoilParseSettings settings;
  std::vector<CapturedReport> reports;
  std::vector<CapturedDialect> dialects; // the constructs extended syntax took, as told
  int result = -1;

  int error_count() const {
    int count = 0;
    for (const CapturedReport& report : reports) {
      count += report.is_error ? 1 : 0;
    }
    return count;
  }

  KoilReports hooks() {
    KoilReports hooks;
    hooks.user = this;
    hooks.error = [](void* user, const char* message, int32_t line, const char* text) {
      static_cast<ParseCapture*>(user)->reports.push_back({true, message, line, text});
    };
    hooks.warning = [](void* user, const char* message, int32_t line, const char* text) {
      static_cast<ParseCapture*>(user)->reports.push_back({false, message, line, text});
    };
    hooks.dialect = [](void* user, KoilDialect construct, int32_t line, const char* detail) {
      static_cast<ParseCapture*>(user)->dialects.push_back({construct, line, detail});
    };
    return hooks;
  }

  int parse(const std::string& text) {
    const KoilReports reports_hooks = hooks();
    result = koil_parse_text(text, tree, settings, reports_hooks);
    return result;
  }
};

inline std::string read_test_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}
