// Golden-file tests of orti-check: every ORTI file of the corpus (tests/data/orti/*.ort,
// tests/data/orti/model/*.ort and tests/data/orti/dialect/*.ort) is checked by the built tool,
// and its standard output, standard error and exit status are compared with
// tests/data/orti/golden/<name>.out (model files: golden/model/<name>.out, and so on). A few
// files are also checked with options (kOptionCases), and every file of OS generators'
// constructs with --extended_syntax as well (golden/dialect/<name>.extended.out).
//
// To regenerate the expected files after a deliberate change, run the test program with
// ORTI_GOLDEN_UPDATE=1 in the environment, then read every changed file before accepting it:
//   ORTI_GOLDEN_UPDATE=1 build/<dir>/tests/orti/model/orti_model_tests --gtest_filter='Golden*'
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

#ifdef ORTI_CHECK_EXE

const fs::path kDataDir = fs::path(OSA_TEST_DATA_DIR) / "orti";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What the tool wrote to a redirected stream: text, whose lines the Windows C runtime ends with
// CR LF; read in text mode there they end in LF, as everywhere else.
std::string read_output(const fs::path& path) {
#ifdef _WIN32
  std::ifstream in(path);
#else
  std::ifstream in(path, std::ios::binary);
#endif
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs command with the system's shell. cmd.exe takes the first and the last quote of a line that
// starts with one away, which would break a quoted program path followed by quoted arguments:
// one more pair of quotes around the whole line is what it removes there.
int run_shell(const std::string& command) {
#ifdef _WIN32
  return std::system(("\"" + command + "\"").c_str());
#else
  return std::system(command.c_str());
#endif
}

void replace_all(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

// Runs the tool and renders what it wrote, with the corpus directory shown as $DATA so that
// the expected files do not depend on where the tree is checked out.
std::string run_check(const std::string& options, const fs::path& input) {
  const TempFolder dir("orti_check");
  const fs::path out = dir.path() / "stdout.txt";
  const fs::path err = dir.path() / "stderr.txt";
  const std::string command = "\"" + std::string(ORTI_CHECK_EXE) + "\" " + options + " \"" +
                              input.string() + "\" > \"" + out.string() + "\" 2> \"" +
                              err.string() + "\"";
  const int raw = run_shell(command);
#ifdef _WIN32
  const int status = raw;
#else
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
  std::string rendered = "--- stdout\n" + read_output(out) + "--- stderr\n" + read_output(err) +
                         "--- exit status " + std::to_string(status) + "\n";
  // The tool shows the path as given, with the platform's separators: the expected files
  // name it $DATA/ and the rest with forward slashes.
  replace_all(rendered, input.string(),
              "$DATA/" + input.lexically_relative(kDataDir).generic_string());
  replace_all(rendered, kDataDir.string(), "$DATA");
  return rendered;
}

struct GoldenCase {
  fs::path input;
  std::string options;
  fs::path expected;
};

// Files checked again with options, beside their plain check.
const struct {
  const char* input;
  const char* options;
  const char* expected;
} kOptionCases[] = {
    {"model/state_ctype.ort", "--extended_syntax", "model/state_ctype.extended.out"},
    {"model/links.ort", "--trace 102", "model/links.trace102.out"},
    {"model/task_list.ort", "--trace 110", "model/task_list.trace110.out"},
    {"model/old_style_bare_ctype.ort", "--trace 100", "model/old_style_bare_ctype.trace100.out"},
    {"dialect/several_os.ort", "--trace 4", "dialect/several_os.trace4.out"},
};

std::vector<GoldenCase> golden_cases() {
  std::vector<GoldenCase> cases;
  for (const char* sub : {"", "model", "dialect"}) {
    const fs::path dir = kDataDir / sub;
    std::vector<fs::path> inputs;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.is_regular_file() && entry.path().extension() == ".ort") {
        inputs.push_back(entry.path());
      }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
      fs::path expected = kDataDir / "golden" / sub / input.stem();
      expected += ".out";
      cases.push_back({input, "", expected});
      if (std::string(sub) == "dialect") {
        fs::path extended = kDataDir / "golden" / sub / input.stem();
        extended += ".extended.out";
        cases.push_back({input, "--extended_syntax", extended});
      }
    }
  }
  for (const auto& c : kOptionCases) {
    cases.push_back({kDataDir / c.input, c.options, kDataDir / "golden" / c.expected});
  }
  return cases;
}

TEST(GoldenOrtiCheck, EveryCorpusFileMatchesItsExpectedOutput) {
  const bool update = std::getenv("ORTI_GOLDEN_UPDATE") != nullptr;
  const std::vector<GoldenCase> cases = golden_cases();
  ASSERT_GT(cases.size(), 20u); // both corpus folders were found
  for (const GoldenCase& c : cases) {
    const std::string actual = run_check(c.options, c.input);
    if (update) {
      fs::create_directories(c.expected.parent_path());
      std::ofstream(c.expected, std::ios::binary) << actual;
      continue;
    }
    ASSERT_TRUE(fs::exists(c.expected))
        << c.expected << " is missing; see the header of this file to create it";
    EXPECT_EQ(actual, read_file(c.expected)) << c.input << " " << c.options;
  }
}

TEST(GoldenOrtiCheck, UsageErrorsExitWithTwo) {
  const TempFolder dir("orti_check_usage");
  for (const char* options : {"", "--trace", "--trace x", "--bogus", "a.ort b.ort"}) {
    const std::string command = "\"" + std::string(ORTI_CHECK_EXE) + "\" " + options + " > \"" +
                                dir.file("usage.txt") + "\" 2>&1";
    const int raw = run_shell(command);
#ifndef _WIN32
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 2) << options;
#else
    EXPECT_EQ(raw, 2) << options;
#endif
  }
}

// A path that names no readable file (a directory opens on some systems but cannot be read as
// ORTI text) fails the load with status 1, not with the usage status.
TEST(GoldenOrtiCheck, UnreadablePathIsReportedAndFails) {
  for (const char* name : {"no_such_file.ort", "model"}) {
    const std::string rendered = run_check("", kDataDir / name);
    EXPECT_NE(rendered.find(std::string("Could not open file $DATA/") + name + ": "),
              std::string::npos)
        << rendered;
    EXPECT_NE(rendered.find("--- exit status 1\n"), std::string::npos) << rendered;
  }
}

#endif // ORTI_CHECK_EXE

} // namespace
