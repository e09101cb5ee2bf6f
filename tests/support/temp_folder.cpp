// Temporary folders of a test's own.
#include "support/temp_folder.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& purpose) {
  // The clock as well: some C libraries give every process the same random_device sequence.
  std::random_device seed;
  std::mt19937_64 draw(
      (static_cast<uint64_t>(seed()) << 32) ^ seed() ^
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = base / ("osa_" + purpose + "_" + std::to_string(draw()));
    std::error_code error;
    // create_directory is false for a folder that exists already: somebody else's.
    if (fs::create_directory(candidate, error)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made for " + purpose);
}

TempFolder::~TempFolder() {
  std::error_code error;
  fs::remove_all(path_, error);
}

std::string TempFolder::file(const std::string& name) const {
  return (path_ / name).string();
}
