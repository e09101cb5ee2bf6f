// The configuration file: default names, what saveconfig writes, the round trip through the
// per-user directory, the search beside the ORTI file, line handling, nesting and failures.
#include "command_fixture.h"

#include "plugin/config_file.h"
#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { ENUM [ "NO" = 0 ] RUNNINGTASK; };
  TASK { CTYPE PRIORITY; };
  CONTEXT { CTYPE _CPU_PC; CTYPE _CPU_R3; STRING _CPU_R4; CTYPE _CPU_R5; CTYPE vs_NOTE; };
};
OS Os { RUNNINGTASK = "R"; };
TASK T0 { PRIORITY = "P"; };
CONTEXT C0 { _CPU_PC = "C[0].pc"; };
CONTEXT C1 { _CPU_PC = "C[1].pc"; _CPU_R3 = "C[1].r3"; _CPU_R4 = "s"; _CPU_R5 = "b";
             vs_NOTE = "n"; };
)ORTI";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// lines as saveconfig writes them: a text file, whose lines end in CR LF on Windows.
std::string text_file(const std::string& lines) {
#ifdef _WIN32
  std::string text;
  for (const char c : lines) {
    text += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  return text;
#else
  return lines;
#endif
}

void write_file(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The variables that choose the per-user directory: %APPDATA%\osa_orti_plugin on Windows.
#ifdef _WIN32
const char* const kUserDirVariables[] = {"APPDATA"};
#else
const char* const kUserDirVariables[] = {"XDG_CONFIG_HOME", "HOME"};
#endif

void set_env(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
  _putenv_s(name.c_str(), value ? value->c_str() : ""); // an empty value removes it
#else
  value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
#endif
}

class ConfigFileTest : public CommandTest {
protected:
  void SetUp() override {
    CommandTest::SetUp();
    dir = temp.path();
    for (const char* variable : kUserDirVariables) {
      const char* value = std::getenv(variable);
      saved_env.emplace_back(variable, value ? std::optional<std::string>(value) : std::nullopt);
    }
#ifdef _WIN32
    set_env("APPDATA", (dir / "appdata").string());
#else
    set_env("XDG_CONFIG_HOME", (dir / "xdg").string());
    set_env("HOME", (dir / "home").string());
#endif
    load(kFile, (dir / "orti" / "os.ort").string());
  }
  void TearDown() override {
    for (const auto& [variable, value] : saved_env) {
      set_env(variable, value);
    }
    CommandTest::TearDown();
  }
#ifdef _WIN32
  fs::path config_dir() const {
    return dir / "appdata" / "osa_orti_plugin";
  }
#else
  fs::path config_dir() const {
    return dir / "xdg" / "osa_orti_plugin";
  }
#endif
  // Marks the location attribute n of context c as set by a command.
  void user_set(std::size_t c, std::size_t n) {
    state.model->contexts[c].custom_attributes[n].flag = true;
  }

  TempFolder temp{"config_file"};
  fs::path dir;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_env;
};

TEST_F(ConfigFileTest, DefaultNameIsTheLastPathComponentWithCfg) {
  const std::pair<const char*, const char*> cases[] = {{"os.ort", "os.ort.cfg"},
                                                       {"/a/b/os.ort", "os.ort.cfg"},
                                                       {"C:os.ort", "os.ort.cfg"},
                                                       {"C:\\x\\os.ort", "os.ort.cfg"},
                                                       {"a/b\\c.ort", "c.ort.cfg"},
                                                       {"a:b/c", "c.cfg"},
                                                       {"dir/", ".cfg"}};
  for (const auto& [path, name] : cases) {
    EXPECT_EQ(default_config_name(path), name) << path;
  }
}

TEST_F(ConfigFileTest, SavedLinesReplayToTheSameState) {
  EXPECT_TRUE(config_text(state).lines.empty());
  state.suppress_context_errors = true;
  state.register_names = {{5, {"pc", "r15"}}, {12, {"my reg", "", "lost"}}, {3, {"a\nb", "r3"}}};
  user_set(1, 1); // _CPU_R3
  user_set(1, 2); // _CPU_R4, given a quoted text as its formula
  user_set(1, 3); // _CPU_R5, given a formula with a line break
  state.model->contexts[1].custom_attributes[2].attribute->formula = keep_text(state, "\"s\"");
  state.model->contexts[1].custom_attributes[3].attribute->formula = keep_text(state, "a\nb");
  user_set(1, 4); // vs_NOTE, no location
  const ConfigText text = config_text(state);
  const std::vector<std::string> expected = {
      "set suppress_context_errors\n", "mapregname 5 r15\n", "mapregname 5 pc\n",
      "mapregname 12 my reg\n",        "mapregname 3 r3\n",  "mapregloc2 1 R3 C[1].r3\n",
      "mapregloc2 1 R4 \"\"s\"\"\n"};
  EXPECT_EQ(text.lines, expected);
  EXPECT_EQ(text.skipped.size(), 2u);
}

TEST_F(ConfigFileTest, RoundTripThroughTheUserDirectory) {
  EXPECT_EQ(run("saveconfig"), 0);
  EXPECT_EQ(read_file(config_dir() / "os.ort.cfg"), "") << "nothing to save: an empty file";
  state.suppress_context_errors = true;
  EXPECT_EQ(run("saveconfig"), 0);
  EXPECT_EQ(read_file(config_dir() / "os.ort.cfg"), text_file("set suppress_context_errors\n"));
  state.suppress_context_errors = false;
  const uint64_t generation = state.generation;
  EXPECT_EQ(run("loadconfig"), 0);
  EXPECT_TRUE(state.suppress_context_errors);
  EXPECT_GT(state.generation, generation);
#ifndef _WIN32
  // Without XDG_CONFIG_HOME the directory is under HOME.
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(run("saveconfig"), 0);
  EXPECT_TRUE(fs::is_regular_file(dir / "home" / ".config" / "osa_orti_plugin" / "os.ort.cfg"));
#endif
}

// The settings a configuration file carries, as text.
std::vector<std::string> settings(const PluginState& state) {
  std::vector<std::string> out = {state.suppress_context_errors ? "suppress" : "report"};
  for (const RegisterNameEntry& entry : state.register_names) {
    for (const std::string& name : entry.names) {
      out.push_back(std::to_string(entry.id) + ":" + name);
    }
  }
  for (std::size_t i = 0; i < state.model->contexts.size(); ++i) {
    for (const CustomAttribute& custom : state.model->contexts[i].custom_attributes) {
      if (custom.flag) {
        out.push_back(std::to_string(i) + " " + custom.attribute->name() + "=" +
                      custom.attribute->formula);
      }
    }
  }
  return out;
}

TEST_F(ConfigFileTest, RegisterCommandsRoundTrip) {
  for (const char* line : {"set suppress_context_errors", "mapregname 5 pc", "mapregname 7 sp",
                           "mapregname 5 r15", "mapregname 12 my reg", "mapregloc2 1 r3 C[1].x",
                           "mapregloc2 0 pc \"\"q\"\"", "mapregloc2 1 NEW a + 1"}) {
    ASSERT_EQ(run(line), 0) << line;
  }
  EXPECT_EQ(run("saveconfig"), 0);
  const std::vector<std::string> saved = settings(state);
  EXPECT_EQ(saved.size(), 8u); // the flag, four names, three locations
  PluginState fresh;
  OrtiLoadSink sink;
  ASSERT_EQ(orti_load_text(kFile, (dir / "orti" / "os.ort").string(), 0, sink, fresh.orti),
            OrtiLoadStatus::Loaded);
  attach_model(fresh, fresh.orti.model.get());
  EXPECT_EQ(osa_cmd_execute(&ctx, nullptr, &fresh, "loadconfig"), 0);
  EXPECT_EQ(settings(fresh), saved);
}

TEST_F(ConfigFileTest, TheFileBesideTheOrtiFileComesFirst) {
  write_file(config_dir() / "os.ort.cfg", "set suppress_context_errors\n");
  write_file(dir / "orti" / "os.ort.cfg", "set check_context_validity\n");
  EXPECT_EQ(run("loadconfig"), 0);
  EXPECT_TRUE(state.check_context_validity);
  EXPECT_FALSE(state.suppress_context_errors);
  fs::remove(dir / "orti" / "os.ort.cfg");
  EXPECT_EQ(run("loadconfig"), 0);
  EXPECT_TRUE(state.suppress_context_errors);
}

TEST_F(ConfigFileTest, LinesAreTrimmedReadWholeAndABadOneStopsTheLoad) {
  const fs::path file = dir / "a b.cfg";
  write_file(file, "  set suppress_context_errors\r\n\n\t\r\nquiet set check_context_validity\r\n"
                   "set loglevel" +
                       std::string(5000, ' ') + "9\n" + "bogus line\r\nset loglevel 20\n");
  EXPECT_EQ(run("loadconfig " + file.string()), 1);
  EXPECT_TRUE(state.suppress_context_errors);
  EXPECT_TRUE(state.check_context_validity);
  EXPECT_EQ(state.log_level, 9) << "the long line ran whole, the line after the bad one not";
  EXPECT_EQ(messages(2).back(),
            "Could not execute bogus line\nAborting parsing of " + file.string() + "...\n");
}

TEST_F(ConfigFileTest, NestedLoadsAreBounded) {
  write_file(dir / "inner.cfg", "set suppress_context_errors\n");
  write_file(dir / "outer.cfg", "loadconfig " + (dir / "inner.cfg").string() + "\n");
  EXPECT_EQ(run("loadconfig " + (dir / "outer.cfg").string()), 0);
  EXPECT_TRUE(state.suppress_context_errors);
  const fs::path self = dir / "self.cfg";
  write_file(self, "loadconfig " + self.string() + "\n");
  debugger->clear_record();
  EXPECT_EQ(run("loadconfig " + self.string()), 1);
  EXPECT_EQ(state.config_depth, 0);
  const std::vector<std::string> shown = messages(2);
  ASSERT_EQ(shown.size(), 1u + kMaxConfigDepth);
  EXPECT_EQ(shown[0], "Configuration files nest more than 8 deep (does one load itself?); " +
                          self.string() + " is not loaded\n");
  // quiet swallows each failure, so ten self-loading lines would fan out to 10^8 loads.
  const fs::path fan = dir / "fan.cfg";
  std::string lines;
  for (int i = 0; i < 10; ++i) {
    lines += "quiet loadconfig " + fan.string() + "\n";
  }
  write_file(fan, lines);
  EXPECT_EQ(run("loadconfig " + fan.string()), 0);
  EXPECT_EQ(state.config_files, kMaxConfigFiles);
  EXPECT_EQ(state.config_depth, 0);
}

TEST_F(ConfigFileTest, FailuresAnswerOneWithTheirMessage) {
  write_file(dir / "ok.cfg", "");
  const std::string d = dir.string();
  struct Case {
    std::string line;
    std::vector<std::string> shown; // messageType 2
  } cases[] = {
      {"loadconfig " + d,
       {"Could not open configuration file " + d + " for reading\n",
        "ORTI OSA Config File " + d + ": Is a directory\n"}},
      {"saveconfig " + d,
       {"Could not open configuration file " + d + " for writing\n",
        "ORTI OSA Config File " + d + ": Is a directory\n"}},
      {"saveconfig " + d + "/missing/x.cfg",
       {"Could not open configuration file " + d + "/missing/x.cfg for writing\n",
        "ORTI OSA Config File " + d + "/missing/x.cfg: No such file or directory\n"}},
      {"loadconfig " + d + "/none%s.cfg",
       {"Could not open configuration file " + d + "/none#s.cfg for reading\n",
        "ORTI OSA Config File " + d + "/none#s.cfg: No such file or directory\n"}},
#ifndef _WIN32
      // A file that opens but cannot be read (Windows has no such file to point at).
      {"loadconfig /proc/self/mem",
       {"Error reading from /proc/self/mem\nAborting parsing of /proc/self/mem...\n"}},
#endif
  };
  for (const Case& c : cases) {
    debugger->clear_record();
    EXPECT_EQ(run(c.line), 1) << c.line;
    EXPECT_EQ(messages(2), c.shown) << c.line;
  }
  // Without an ORTI file there is no default name.
  PluginState fresh;
  for (const char* command : {"saveconfig", "loadconfig"}) {
    debugger->clear_record();
    EXPECT_EQ(osa_cmd_execute(&ctx, nullptr, &fresh, command), 1);
    EXPECT_EQ(messages(2), std::vector<std::string>{
                               "No ORTI file is loaded, so there is no default configuration "
                               "file.\nUsage: " +
                               std::string(command) + " FILE\n"});
  }
}

} // namespace
