// A folder of the test's own under the system's temporary directory, removed with everything
// in it when the owner goes away.
//
// Tests run in parallel, within one test program and across programs and builds on the same
// machine, so a fixed file name in the temporary directory is shared by whoever runs at the
// same time. The folder's name is drawn at random and taken only when creating it succeeds,
// which no other process can have done first.
//
//   TempFolder dir("golden");
//   std::ofstream(dir.path() / "out.txt") << text;
#pragma once

#include <filesystem>
#include <string>

class TempFolder {
public:
  // purpose: a word that shows in the folder's name, for whoever finds one left behind.
  explicit TempFolder(const std::string& purpose);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // path() / name as a string, for the APIs that take one.
  std::string file(const std::string& name) const;

private:
  std::filesystem::path path_;
};
