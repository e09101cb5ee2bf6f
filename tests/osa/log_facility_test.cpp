// The event log: formatting limits, errno, interval depth, bounded history and dumps.
#include "host_link/log_facility.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class LogFacilityTest : public ::testing::Test {
protected:
  void SetUp() override { log_reset_for_tests(); }
  void TearDown() override { log_reset_for_tests(); }
};

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::size_t count_of(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

TEST_F(LogFacilityTest, TextEventsCarryCategoryAndText) {
  log_text(kLogInfo, "Exit with 0 (help)");
  log_formatted(kLogJsonRead, "%s=%d", "answer", 42);
  const std::string history = log_history_text();
  EXPECT_NE(history.find(" OSA__Info Exit with 0 (help)\n"), std::string::npos) << history;
  EXPECT_NE(history.find(" OSA__JSON__Read answer=42\n"), std::string::npos) << history;
  EXPECT_LT(history.find("OSA__Info"), history.find("OSA__JSON__Read"));
}

TEST_F(LogFacilityTest, NullFormatIsRecordedAsNullText) {
  const char* no_format = nullptr;
  // A null format on purpose: the callee must cope with it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
  log_formatted(kLogInfo, no_format);
#pragma GCC diagnostic pop
  EXPECT_NE(log_history_text().find("OSA__Info (null)\n"), std::string::npos);
}

TEST_F(LogFacilityTest, FormattingAcrossTheSmallBufferKeepsEveryCharacter) {
  // 127 fits the first buffer with its NUL, 128 and 200 need the second formatting.
  for (std::size_t length : {127u, 128u, 200u}) {
    log_reset_for_tests();
    const std::string text(length, 'x');
    log_formatted(kLogInfo, "<%s>", text.c_str());
    EXPECT_NE(log_history_text().find("<" + text + ">\n"), std::string::npos) << length;
  }
}

TEST_F(LogFacilityTest, LongTextsAreCutAt16384Characters) {
  const std::string text(20000, 'y');
  log_formatted(kLogInfo, "%s", text.c_str());
  const std::string history = log_history_text();
  EXPECT_EQ(count_of(history, "y"), 16384u);
  log_reset_for_tests();
  log_text(kLogInfo, text.c_str());
  EXPECT_EQ(count_of(log_history_text(), "y"), 16384u);
}

TEST_F(LogFacilityTest, EveryOperationKeepsErrno) {
  LogIntervalCategory scope{"OsaPluginTime"};
  errno = EINTR;
  log_formatted(kLogInfo, "%s", std::string(500, 'z').c_str());
  EXPECT_EQ(errno, EINTR);
  errno = EAGAIN;
  log_text(kLogInfo, "t");
  log_interval_begin(scope, "x");
  log_interval_end(scope);
  log_set_history_size(10);
  log_dump_history("/nonexistent-root-dir/\x01/cannot");
  EXPECT_EQ(errno, EAGAIN);
}

TEST_F(LogFacilityTest, IntervalsNestAndRecordTheirDepth) {
  LogIntervalCategory scope{"OsaPluginTime"};
  log_interval_begin(scope, "RegRead(%d)", 5);
  EXPECT_EQ(scope.depth, 1u);
  log_interval_begin(scope, "ExprEval(%s)", "a");
  EXPECT_EQ(scope.depth, 2u);
  log_interval_end(scope);
  log_interval_end(scope);
  EXPECT_EQ(scope.depth, 0u);
  log_interval_end(scope); // unbalanced end: nothing recorded, depth stays 0
  EXPECT_EQ(scope.depth, 0u);
  const std::string history = log_history_text();
  EXPECT_NE(history.find("OsaPluginTime begin[1] RegRead(5)\n"), std::string::npos) << history;
  EXPECT_NE(history.find("OsaPluginTime begin[2] ExprEval(a)\n"), std::string::npos);
  EXPECT_NE(history.find("OsaPluginTime end[2] "), std::string::npos);
  EXPECT_NE(history.find("OsaPluginTime end[1] "), std::string::npos);
  EXPECT_EQ(count_of(history, " end["), 2u);
  EXPECT_LT(history.find("end[2]"), history.find("end[1]"));
}

TEST_F(LogFacilityTest, HistoryIsBoundedAndDropsTheOldestFirst) {
  log_set_history_size(200);
  for (int i = 0; i < 50; ++i) {
    log_formatted(kLogInfo, "event-%02d", i);
  }
  const std::string history = log_history_text();
  EXPECT_LE(history.size(), 200u);
  EXPECT_NE(history.find("event-49"), std::string::npos);
  EXPECT_EQ(history.find("event-00"), std::string::npos);
  log_set_history_size(0);
  EXPECT_EQ(log_history_text(), "");
  log_text(kLogInfo, "dropped");
  EXPECT_EQ(log_history_text(), "");
}

TEST_F(LogFacilityTest, DumpWritesANewFileEachTime) {
  const auto dir =
      std::filesystem::temp_directory_path() /
      ("osa_log_dump_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
       std::to_string(reinterpret_cast<uintptr_t>(this)));
  std::filesystem::remove_all(dir);
  log_text(kLogInfo, "first");
  log_dump_history(dir.string().c_str());
  log_text(kLogInfo, "second");
  log_dump_history(dir.string().c_str());
  const std::string one = read_file(dir / "osa_plugin_history_1.log");
  const std::string two = read_file(dir / "osa_plugin_history_2.log");
  EXPECT_NE(one.find("first"), std::string::npos);
  EXPECT_EQ(one.find("second"), std::string::npos);
  EXPECT_NE(two.find("first"), std::string::npos);
  EXPECT_NE(two.find("second"), std::string::npos);
  std::filesystem::remove_all(dir);
}

} // namespace
