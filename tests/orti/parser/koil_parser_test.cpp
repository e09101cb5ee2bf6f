// Tests of the KOIL grammar: the tree it builds, the lines stored in the nodes, the reports
// with their lines and token texts, old-style files and the parser stack limit.
#include "orti/parser/koil_lexer.h"
#include "orti/parser/koil_parser.h"
#include "orti/parser/parse_capture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

const std::string kVersion = "VERSION {\n KOIL = \"2.1\";\n OSSEMANTICS = \"ORTI\", \"2.2\";\n};\n";

std::string versioned(const std::string& declarations, const std::string& information) {
  return kVersion + "IMPLEMENTATION Test {\n" + declarations + "};\n" + information;
}

TEST(KoilParser, BuildsTheWholeTree) {
  ParseCapture p;
  ASSERT_EQ(p.parse(versioned("OS { TOTRACE CTYPE \"unsigned int *\" RUNNINGTASK, \"Running\";\n"
                              "  STRING vs_NAME; };\n"
                              "TASK { ENUM \"unsigned char\" [ \"A\" = 1, \"B\" : T2 = \"x == 1\" ]"
                              " STATE, \"State\"; CTYPE PRIORITY; }, \"Tasks\";\n",
                              "OS Os1 { RUNNINGTASK = \"r\"; vs_NAME = \"n\"; };\n"
                              "TASK T1 { STATE = \"s\"; };\n"
                              "TASK * T2 { STATE = \"\"; };\n")),
            0);
  EXPECT_TRUE(p.reports.empty());
  EXPECT_EQ(p.settings.extended_syntax, 0);
  const OrtiParseTree& t = p.tree;
  EXPECT_EQ(t.koil_version, (OrtiVersion{2, 1}));
  EXPECT_EQ(t.orti_version, (OrtiVersion{2, 2}));
  EXPECT_EQ(t.implementation_name, "Test");
  ASSERT_EQ(t.declarations.size(), 2u);
  const ObjectDeclaration& os = *t.declarations[0];
  EXPECT_EQ(os.type_name, "OS");
  EXPECT_FALSE(os.description.has_value());
  ASSERT_EQ(os.attributes.size(), 2u);
  EXPECT_TRUE(os.attributes[0].to_trace);
  EXPECT_EQ(os.attributes[0].type.kind, kKindCtype);
  EXPECT_EQ(os.attributes[0].type.c_type, "unsigned int *");
  EXPECT_EQ(os.attributes[0].name, "RUNNINGTASK");
  EXPECT_EQ(os.attributes[0].description, "Running");
  EXPECT_FALSE(os.attributes[1].to_trace);
  EXPECT_EQ(os.attributes[1].type.kind, kKindString);
  EXPECT_FALSE(os.attributes[1].type.c_type.has_value());
  EXPECT_FALSE(os.attributes[1].description.has_value());
  const ObjectDeclaration& task = *t.declarations[1];
  EXPECT_EQ(task.description, "Tasks");
  ASSERT_EQ(task.attributes.size(), 2u);
  const AttributeType& state = task.attributes[0].type;
  EXPECT_EQ(state.kind, kKindEnum);
  EXPECT_EQ(state.c_type, "unsigned char");
  ASSERT_EQ(state.elements.size(), 2u);
  EXPECT_EQ(state.elements[0].label, "A");
  EXPECT_EQ(state.elements[0].value, 1);
  EXPECT_FALSE(state.elements[0].link_name.has_value());
  EXPECT_FALSE(state.elements[0].match_formula.has_value());
  EXPECT_EQ(state.elements[1].label, "B");
  EXPECT_EQ(state.elements[1].link_name, "T2");
  EXPECT_EQ(state.elements[1].match_formula, "x == 1");
  EXPECT_EQ(state.elements[1].value, 0);
  EXPECT_EQ(task.attributes[1].type.kind, kKindCtype);
  EXPECT_FALSE(task.attributes[1].type.c_type.has_value());
  EXPECT_EQ(task.attributes[1].name, "PRIORITY");

  // File order in the vectors; file_index says where.
  ASSERT_EQ(t.definitions.size(), 3u);
  const char* names[] = {"Os1", "T1", "T2"};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(t.definitions[i]->object_name, names[i]);
    EXPECT_EQ(t.definitions[i]->file_index, i);
    EXPECT_FALSE(t.definitions[i]->processed);
    EXPECT_EQ(t.definitions[i]->instance, nullptr);
  }
  EXPECT_FALSE(t.definitions[1]->is_list);
  EXPECT_TRUE(t.definitions[2]->is_list);
  EXPECT_EQ(t.definitions[2]->type_name, "TASK");
  ASSERT_EQ(t.definitions[0]->attributes.size(), 2u);
  EXPECT_EQ(t.definitions[0]->attributes[0].name, "RUNNINGTASK");
  EXPECT_EQ(t.definitions[0]->attributes[1].formula, "n");
  EXPECT_EQ(t.definitions[2]->attributes[0].formula, ""); // present and empty
}

struct EnumValueCase {
  const char* literal;
  int64_t value;
};

TEST(KoilParser, EnumValuesKeep32BitsSignExtended) {
  const EnumValueCase cases[] = {
      {"0xFFFFFFFF", -1},
      {"0x80000000", INT32_MIN},
      {"0x7FFFFFFF", INT32_MAX},
      {"0x100000001", 1},
      {"4294967295", -1},
      {"037777777777", -1},
      {"99999999999999999999", -1}, // clamped to the largest 64-bit value first
      {"12", 12},
  };
  for (const EnumValueCase& c : cases) {
    ParseCapture p;
    ASSERT_EQ(p.parse(versioned(std::string("OS { ENUM [ \"v\" = ") + c.literal + " ] A; };",
                                "OS O { A = \"1\"; };")),
              0)
        << c.literal;
    EXPECT_EQ(p.tree.declarations[0]->attributes[0].type.elements[0].value, c.value) << c.literal;
  }
}

TEST(KoilParser, EmptyStringEnumValueIsAPresentEmptyMatchFormula) {
  ParseCapture p;
  ASSERT_EQ(p.parse(versioned("OS { ENUM [ \"v\" = \"\", \"w\" : L = \"a\" ] A; };",
                              "OS O { A = \"\"; };")),
            0);
  const auto& elements = p.tree.declarations[0]->attributes[0].type.elements;
  ASSERT_TRUE(elements[0].match_formula.has_value());
  EXPECT_EQ(*elements[0].match_formula, "");
  EXPECT_EQ(elements[0].value, 0);
  EXPECT_EQ(elements[1].link_name, "L");
  EXPECT_EQ(elements[1].match_formula, "a");
}

TEST(KoilParser, OldStyleFileWarnsAndSwitchesExtendedSyntaxOn) {
  ParseCapture p;
  ASSERT_EQ(p.parse("// old\n\nIMPLEMENTATION Old {\n OS { \"unsigned char\" A; int B; };\n};\n"
                    "OS O { A = \"1\"; B = \"2\"; };\n"),
            0);
  ASSERT_EQ(p.reports.size(), 1u);
  EXPECT_FALSE(p.reports[0].is_error);
  EXPECT_EQ(p.reports[0].message, "This file appears to be for an older ORTI file specification\n"
                                  "Auto-enabling old-style extended syntax support");
  // Reduced only once the IMPLEMENTATION look-ahead has been read.
  EXPECT_EQ(p.reports[0].line, 3);
  EXPECT_EQ(p.reports[0].token_text, "IMPLEMENTATION");
  EXPECT_EQ(p.settings.extended_syntax, 1);
  EXPECT_EQ(p.tree.koil_version, (OrtiVersion{0, 0}));
  EXPECT_EQ(p.tree.orti_version, (OrtiVersion{0, 0}));
  const auto& attributes = p.tree.declarations[0]->attributes;
  ASSERT_EQ(attributes.size(), 2u);
  EXPECT_EQ(attributes[0].type.kind, kKindCtype);
  EXPECT_EQ(attributes[0].type.c_type, "unsigned char");
  EXPECT_EQ(attributes[1].type.c_type, "int");
  EXPECT_EQ(attributes[1].name, "B");
}

TEST(KoilParser, OldStyleFileWithExtendedSyntaxAlreadyOnDoesNotWarn) {
  ParseCapture p;
  p.settings.extended_syntax = 1;
  ASSERT_EQ(p.parse("IMPLEMENTATION Old { OS { int A; }; }; OS O { A = \"1\"; };"), 0);
  EXPECT_TRUE(p.reports.empty());
}

TEST(KoilParser, BareCTypeWithVersionSectionCountsOneErrorButParses) {
  ParseCapture p;
  ASSERT_EQ(p.parse(versioned("OS {\n \"unsigned char\"\n RUNNINGTASK;\n CTYPE B; };\n",
                              "OS O { RUNNINGTASK = \"1\"; B = \"2\"; };\n")),
            0);
  ASSERT_EQ(p.error_count(), 1);
  EXPECT_EQ(p.reports[0].message, "syntax error");
  EXPECT_EQ(p.reports[0].token_text, "RUNNINGTASK"); // reduced right after the name
  EXPECT_EQ(p.reports[0].line, 8);
  const auto& attributes = p.tree.declarations[0]->attributes;
  ASSERT_EQ(attributes.size(), 2u); // built all the same
  EXPECT_EQ(attributes[0].type.c_type, "unsigned char");
  EXPECT_EQ(p.tree.definitions.size(), 1u);

  ParseCapture extended;
  extended.settings.extended_syntax = 1;
  ASSERT_EQ(extended.parse(versioned("OS { \"unsigned char\" A; };", "OS O { A = \"1\"; };")), 0);
  EXPECT_TRUE(extended.reports.empty());
}

struct ReservedCase {
  const char* written;
  const char* canonical;
};

TEST(KoilParser, ReservedAttributeNamesAreRejectedWhateverTheirCase) {
  const ReservedCase cases[] = {{"_PARENT_NODE", "_PARENT_NODE"},
                                {"_item", "_ITEM"},
                                {"_Next_Node", "_NEXT_NODE"},
                                {"_node_valid", "_NODE_VALID"},
                                {"_OWNER", "_OWNER"}};
  for (const ReservedCase& c : cases) {
    ParseCapture p;
    ASSERT_EQ(p.parse(versioned(std::string("OS { CTYPE A;\n CTYPE \"void *\" ") + c.written +
                                    "\n;\n CTYPE B; CTYPE _ITEM; };\n",
                                "OS O { A = \"1\"; _ITEM = \"x\"; };\n")),
              0)
        << c.written;
    ASSERT_GE(p.reports.size(), 1u);
    EXPECT_EQ(p.reports[0].message,
              std::string("Syntax Error: ") + c.canonical + " is a reserved attribute name");
    EXPECT_EQ(p.reports[0].token_text, ";");
    EXPECT_EQ(p.reports[0].line, 8);
    // Later reserved names are reported too, but the list ends before the first of them.
    ASSERT_EQ(p.reports.size(), 2u);
    EXPECT_EQ(p.reports[1].message, "Syntax Error: _ITEM is a reserved attribute name");
    ASSERT_EQ(p.tree.declarations.size(), 1u);
    ASSERT_EQ(p.tree.declarations[0]->attributes.size(), 1u);
    EXPECT_EQ(p.tree.declarations[0]->attributes[0].name, "A");
    // Defining a reserved name in the information section is allowed.
    EXPECT_EQ(p.tree.definitions[0]->attributes[1].name, "_ITEM");
  }
}

TEST(KoilParser, DeclarationWhoseFirstAttributeIsReservedIsNotBuilt) {
  ParseCapture p;
  ASSERT_EQ(p.parse(versioned("vs_L { STRING _owner; CTYPE A; };\nOS { CTYPE A; };\n",
                              "OS O { A = \"1\"; };\n")),
            0);
  ASSERT_EQ(p.reports.size(), 2u);
  EXPECT_EQ(p.reports[0].message, "Syntax Error: _OWNER is a reserved attribute name");
  EXPECT_EQ(p.reports[1].message, "Internal Error: attr == NULL");
  EXPECT_EQ(p.reports[1].token_text, ";");
  EXPECT_EQ(p.reports[1].line, 6);
  ASSERT_EQ(p.tree.declarations.size(), 1u);
  EXPECT_EQ(p.tree.declarations[0]->type_name, "OS");
}

TEST(KoilParser, StoresTheLineOfEachConstructsLastToken) {
  ParseCapture p;
  ASSERT_EQ(p.parse(read_test_file(OSA_TEST_DATA_DIR "/orti/good_lines.ort")), 0);
  ASSERT_TRUE(p.reports.empty());
  ASSERT_EQ(p.tree.declarations.size(), 1u);
  const ObjectDeclaration& task = *p.tree.declarations[0];
  EXPECT_EQ(task.line, 19);
  EXPECT_EQ(task.description, "task\nkind");
  ASSERT_EQ(task.attributes.size(), 2u);
  EXPECT_EQ(task.attributes[0].line, 8);
  EXPECT_EQ(task.attributes[0].type.c_type, "unsigned\nchar");
  EXPECT_EQ(task.attributes[0].description, "a description\nover\nthree lines");
  EXPECT_EQ(task.attributes[1].line, 14);
  const auto& elements = task.attributes[1].type.elements;
  ASSERT_EQ(elements.size(), 3u);
  EXPECT_EQ(elements[0].line, 9);
  EXPECT_EQ(elements[1].line, 12);
  EXPECT_EQ(elements[1].match_formula, "x\ny");
  EXPECT_EQ(elements[2].line, 12);
  EXPECT_EQ(elements[2].link_name, "Obj");
  ASSERT_EQ(p.tree.definitions.size(), 1u);
  const ObjectDefinition& obj = *p.tree.definitions[0];
  EXPECT_EQ(obj.line, 27);
  ASSERT_EQ(obj.attributes.size(), 2u);
  EXPECT_EQ(obj.attributes[0].line, 22);
  EXPECT_EQ(obj.attributes[1].line, 25);
  EXPECT_EQ(obj.attributes[1].formula, "s\n\n");
}

// Every construct of the generators' dialects in one file: the tree holds what the grammar
// would have built had the text been written its way, and each construct is told once, at its
// first use, with no report.
TEST(KoilParser, ExtendedSyntaxTakesTheGeneratorsConstructs) {
  ParseCapture p;
  p.settings.extended_syntax = 1;
  ASSERT_EQ(p.parse("VERSION {\n KOIL = \"PLATFORM 4.0\";\n OSSEMANTICS = \"ORTI\", \"2.2\";\n};\n"
                    "IMPLEMENTATION I {\n"
                    " OS { ENUM [ \"A\" = 1, \"B\" = 2, \"A\" = 3, ] RUN[], \"r\"; CTYPE X[]; };\n"
                    " TASK { CTYPE P; STRING S; };\n"
                    "};\n"
                    "OS O { RUN[1] = \"r1\"; RUN[0] = \"r0\"; X[0x40] = \"x\"; };\n"
                    "TASK T { P = 0x10\n S = Name }\n"
                    "TASK U { P = \"1\"; S = \"u\"; }\n"),
            0);
  EXPECT_TRUE(p.reports.empty());
  const OrtiParseTree& t = p.tree;
  EXPECT_EQ(t.koil_version, (OrtiVersion{0, 0}));
  EXPECT_EQ(t.orti_version, (OrtiVersion{2, 2}));
  const ObjectDeclaration& os = *t.declarations[0];
  ASSERT_EQ(os.attributes.size(), 2u);
  EXPECT_TRUE(os.attributes[0].is_array);
  EXPECT_EQ(os.attributes[0].description, "r");
  EXPECT_EQ(os.attributes[0].type.elements.size(), 3u);
  EXPECT_TRUE(os.attributes[1].is_array);
  EXPECT_FALSE(t.declarations[1]->attributes[0].is_array);
  ASSERT_EQ(t.definitions.size(), 3u);
  const auto& o = t.definitions[0]->attributes;
  ASSERT_EQ(o.size(), 3u);
  EXPECT_EQ(o[0].index, 1);
  EXPECT_EQ(o[1].index, 0);
  EXPECT_EQ(o[2].index, 64);
  const ObjectDefinition& task = *t.definitions[1];
  EXPECT_EQ(task.line, 11) << "the closing brace, as no semicolon follows";
  ASSERT_EQ(task.attributes.size(), 2u);
  EXPECT_EQ(task.attributes[0].index, -1);
  EXPECT_EQ(task.attributes[0].formula, "0x10") << "a number's text as written";
  EXPECT_EQ(task.attributes[0].line, 10);
  EXPECT_EQ(task.attributes[1].formula, "Name");
  EXPECT_EQ(task.attributes[1].line, 11);
  EXPECT_EQ(t.definitions[2]->object_name, "U");

  // In the order of their first uses.
  const KoilDialect told[] = {KoilDialect::KoilVersionText, KoilDialect::TrailingComma,
                              KoilDialect::RepeatedLabel,   KoilDialect::Array,
                              KoilDialect::BareValue,       KoilDialect::MissingSemicolon};
  ASSERT_EQ(p.dialects.size(), std::size(told));
  for (std::size_t i = 0; i < std::size(told); ++i) {
    EXPECT_EQ(p.dialects[i].construct, told[i]) << i;
  }
  EXPECT_EQ(p.dialects[0].detail, "\"PLATFORM 4.0\"");
}

struct SyntaxErrorCase {
  const char* name;
  std::string input;
  int32_t line;
  const char* token_text;
};

class KoilSyntaxErrors : public ::testing::TestWithParam<SyntaxErrorCase> {};

TEST_P(KoilSyntaxErrors, ReportOnceWithTheOffendingTokenAndFail) {
  ParseCapture p;
  EXPECT_EQ(p.parse(GetParam().input), 1);
  ASSERT_EQ(p.reports.size(), 1u);
  EXPECT_TRUE(p.reports[0].is_error);
  EXPECT_EQ(p.reports[0].message, "syntax error");
  EXPECT_EQ(p.reports[0].line, GetParam().line);
  EXPECT_EQ(p.reports[0].token_text, GetParam().token_text);
}

const std::string kImpl = "IMPLEMENTATION I {\n OS { CTYPE A; };\n};\n"; // lines 5 to 7

const SyntaxErrorCase kSyntaxErrors[] = {
    {"empty_file", "", 1, ""},
    {"blank_file", "\n\n  \n", 4, ""},
    {"first_token_not_a_section", "\nOS O { A = \"1\"; };", 2, "OS"},
    {"ossemantics_before_koil",
     "VERSION {\n OSSEMANTICS = \"ORTI\", \"2.1\";\n KOIL = \"2.1\";\n};\n" + kImpl, 2,
     "OSSEMANTICS"},
    {"koil_version_without_quotes", "VERSION { KOIL = 2.1; };", 1, "2"},
    {"missing_ossemantics", "VERSION { KOIL = \"2.1\"; };\n" + kImpl, 1, "}"},
    {"no_information_section", kVersion + kImpl, 8, ""},
    {"missing_semicolon_after_attribute",
     kVersion + "IMPLEMENTATION I {\n OS { CTYPE A }\n};\nOS O { A = \"1\"; };", 6, "}"},
    {"empty_declaration_block", kVersion + "IMPLEMENTATION I {\n OS { };\n};\n", 6, "}"},
    {"empty_declaration_list", kVersion + "IMPLEMENTATION I {\n};\n", 6, "}"},
    {"empty_enum", kVersion + "IMPLEMENTATION I {\n OS { ENUM [ ] A; };\n};\n", 6, "]"},
    {"enum_trailing_comma", kVersion + "IMPLEMENTATION I { OS { ENUM [ \"a\" = 1, ] A; }; };", 5,
     "]"},
    {"enum_value_identifier", kVersion + "IMPLEMENTATION I { OS { ENUM [ \"a\" = B ] A; }; };", 5,
     "B"},
    {"enum_label_unquoted", kVersion + "IMPLEMENTATION I { OS { ENUM [ a = 1 ] A; }; };", 5, "a"},
    {"ctype_without_name", kVersion + "IMPLEMENTATION I { OS { CTYPE \"int\" ; }; };", 5, ";"},
    {"ctype_followed_by_quote", kVersion + "IMPLEMENTATION I { OS { CTYPE A \"x\"; }; };", 5, "\""},
    {"empty_quoted_c_type", kVersion + "IMPLEMENTATION I { OS { CTYPE \"\" A; }; };", 5, "\""},
    // The ";" or "," description ";" that ends object and attribute declarations.
    {"declaration_without_semicolon",
     kVersion + "IMPLEMENTATION I {\n OS { CTYPE A; }\n TASK { CTYPE B; };\n};\n", 7, "TASK"},
    {"declaration_description_unquoted",
     kVersion + "IMPLEMENTATION I {\n OS { CTYPE A; }, Os;\n};\n", 6, "Os"},
    {"declaration_description_without_semicolon",
     kVersion + "IMPLEMENTATION I {\n OS { CTYPE A; }, \"d\"\n};\n", 7, "}"},
    {"attribute_description_empty",
     kVersion + "IMPLEMENTATION I {\n OS { CTYPE A, \"\";\n };\n};\n", 6, "\""},
    {"attribute_description_without_semicolon",
     kVersion + "IMPLEMENTATION I {\n OS { CTYPE A, \"d\"\n };\n};\n", 7, "}"},
    {"totrace_twice", kVersion + "IMPLEMENTATION I { OS { TOTRACE TOTRACE CTYPE A; }; };", 5,
     "TOTRACE"},
    {"numeric_formula", kVersion + kImpl + "OS O { A = 1; };", 8, "1"},
    {"identifier_formula", kVersion + kImpl + "OS O { A = B; };", 8, "B"},
    {"empty_object", kVersion + kImpl + "OS O {\n};", 9, "}"},
    {"object_without_semicolon", kVersion + kImpl + "OS O { A = \"1\"; }\nOS P { A = \"1\"; };", 9,
     "OS"},
    {"list_star_after_name", kVersion + kImpl + "OS O * { A = \"1\"; };", 8, "*"},
    {"unterminated_comment", kVersion + kImpl + "OS O { A = \"1\";\n/* open\n};\n", 11, ""},
    {"unterminated_string", kVersion + kImpl + "OS O { A = \"open;\n};\n", 10, ""},
    {"nul_byte_is_not_the_end", kVersion + kImpl + "OS O { A = \"1\"; };" + std::string(1, '\0'), 8,
     ""},
    {"second_version_section", kVersion + kVersion, 5, "VERSION"},
};
INSTANTIATE_TEST_SUITE_P(Kinds, KoilSyntaxErrors, ::testing::ValuesIn(kSyntaxErrors),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KoilParser, WhatWasBuiltBeforeASyntaxErrorStays) {
  ParseCapture p;
  EXPECT_EQ(p.parse(versioned("OS { CTYPE A; };", "OS O1 { A = \"1\"; };\nOS O2 { A = 1; };")), 1);
  ASSERT_EQ(p.tree.declarations.size(), 1u);
  ASSERT_EQ(p.tree.definitions.size(), 1u);
  EXPECT_EQ(p.tree.definitions[0]->object_name, "O1");
}

TEST(KoilParser, ReportTextHasTheLoadersForm) {
  EXPECT_EQ(koil_report_text("syntax error", 12, "OS"), "syntax error parsing (line 12):\nOS\n");
}

TEST(KoilParser, ParsesAStreamAndKeepsTheFileName) {
  const std::string text = versioned("OS { CTYPE A; };", "OS O { A = \"1\"; };");
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
  std::rewind(file);
  ParseCapture p;
  p.tree.file_name = "demo.ort";
  p.tree.definitions.push_back(std::make_unique<ObjectDefinition>()); // left from before
  const KoilReports hooks = p.hooks();
  EXPECT_EQ(koil_parse(file, p.tree, p.settings, hooks), 0);
  std::fclose(file);
  EXPECT_EQ(p.tree.file_name, "demo.ort");
  ASSERT_EQ(p.tree.definitions.size(), 1u);
  EXPECT_EQ(p.tree.definitions[0]->object_name, "O");
  orti_tree_clear(p.tree);
  EXPECT_FALSE(p.tree.file_name.has_value());
  EXPECT_FALSE(p.tree.implementation_name.has_value());
  EXPECT_TRUE(p.tree.declarations.empty());
  EXPECT_TRUE(p.tree.definitions.empty());
}

// The deepest stack is reached inside the last element of a long enum list: every element
// and every comma stays on the stack until "]". With the declaration's prefix the peak is
// 2 * elements + 12 entries.
std::string enum_list_file(std::size_t elements) {
  std::string text = "IMPLEMENTATION X {\n A { ENUM [ ";
  text.reserve(text.size() + elements * 6 + 64);
  for (std::size_t i = 0; i < elements; ++i) {
    text += i == 0 ? "\"a\"=1" : ",\"a\"=1";
  }
  text += " ] n; };\n};\nA B { n = \"\"; };\n";
  return text;
}

TEST(KoilParser, StackLimitIsTheLargestLalrStack) {
  constexpr std::size_t kLimit = 0x500000;
  constexpr std::size_t kMostElements = (kLimit - 12) / 2;
  {
    ParseCapture p;
    p.settings.extended_syntax = 1;
    EXPECT_EQ(p.parse(enum_list_file(kMostElements)), 0);
    EXPECT_TRUE(p.reports.empty());
    ASSERT_EQ(p.tree.declarations.size(), 1u);
    EXPECT_EQ(p.tree.declarations[0]->attributes[0].type.elements.size(), kMostElements);
  }
  {
    ParseCapture p;
    p.settings.extended_syntax = 1;
    EXPECT_EQ(p.parse(enum_list_file(kMostElements + 1)), 1);
    ASSERT_EQ(p.reports.size(), 1u);
    EXPECT_EQ(p.reports[0].message, "yacc stack overflow");
    EXPECT_EQ(p.reports[0].token_text, "="); // the fourth token of the last element
    EXPECT_EQ(p.reports[0].line, 2);
  }
}

TEST(KoilParser, ManyDefinitionsAndAttributesParseWithoutDeepRecursion) {
  // One million attributes in one object and a hundred thousand objects: nothing recurses
  // per item, in the parser or when the tree is freed.
  std::string text = "IMPLEMENTATION X { A { STRING a; }; };\nA Big {";
  for (int i = 0; i < 1000000; ++i) {
    text += " a = \"\";";
  }
  text += " };\n";
  for (int i = 0; i < 100000; ++i) {
    text += "A O { a = \"x\"; };\n";
  }
  ParseCapture p;
  EXPECT_EQ(p.parse(text), 0);
  ASSERT_EQ(p.tree.definitions.size(), 100001u);
  EXPECT_EQ(p.tree.definitions[0]->attributes.size(), 1000000u);
  EXPECT_EQ(p.tree.definitions.back()->line, 100002);
  EXPECT_EQ(p.tree.definitions.back()->file_index, 100000u);
}

} // namespace
