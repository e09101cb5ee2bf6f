// The platform module's file helpers with the paths each system writes: drive letters and
// backslashes on Windows, and the exclusive create that keeps a dump from overwriting another.
#include "runtime/platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

TEST(PlatformJoinPath, UsesTheSystemsSeparatorOnce) {
  EXPECT_EQ(platform_join_path("", "f.cfg"), "f.cfg");
#ifdef _WIN32
  EXPECT_EQ(platform_join_path("C:\\Users\\u", "f.cfg"), "C:\\Users\\u\\f.cfg");
  EXPECT_EQ(platform_join_path("C:\\Users\\u\\", "f.cfg"), "C:\\Users\\u\\f.cfg");
  EXPECT_EQ(platform_join_path("C:/Users/u/", "f.cfg"), "C:/Users/u/f.cfg");
  EXPECT_EQ(platform_join_path("C:\\", "f.cfg"), "C:\\f.cfg");
  EXPECT_EQ(platform_join_path("\\\\server\\share", "f.cfg"), "\\\\server\\share\\f.cfg");
#else
  EXPECT_EQ(platform_join_path("/home/u", "f.cfg"), "/home/u/f.cfg");
  EXPECT_EQ(platform_join_path("/home/u/", "f.cfg"), "/home/u/f.cfg");
  EXPECT_EQ(platform_join_path("/", "f.cfg"), "/f.cfg");
#endif
}

class PlatformFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    // temp_directory_path() is a native path: on Windows with a drive letter and backslashes.
    root = fs::temp_directory_path().string();
    root = platform_join_path(root, "osa_platform_test_" + std::to_string(stamp));
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::string root;
};

TEST_F(PlatformFilesTest, DirectoriesAndFilesByNativePaths) {
#ifdef _WIN32
  ASSERT_EQ(root[1], ':') << root;
  ASSERT_NE(root.find('\\'), std::string::npos) << root;
#endif
  const std::string dir = platform_join_path(platform_join_path(root, "a b"), "c");
  EXPECT_FALSE(platform_is_directory(dir));
  ASSERT_TRUE(platform_make_directories(dir));
  EXPECT_TRUE(platform_is_directory(dir));
  EXPECT_TRUE(platform_make_directories(dir)) << "an existing directory is fine";

  const std::string path = platform_join_path(dir, "f.txt");
  std::FILE* out = platform_fopen(path, "wb");
  ASSERT_NE(out, nullptr) << path;
  std::fputs("line\r\n", out);
  std::fclose(out);
  EXPECT_TRUE(platform_is_regular_file(path));
  EXPECT_FALSE(platform_is_directory(path));
  std::FILE* in = platform_fopen(path, "rb");
  ASSERT_NE(in, nullptr);
  char text[16] = {};
  EXPECT_EQ(std::fread(text, 1, sizeof text - 1, in), 6u);
  std::fclose(in);
  EXPECT_STREQ(text, "line\r\n");

  int error_number = 0;
  EXPECT_EQ(platform_open_regular_file(dir, "r", &error_number), nullptr);
  EXPECT_EQ(error_number, EISDIR);
  std::FILE* regular = platform_open_regular_file(path, "r", &error_number);
  ASSERT_NE(regular, nullptr);
  std::fclose(regular);
}

#ifndef _WIN32
// What each kind of path gives the two status checks: links are followed, a path that cannot
// be looked at is left to the open, and only a regular file opens.
TEST_F(PlatformFilesTest, StatusChecksByKindOfPath) {
  ASSERT_TRUE(platform_make_directories(root));
  const std::string file = platform_join_path(root, "f.cfg");
  std::FILE* out = platform_fopen(file, "wb");
  ASSERT_NE(out, nullptr);
  std::fclose(out);
  const std::string dir = platform_join_path(root, "d");
  ASSERT_TRUE(platform_make_directories(dir));
  const std::string fifo = platform_join_path(root, "p");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string to_file = platform_join_path(root, "to_file");
  const std::string to_dir = platform_join_path(root, "to_dir");
  const std::string dangling = platform_join_path(root, "dangling");
  ASSERT_EQ(symlink(file.c_str(), to_file.c_str()), 0);
  ASSERT_EQ(symlink(dir.c_str(), to_dir.c_str()), 0);
  ASSERT_EQ(symlink(platform_join_path(root, "none").c_str(), dangling.c_str()), 0);

  struct Case {
    std::string path;
    bool regular;
    bool opens;
    int error_number; // when it does not open
  };
  const Case cases[] = {
      {file, true, true, 0},
      {to_file, true, true, 0},
      {dir, false, false, EISDIR},
      {to_dir, false, false, EISDIR},
      {fifo, false, false, EINVAL}, // never opened: the open would wait for a writer
      {platform_join_path(root, "none"), false, false, ENOENT},
      {dangling, false, false, ENOENT},
      {platform_join_path(file, "below"), false, false, ENOTDIR},
      {"", false, false, ENOENT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(platform_is_regular_file(c.path), c.regular);
    int error_number = 0;
    std::FILE* in = platform_open_regular_file(c.path, "r", &error_number);
    EXPECT_EQ(in != nullptr, c.opens);
    if (in != nullptr) {
      std::fclose(in);
    } else {
      EXPECT_EQ(error_number, c.error_number);
    }
  }
}
#endif

TEST_F(PlatformFilesTest, ExclusiveCreateRefusesAnExistingFile) {
  ASSERT_TRUE(platform_make_directories(root));
  const std::string path = platform_join_path(root, "dump.log");
  std::FILE* first = platform_fopen(path, "wbx");
  ASSERT_NE(first, nullptr);
  std::fputs("first", first);
  std::fclose(first);
  errno = 0;
  EXPECT_EQ(platform_fopen(path, "wbx"), nullptr) << "an existing file must not be reopened";
  EXPECT_EQ(errno, EEXIST);
  std::FILE* in = platform_fopen(path, "rb");
  ASSERT_NE(in, nullptr);
  char text[16] = {};
  std::fread(text, 1, sizeof text - 1, in);
  std::fclose(in);
  EXPECT_STREQ(text, "first") << "and its contents stay";
}

TEST(PlatformPages, ReadAsZeroAndKeepWhatLiesOutsideTheDiscardedPages) {
  const std::size_t size = 2 * kPlatformLargePage;
  auto* pages = static_cast<unsigned char*>(platform_allocate_pages(size));
  ASSERT_NE(pages, nullptr);
#ifndef _WIN32
  EXPECT_EQ(reinterpret_cast<uintptr_t>(pages) % kPlatformLargePage, 0u);
#endif
  for (std::size_t at : {std::size_t(0), kPlatformLargePage - 1, kPlatformLargePage, size - 1}) {
    EXPECT_EQ(pages[at], 0u) << at;
  }
  std::memset(pages, 0xA5, size);
  // From inside one small page to inside another: only the whole pages between go.
  const std::size_t from = 100;
  const std::size_t to = kPlatformLargePage + 100;
  platform_discard_pages(pages + from, to - from);
  for (std::size_t at : {std::size_t(0), from - 1, from, to, to + 1, size - 1}) {
    EXPECT_EQ(pages[at], 0xA5u) << at;
  }
  for (std::size_t at = from; at < to; ++at) {
    ASSERT_TRUE(pages[at] == 0xA5u || pages[at] == 0u) << at;
  }
  std::memset(pages + from, 0x5A, to - from); // still the caller's to write
  EXPECT_EQ(pages[to - 1], 0x5Au);
  platform_discard_pages(pages + 1, 0);
  EXPECT_EQ(pages[1], 0xA5u);
  platform_free_pages(pages, size);
}

TEST(PlatformPages, MoreThanTheSystemHasIsRefused) {
  EXPECT_EQ(platform_allocate_pages(std::size_t(1) << 62), nullptr);
  EXPECT_EQ(platform_allocate_pages(SIZE_MAX - kPlatformLargePage + 1), nullptr);
}

TEST(PlatformStreamFileSize, IsTheFilesLengthOnlyForARegularFile) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(platform_stream_file_size(file), 0);
  const std::string text(12345, 'x');
  std::fwrite(text.data(), 1, text.size(), file);
  std::fflush(file);
  EXPECT_EQ(platform_stream_file_size(file), 12345);
  std::fclose(file);
#ifndef _WIN32
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  std::FILE* pipe = ::fdopen(ends[0], "r");
  ASSERT_NE(pipe, nullptr);
  EXPECT_EQ(platform_stream_file_size(pipe), -1);
  std::fclose(pipe);
  ::close(ends[1]);
#endif
}

#ifdef _WIN32
TEST(PlatformUserConfigDir, IsUnderAppData) {
  const char* saved = std::getenv("APPDATA");
  const std::string previous = saved != nullptr ? saved : "";
  _putenv_s("APPDATA", "D:\\Users\\u\\AppData\\Roaming");
  EXPECT_EQ(platform_user_config_dir(), "D:\\Users\\u\\AppData\\Roaming\\osa_orti_plugin");
  _putenv_s("APPDATA", "D:\\Roaming\\");
  EXPECT_EQ(platform_user_config_dir(), "D:\\Roaming\\osa_orti_plugin");
  _putenv_s("APPDATA", previous.c_str());
}
#endif

} // namespace
