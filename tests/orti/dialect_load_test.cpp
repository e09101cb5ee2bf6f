// ORTI files as OS generators write them, through the shared load path: one small file per
// construct (tests/data/orti/dialect/), loaded strictly and with extended syntax, and the
// malformed uses of the constructs, which must be refused or dropped with a message that names
// the file and the line.
#include "orti/orti_load.h"
#include "orti/parser/koil_parser.h"
#include "runtime/message_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

// The runtime's message output beside the sink's levels.
constexpr int32_t kError = -3;
constexpr int32_t kWarning = -4;

// Everything one load wrote, in order, through its sink and the runtime's message output.
struct LoadCapture {
  std::vector<std::pair<int32_t, std::string>> messages; // level, text
  OrtiLoadSink sink;

  LoadCapture() {
    sink.message = [](void* user, int32_t level, const char* text) {
      static_cast<LoadCapture*>(user)->messages.emplace_back(level, text);
    };
    sink.user = this;
    sink.max_level = kOrtiDialectHintLevel;
    set_message_sink(
        [](void* user, MessageSeverity severity, const char* text) {
          static_cast<LoadCapture*>(user)->messages.emplace_back(
              severity == MessageSeverity::Error ? kError : kWarning, text);
        },
        this);
  }
  ~LoadCapture() { reset_message_sink(); }
  LoadCapture(const LoadCapture&) = delete;
  LoadCapture& operator=(const LoadCapture&) = delete;

  std::vector<std::string> of(std::initializer_list<int32_t> levels) const {
    std::vector<std::string> out;
    for (const auto& [level, text] : messages) {
      if (std::find(levels.begin(), levels.end(), level) != levels.end()) {
        out.push_back(text);
      }
    }
    return out;
  }
  std::vector<std::string> errors() const { return of({0, kError}); }
  std::vector<std::string> warnings() const { return of({kWarning}); }
};

std::string dialect_file(const char* name) {
  return std::string(OSA_TEST_DATA_DIR) + "/orti/dialect/" + name;
}

struct DialectCase {
  const char* file;
  KoilDialect construct;
  int32_t line; // of the first use
  // The first error of a strict load, as the grammar or the model writes it; null for a
  // construct that the grammar accepts (the strict load then succeeds without a word).
  const char* strict_error;
};

const DialectCase kDialectCases[] = {
    {"array_koil22.ort", KoilDialect::Array, 8, "syntax error parsing (line 8):\n[\n"},
    {"trailing_comma.ort", KoilDialect::TrailingComma, 7, "syntax error parsing (line 7):\n]\n"},
    {"bare_value.ort", KoilDialect::BareValue, 13, "syntax error parsing (line 13):\n5\n"},
    {"missing_semicolon.ort", KoilDialect::MissingSemicolon, 12,
     "syntax error parsing (line 13):\nvs_ID\n"},
    {"koil_text.ort", KoilDialect::KoilVersionText, 3,
     "syntax error parsing (line 3):\nPLATFORM\n"},
    {"several_os.ort", KoilDialect::SeveralOs, 15, "Multiple OS definitions found!\n"},
    {"repeated_label.ort", KoilDialect::RepeatedLabel, 8, nullptr},
};

class DialectFiles : public ::testing::TestWithParam<DialectCase> {};

// Strict: the grammar's own error first and the hint last, once. Extended: the file loads with
// exactly one message, the warning for the construct with the file and line of its first use.
TEST_P(DialectFiles, StrictFailsWithTheHintAndExtendedLoadsWithOneWarning) {
  const DialectCase& c = GetParam();
  const std::string path = dialect_file(c.file);
  {
    LoadCapture strict;
    LoadedOrti loaded;
    const OrtiLoadStatus status = orti_load_file(path, 0, strict.sink, loaded);
    if (c.strict_error == nullptr) {
      EXPECT_EQ(status, OrtiLoadStatus::Loaded);
      EXPECT_TRUE(strict.messages.empty());
    } else {
      EXPECT_NE(status, OrtiLoadStatus::Loaded);
      ASSERT_FALSE(strict.errors().empty());
      EXPECT_EQ(strict.errors()[0], c.strict_error);
      ASSERT_FALSE(strict.messages.empty());
      EXPECT_EQ(strict.messages.back(),
                std::make_pair(kOrtiDialectHintLevel, std::string(kOrtiDialectHint)));
      EXPECT_EQ(strict.of({kOrtiDialectHintLevel}).size(), 1u);
    }
    EXPECT_TRUE(strict.warnings().empty());
  }
  LoadCapture extended;
  LoadedOrti loaded;
  ASSERT_EQ(orti_load_file(path, 1, extended.sink, loaded), OrtiLoadStatus::Loaded);
  ASSERT_EQ(extended.messages.size(), 1u) << extended.messages.back().second;
  const std::string warning = extended.warnings().at(0);
  EXPECT_NE(warning.find(" at line " + std::to_string(c.line) + " of " + path +
                         ": accepted as extended syntax"),
            std::string::npos)
      << warning;
  EXPECT_EQ(loaded.tree.dialect_line(c.construct), c.line);
  int32_t used = 0;
  for (int32_t line : loaded.tree.dialect_lines) {
    used += line != 0 ? 1 : 0;
  }
  EXPECT_EQ(used, 1);
}

INSTANTIATE_TEST_SUITE_P(Constructs, DialectFiles, ::testing::ValuesIn(kDialectCases),
                         [](const auto& info) {
                           const std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

// The element picked for a core, as a reader of the model is told to pick it: one element serves
// every core, a longer array none beyond its end and none where the file left an index out.
TEST(DialectArrays, ElementsByIndexAndTheFormulaForEachCore) {
  const std::string text = R"(VERSION { KOIL = "2.3"; OSSEMANTICS = "ORTI", "2.3"; };
IMPLEMENTATION A {
  OS { ENUM [ "NO_TASK" = 0 ] RUNNINGTASK[]; CTYPE LOAD; CTYPE vs_ONE[]; CTYPE vs_GAP[]; };
};
OS Os1 {
  RUNNINGTASK[1] = "run1"; LOAD = "load"; RUNNINGTASK[0] = "run0";
  vs_ONE[0] = "one"; vs_GAP[2] = "gap2"; vs_GAP[1] = "gap1";
};
)";
  LoadCapture capture;
  LoadedOrti loaded;
  ASSERT_EQ(orti_load_text(text, "a.ort", 0, capture.sink, loaded), OrtiLoadStatus::Loaded);
  const OrtiObject& os = loaded.model->os;
  const AttributeDecl& running = *os.standard[kOsRunningTask];
  EXPECT_EQ(attribute_element_count(running), 2);
  EXPECT_STREQ(running.formula, "run0"); // what a reader unaware of cores reads
  EXPECT_STREQ(attribute_formula_for_core(running, 0), "run0");
  EXPECT_STREQ(attribute_formula_for_core(running, 1), "run1");
  EXPECT_EQ(attribute_formula_for_core(running, 2), nullptr);
  ASSERT_EQ(os.custom_attributes.size(), 3u); // LOAD, vs_ONE, vs_GAP: each declared once
  const AttributeDecl& load = *os.custom_attributes[0].attribute;
  EXPECT_EQ(attribute_element_count(load), 1);
  EXPECT_STREQ(attribute_formula_for_core(load, 5), "load");
  const AttributeDecl& one = *os.custom_attributes[1].attribute;
  EXPECT_EQ(attribute_element_count(one), 1);
  EXPECT_STREQ(attribute_formula_for_core(one, 5), "one");
  const AttributeDecl& gap = *os.custom_attributes[2].attribute;
  EXPECT_EQ(attribute_element_count(gap), 3);
  EXPECT_EQ(gap.formula, nullptr);
  EXPECT_EQ(attribute_formula_for_core(gap, 0), nullptr);
  EXPECT_STREQ(attribute_formula_for_core(gap, 2), "gap2");
  EXPECT_EQ(capture.warnings().at(0),
            "Array vs_GAP of object Os1 defined at line 8 of a.ort has no element 0\n");
}

// The dual-core demo's file, KOIL 2.3 with per-core OS arrays, as it is: strictly, silently.
TEST(DialectArrays, TheDualCoreDemoFileLoadsStrictly) {
  LoadCapture capture;
  LoadedOrti loaded;
  ASSERT_EQ(
      orti_load_file(std::string(OSA_SOURCE_DIR) + "/examples/demo_target_smp/demo_target_smp.ort",
                     0, capture.sink, loaded),
      OrtiLoadStatus::Loaded);
  EXPECT_TRUE(capture.messages.empty()) << capture.messages[0].second;
  const AttributeDecl& running = *loaded.model->os.standard[kOsRunningTask];
  EXPECT_EQ(attribute_element_count(running), 2);
  EXPECT_STREQ(attribute_formula_for_core(running, 1), "OsCore[1].running_id");
}

// The n-th OS object in file order serves core n; one OS object serves every core.
TEST(DialectSeveralOs, TheNthOsObjectServesCoreN) {
  LoadCapture capture;
  LoadedOrti loaded;
  ASSERT_EQ(orti_load_file(dialect_file("several_os.ort"), 1, capture.sink, loaded),
            OrtiLoadStatus::Loaded);
  const OrtiModel& model = *loaded.model;
  ASSERT_EQ(os_object_count(model), 2u);
  EXPECT_STREQ(os_for_core(model, 0)->name, "Core0_app");
  EXPECT_STREQ(os_for_core(model, 1)->name, "Core1_app");
  EXPECT_EQ(os_for_core(model, 2), nullptr);
  EXPECT_STREQ(os_for_core(model, 1)->standard[kOsRunningTask]->formula, "Core1.running");
  EXPECT_TRUE(model.vendor_kinds.empty()); // no OS definition was left to the vendor step

  LoadedOrti single;
  ASSERT_EQ(orti_load_file(dialect_file("array_koil23.ort"), 0, capture.sink, single),
            OrtiLoadStatus::Loaded);
  EXPECT_EQ(os_object_count(*single.model), 1u);
  EXPECT_EQ(os_for_core(*single.model, 7), &single.model->os);
}

struct BadCase {
  const char* name;
  const char* os_body; // the OS object's definitions
  // What the message must hold (beside the file and line that every message names).
  const char* message;
  int32_t line;
  bool loads; // the rest of the file still loads
};

// KOIL 2.2 with extended syntax, so that arrays and the other constructs are all open.
const char kBadDeclarations[] = R"(VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION Bad {
  OS { ENUM [ "NO_TASK" = 0 ] RUNNINGTASK[]; CTYPE PLAIN; };
};
OS Os1 {
)";

const BadCase kBadCases[] = {
    {"index_on_plain", "PLAIN[0] = \"p\"; RUNNINGTASK[0] = \"r\";",
     "PLAIN[0] at line 6 of bad.ort has an index, but PLAIN is not declared as an array", 6, true},
    {"no_index_on_array", "RUNNINGTASK = \"r\"; PLAIN = \"p\";",
     "RUNNINGTASK at line 6 of bad.ort has no index, but RUNNINGTASK is declared as an array", 6,
     true},
    {"index_twice", "RUNNINGTASK[0] = \"a\";\nRUNNINGTASK[0] = \"b\";",
     "RUNNINGTASK[0] at line 7 of bad.ort is defined twice in object Os1 (first at line 6)", 7,
     true},
    {"index_above_64", "RUNNINGTASK[0] = \"a\"; RUNNINGTASK[65] = \"b\";",
     "Index 65 of RUNNINGTASK at line 6 of bad.ort is above 64", 6, true},
    {"index_beyond_32_bits", "RUNNINGTASK[0] = \"a\"; RUNNINGTASK[0x100000000] = \"b\";",
     "Index 2147483647 of RUNNINGTASK at line 6 of bad.ort is above 64", 6, true},
    {"value_neither_identifier_nor_number", "PLAIN = &p;",
     "the value of PLAIN at line 6 of bad.ort is neither a quoted text, an identifier nor a "
     "number",
     6, false},
    {"missing_semicolon_before_a_string", "PLAIN = \"p\" \"q\";",
     "\";\" expected after the definition of PLAIN at line 6 of bad.ort", 6, false},
    {"missing_semicolon_before_no_definition", "PLAIN = \"p\"\nRUNNINGTASK \"q\";",
     "\";\" missing at line 6 of bad.ort, and the text after it is no attribute definition", 7,
     false},
};

class DialectBadInput : public ::testing::TestWithParam<BadCase> {};

// A definition that contradicts its declaration is dropped with an error, and the file loads;
// text that leaves the grammar's reading ambiguous ends the parse with an error. Each message
// names the file and the line, and the element that the rules allow stays.
TEST_P(DialectBadInput, IsReportedWithFileAndLine) {
  const BadCase& c = GetParam();
  const std::string text = std::string(kBadDeclarations) + "  " + c.os_body + "\n};\n";
  LoadCapture capture;
  LoadedOrti loaded;
  const OrtiLoadStatus status = orti_load_text(text, "bad.ort", 1, capture.sink, loaded);
  const std::vector<std::string> errors = capture.errors();
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
  if (!c.loads) {
    EXPECT_EQ(status, OrtiLoadStatus::ParseErrors);
    EXPECT_NE(errors[0].find("parsing (line " + std::to_string(c.line) + ")"), std::string::npos)
        << errors[0];
    return;
  }
  ASSERT_EQ(status, OrtiLoadStatus::Loaded);
  EXPECT_EQ(errors.size(), 1u);
  const AttributeDecl* running = loaded.model->os.standard[kOsRunningTask].get();
  if (running != nullptr) {
    EXPECT_EQ(attribute_element_count(*running), 1);
    EXPECT_STREQ(attribute_formula_for_core(*running, 0), running->formula);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DialectBadInput, ::testing::ValuesIn(kBadCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
