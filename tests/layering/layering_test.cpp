// The dependency rule of the source tree: a module includes only modules below it, in the
// order runtime, JSON, host link, OSA layer, ORTI parser, ORTI model, ORTI loading, awareness,
// plug-in. The CMake libraries link the same way; this check catches an include that would
// creep upward before it turns into a link error or a cycle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Module folders under src/, lowest first; the longest matching prefix names a file's module.
const std::vector<std::string> kModules = {"runtime",     "host_link/simple_json",
                                           "host_link",   "osa",
                                           "orti/parser", "orti/model",
                                           "orti",        "awareness",
                                           "plugin"};

// The rank of the module a path under src/ belongs to, or -1.
int rank_of(const std::string& path) {
  int best = -1;
  std::size_t best_length = 0;
  for (std::size_t i = 0; i < kModules.size(); ++i) {
    const std::string& m = kModules[i];
    if (path.compare(0, m.size() + 1, m + "/") == 0 && m.size() > best_length) {
      best = static_cast<int>(i);
      best_length = m.size();
    }
  }
  return best;
}

struct Violation {
  std::string file;
  std::string included;
};

// The includes of one file (path relative to src/, text its contents) that reach above it.
std::vector<Violation> upward_includes(const std::string& path, const std::string& text) {
  std::vector<Violation> found;
  const int own = rank_of(path);
  static const std::regex include_line(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    const std::string line = text.substr(start, end - start);
    std::smatch m;
    if (std::regex_search(line, m, include_line)) {
      const int target = rank_of(m[1].str());
      if (own >= 0 && target > own) {
        found.push_back({path, m[1].str()});
      }
    }
    start = end + 1;
  }
  return found;
}

TEST(LayeringTest, TheCheckSeesAnUpwardInclude) {
  EXPECT_EQ(upward_includes("osa/x.cpp", "#include \"plugin/plugin_state.h\"\n").size(), 1u);
  EXPECT_EQ(upward_includes("orti/model/x.h", "  #  include \"orti/orti_load.h\"\n").size(), 1u);
  EXPECT_EQ(
      upward_includes("host_link/simple_json/x.cpp", "#include \"host_link/jsonrpc.h\"").size(),
      1u);
  EXPECT_TRUE(upward_includes("plugin/x.cpp", "#include \"runtime/format.h\"\n"
                                              "#include \"awareness/tasks.h\"\n"
                                              "#include <vector>\n")
                  .empty());
  EXPECT_TRUE(
      upward_includes("orti/orti_load.cpp", "#include \"orti/model/instantiate.h\"\n").empty());
}

TEST(LayeringTest, NoModuleIncludesOneAboveIt) {
  const fs::path src = fs::path(OSA_SOURCE_DIR) / "src";
  std::size_t files = 0;
  std::vector<Violation> violations;
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) {
      continue;
    }
    const std::string relative = fs::relative(entry.path(), src).generic_string();
    ASSERT_GE(rank_of(relative), 0) << relative << " lies in no known module";
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (Violation& v : upward_includes(relative, text)) {
      violations.push_back(std::move(v));
    }
    ++files;
  }
  EXPECT_GT(files, 50u);
  for (const Violation& v : violations) {
    ADD_FAILURE() << v.file << " includes " << v.included << ", a module above it";
  }
}

} // namespace
