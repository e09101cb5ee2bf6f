// Runs the parser over the ORTI corpus in tests/data/orti: the well-formed files in the styles
// that OS generators write, and the malformed ones with the first report each must produce.
#include "orti/parser/koil_lexer.h"
#include "orti/parser/koil_parser.h"
#include "orti/parser/parse_capture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string corpus_path(const char* name) {
  return std::string(OSA_TEST_DATA_DIR) + "/orti/" + name;
}

struct CorpusCase {
  const char* file;
  int result;
  int errors;
  int warnings;
  // The first report; none when message is null.
  const char* message;
  int32_t line;
  const char* token_text;
};

class KoilCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(KoilCorpus, ParsesWithTheExpectedReports) {
  const CorpusCase& c = GetParam();
  // Through the stream interface, as the loader reads the file.
  std::FILE* file = std::fopen(corpus_path(c.file).c_str(), "rb");
  ASSERT_NE(file, nullptr) << c.file;
  ParseCapture p;
  const KoilReports hooks = p.hooks();
  EXPECT_EQ(koil_parse(file, p.tree, p.settings, hooks), c.result);
  std::fclose(file);
  EXPECT_EQ(p.error_count(), c.errors);
  EXPECT_EQ(static_cast<int>(p.reports.size()) - p.error_count(), c.warnings);
  if (c.message == nullptr) {
    EXPECT_TRUE(p.reports.empty());
    return;
  }
  ASSERT_FALSE(p.reports.empty());
  EXPECT_EQ(p.reports[0].message, c.message);
  EXPECT_EQ(p.reports[0].line, c.line);
  EXPECT_EQ(p.reports[0].token_text, c.token_text);
}

const char* const kOldStyle = "This file appears to be for an older ORTI file specification\n"
                              "Auto-enabling old-style extended syntax support";

const CorpusCase kCorpus[] = {
    {"good_osek_full.ort", 0, 0, 0, nullptr, 0, ""},
    {"good_crlf.ort", 0, 0, 0, nullptr, 0, ""},
    {"good_lines.ort", 0, 0, 0, nullptr, 0, ""},
    {"good_old_style.ort", 0, 0, 1, kOldStyle, 3, "IMPLEMENTATION"},
    {"bad_empty.ort", 1, 1, 0, "syntax error", 1, ""},
    {"bad_first_token.ort", 1, 1, 0, "syntax error", 1, "OS"},
    {"bad_version_order.ort", 1, 1, 0, "syntax error", 2, "OSSEMANTICS"},
    {"bad_reserved_name.ort", 0, 1, 0, "Syntax Error: _ITEM is a reserved attribute name", 8, ";"},
    {"bad_bare_ctype.ort", 0, 1, 0, "syntax error", 7, "RUNNINGTASK"},
    {"bad_unterminated_comment.ort", 1, 1, 0, "syntax error", 11, ""},
    {"bad_unterminated_string.ort", 1, 1, 0, "syntax error", 9, ""},
    {"bad_numeric_formula.ort", 1, 1, 0, "syntax error", 8, "1"},
    {"bad_missing_semicolon.ort", 1, 1, 0, "syntax error", 6, "}"},
    {"bad_empty_enum.ort", 1, 1, 0, "syntax error", 6, "]"},
    {"bad_empty_object.ort", 1, 1, 0, "syntax error", 8, "}"},
    {"bad_no_information.ort", 1, 1, 0, "syntax error", 8, ""},
};
INSTANTIATE_TEST_SUITE_P(Files, KoilCorpus, ::testing::ValuesIn(kCorpus), [](const auto& info) {
  std::string name = info.param.file;
  return name.substr(0, name.find('.'));
});

TEST(KoilCorpusContent, FullGeneratorStyleFile) {
  ParseCapture p;
  ASSERT_EQ(p.parse(read_test_file(corpus_path("good_osek_full.ort"))), 0);
  const OrtiParseTree& t = p.tree;
  EXPECT_EQ(t.koil_version, (OrtiVersion{2, 2}));
  EXPECT_EQ(t.orti_version, (OrtiVersion{2, 2}));
  EXPECT_EQ(t.implementation_name, "Demo_OSEK_ORTI");
  const char* kinds[] = {
      "OS",          "TASK", "STACK",       "CONTEXT", "ALARM", "RESOURCE", "MESSAGECONTAINER",
      "vs_SPINLOCK", "ISR",  "vs_TIMEPOINT"};
  ASSERT_EQ(t.declarations.size(), std::size(kinds));
  for (std::size_t i = 0; i < std::size(kinds); ++i) {
    EXPECT_EQ(t.declarations[i]->type_name, kinds[i]);
  }
  const ObjectDeclaration& os = *t.declarations[0];
  EXPECT_EQ(os.description, "Operating System");
  ASSERT_EQ(os.attributes.size(), 7u);
  const AttributeSpec& running = os.attributes[0];
  EXPECT_TRUE(running.to_trace);
  EXPECT_EQ(running.name, "RUNNINGTASK");
  EXPECT_EQ(running.type.kind, kKindEnum);
  ASSERT_EQ(running.type.elements.size(), 4u);
  EXPECT_EQ(running.type.elements[1].link_name, "Task_Init");
  EXPECT_EQ(running.type.elements[3].value, 3);
  EXPECT_EQ(os.attributes[3].type.elements[3].value, -1); // 0xFFFFFFFF
  EXPECT_FALSE(os.attributes[3].type.c_type.has_value());
  const AttributeSpec& stack = t.declarations[1]->attributes[2];
  EXPECT_EQ(stack.type.c_type, "unsigned int *");
  EXPECT_EQ(stack.type.elements[0].match_formula, "&OsStack_Init[0]");
  EXPECT_EQ(stack.type.elements[2].match_formula, "");
  EXPECT_EQ(t.declarations[1]->attributes[5].type.c_type, std::nullopt);
  EXPECT_EQ(t.declarations[1]->attributes[5].name, "vs_EVENTS_SET");

  ASSERT_EQ(t.definitions.size(), 14u);
  EXPECT_EQ(t.definitions[0]->type_name, "OS");
  EXPECT_EQ(t.definitions[1]->object_name, "Task_Init");
  EXPECT_EQ(t.definitions[1]->attributes[5].formula, "");
  const ObjectDefinition& list = *t.definitions.back();
  EXPECT_TRUE(list.is_list);
  EXPECT_EQ(list.object_name, "TimePoints");
  ASSERT_EQ(list.attributes.size(), 5u);
  EXPECT_EQ(list.attributes[2].name, "_ITEM");
  for (std::size_t i = 0; i + 1 < t.definitions.size(); ++i) {
    EXPECT_FALSE(t.definitions[i]->is_list) << t.definitions[i]->object_name;
    EXPECT_LT(t.definitions[i]->line, t.definitions[i + 1]->line);
  }
}

TEST(KoilCorpusContent, CrlfFileKeepsLinesAndTexts) {
  ParseCapture p;
  ASSERT_EQ(p.parse(read_test_file(corpus_path("good_crlf.ort"))), 0);
  ASSERT_EQ(p.tree.declarations.size(), 2u);
  EXPECT_EQ(p.tree.declarations[0]->line, 11);
  EXPECT_EQ(p.tree.declarations[1]->line, 15);
  EXPECT_EQ(p.tree.declarations[0]->attributes[0].description, "Running task");
  ASSERT_EQ(p.tree.definitions.size(), 2u);
  EXPECT_EQ(p.tree.definitions[0]->line, 20);
  EXPECT_EQ(p.tree.definitions[1]->line, 24);
  EXPECT_EQ(p.tree.definitions[1]->attributes[1].formula, "OsState[0]");
}

TEST(KoilCorpusContent, OldStyleFileUsesBareCTypes) {
  ParseCapture p;
  ASSERT_EQ(p.parse(read_test_file(corpus_path("good_old_style.ort"))), 0);
  EXPECT_EQ(p.settings.extended_syntax, 1);
  EXPECT_EQ(p.tree.koil_version, (OrtiVersion{0, 0}));
  const auto& os = p.tree.declarations[0]->attributes;
  ASSERT_EQ(os.size(), 3u);
  EXPECT_EQ(os[0].type.kind, kKindCtype);
  EXPECT_EQ(os[0].type.c_type, "unsigned char");
  EXPECT_EQ(os[2].type.c_type, "int");
  EXPECT_EQ(os[1].type.elements[1].link_name, "T1");
}

} // namespace
