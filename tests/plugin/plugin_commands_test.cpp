// The command table's matching rule and the commands that act on the plug-in itself.
#include "osa_session_fixture.h"

#include "plugin/command_table.h"
#include "plugin/plugin_commands.h"

#include <cstring>

namespace {

TEST(CommandTable, APrefixMatchesOnlyBeforeWhiteSpaceOrTheEnd) {
  struct Case {
    const char* line;
    const char* row; // null: no row
  };
  const Case cases[] = {
      {"mapregloc2 3 r4 x", "mapregloc2"},
      {"mapregloc 1 r4 x", "mapregloc"},
      {"mapregloc", "mapregloc"},
      {"getpropval 1 1 2", "getpropval"},
      {"getprop\t1 1 2", "getprop"},
      {"set debuglevel 3", "set debuglevel"},
      {"set  debuglevel 3", nullptr},
      {"Help", nullptr},
      {"helpme", nullptr},
      {"", nullptr},
      {" help", nullptr},
  };
  for (const Case& c : cases) {
    const CommandRow* row = find_command(c.line);
    if (c.row == nullptr) {
      EXPECT_EQ(row, nullptr) << c.line;
    } else {
      ASSERT_NE(row, nullptr) << c.line;
      EXPECT_STREQ(row->name, c.row);
    }
  }
}

TEST(CommandTable, FlagArgumentsOnlyFalseForItsThreeWords) {
  struct Case {
    const char* argument;
    bool on;
  };
  const Case cases[] = {{"", true},     {"true", true},     {"false", false}, {"0", false},
                        {"off", false}, {"offline", false}, {"1", true},      {"on", true},
                        {"OFF", true},  {"  off", false},   {"no", true}};
  for (const Case& c : cases) {
    EXPECT_EQ(flag_argument(c.argument), c.on) << '"' << c.argument << '"';
  }
}

using PluginCommandsTest = OsaSessionTest;

TEST_F(PluginCommandsTest, LevelCommandsParseTheirArgumentAndKeepTheLogLevelAbove) {
  init();
  struct Case {
    const char* line;
    int64_t status;
    int32_t debug;
    int32_t log;
  };
  // Each case starts from debug level 4 and log level 5.
  const Case cases[] = {
      {"set debuglevel 10x", 1, 4, 5},      {"set debuglevel -3", 0, 0, 5},
      {"set debuglevel 10", 0, 10, 10},     {"set debuglevel default", 0, 4, 5},
      {"set debuglevel defaults", 1, 4, 5}, {"set debuglevel", 1, 4, 5},
      {"set loglevel 3", 0, 4, 5},          {"set loglevel 50", 0, 4, 50},
      {"set loglevel default ", 0, 4, 5},   {"set loglevel x", 1, 4, 5},
  };
  for (const Case& c : cases) {
    state()->debug_level = 4;
    state()->log_level = 5;
    EXPECT_EQ(command(c.line), c.status) << c.line;
    EXPECT_EQ(state()->debug_level, c.debug) << c.line;
    EXPECT_EQ(state()->log_level, c.log) << c.line;
  }
  state()->log_level = 10;
  EXPECT_EQ(command("set loglevel 3"), 0);
  EXPECT_EQ(state()->log_level, 10) << "never below the debug level";
}

TEST_F(PluginCommandsTest, QuietSilencesOnlyLeveledMessagesAndAnswersZero) {
  init();
  ASSERT_EQ(command("load_orti " + demo_os()), 0);
  const std::size_t shown = messages(2).size();
  EXPECT_EQ(command("quiet load_orti " + demo_os()), 0) << "whatever its command answered";
  EXPECT_EQ(messages(2).size(), shown) << "the refusal goes through the leveled messages";
  EXPECT_EQ(messages(4).back(), "ORTI previously loaded.  load_orti can only be run once.\n")
      << "the log copy stays";
  EXPECT_EQ(state()->debug_level, 4);
  EXPECT_EQ(state()->log_level, 5);
  EXPECT_EQ(command("quiet version"), 0);
  EXPECT_EQ(messages(0).back(), "ORTI OSA Module 0.5\n") << "a direct display still appears";
}

TEST_F(PluginCommandsTest, HelpListsTheRowsWithAHelpText) {
  init();
  EXPECT_EQ(command("help"), 0);
  const std::vector<std::string> lines = messages(0);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines.front(), "clearcache\n\tClear all cached state\n");
  EXPECT_EQ(lines.back(), "version\n\tDisplays version informaiton\n");
}

TEST_F(PluginCommandsTest, FlagCommandsSetTheirFlagAndDropWhatDependsOnIt) {
  init();
  ASSERT_EQ(command("load_orti " + demo_os()), 0);
  state()->task_records[0].warned = true;
  EXPECT_EQ(command("set suppress_context_errors"), 0);
  EXPECT_TRUE(state()->suppress_context_errors);
  EXPECT_FALSE(state()->task_records[0].warned);
  EXPECT_EQ(messages(2).back(), "Suppressing errors for missing task context information\n");
  EXPECT_EQ(command("set suppress_context_errors offline"), 0);
  EXPECT_FALSE(state()->suppress_context_errors);
  const uint64_t generation = state()->generation;
  EXPECT_EQ(command("set check_context_validity on"), 0);
  EXPECT_TRUE(state()->check_context_validity);
  EXPECT_EQ(messages(2).back(), "CONTEXT VALID checks are now ON\n");
  EXPECT_GT(state()->generation, generation);
  EXPECT_EQ(command("togglesymbols"), 0);
  EXPECT_TRUE(state()->show_symbols);
  EXPECT_EQ(command("togglesymbols x"), 0);
  EXPECT_FALSE(state()->show_symbols);
  EXPECT_EQ(command("clearcache"), 0);
  EXPECT_EQ(command("playdead"), 0) << "answers at once";
}

TEST_F(PluginCommandsTest, TheFirstCommandCreatesTheStateButNoTargetData) {
  ASSERT_EQ(ret("OSA_Client_OsaInit"), 0);
  EXPECT_EQ(command("version"), 0);
  ASSERT_NE(state(), nullptr);
  EXPECT_EQ(record()->target_data.object, nullptr);
  EXPECT_EQ(command("no such command"), 1);
  EXPECT_EQ(messages(0).size(), 1u) << "an unknown command shows nothing";
}

} // namespace
