// The ORTI file's path as a user gives it to load_orti: on Windows with a drive letter and
// backslashes, with forward slashes, or with both. Every form names the same file; a missing one
// is reported with the path exactly as given.
#include "orti/orti_load.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const OrtiLoadSink kQuiet{};

TEST(OrtiPaths, EveryFormOfThePathLoadsTheSameFile) {
  const fs::path file = fs::path(OSA_SOURCE_DIR) / "examples" / "demo_os.ort";
  // Forward slashes up to the folder, the system's separator before the name.
  const std::string mixed = file.parent_path().generic_string() +
                            static_cast<char>(fs::path::preferred_separator) + "demo_os.ort";
  const std::vector<std::string> forms = {file.string(), file.generic_string(), mixed};
  std::size_t tasks = 0;
  for (const std::string& path : forms) {
    LoadedOrti loaded;
    ASSERT_EQ(orti_load_file(path, 0, kQuiet, loaded), OrtiLoadStatus::Loaded) << path;
    ASSERT_NE(loaded.model, nullptr) << path;
    EXPECT_EQ(loaded.tree.file_name.value_or(""), path);
    if (tasks == 0) {
      tasks = loaded.model->tasks.size();
    }
    EXPECT_GT(loaded.model->tasks.size(), 0u) << path;
    EXPECT_EQ(loaded.model->tasks.size(), tasks) << path;
  }
#ifdef _WIN32
  // The tests see the tree with a drive letter (OSA_SOURCE_DIR), so the native form has one.
  EXPECT_EQ(file.string()[1], ':');
  EXPECT_NE(file.string().find('\\'), std::string::npos);
#endif
}

TEST(OrtiPaths, AMissingFileIsReportedWithThePathAsGiven) {
  const std::string path = (fs::path(OSA_SOURCE_DIR) / "examples" / "no_such_file.ort").string();
  int error_number = 0;
  EXPECT_EQ(orti_open(path, &error_number), nullptr);
  EXPECT_EQ(error_number, ENOENT);
  EXPECT_EQ(orti_open_failure_text(path, error_number),
            "Could not open file " + path + ": No such file or directory\n");
  // A directory, named with a trailing separator, is refused too.
  const std::string dir = (fs::path(OSA_SOURCE_DIR) / "examples" / "").string();
  EXPECT_EQ(orti_open(dir, &error_number), nullptr);
  EXPECT_EQ(error_number, EISDIR);
}

} // namespace
