#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The target's memory as the evaluator sees it. The proxy implements it over the remote
// protocol's m/M packets with a block cache; tests implement it over a byte image.
struct TargetMemory {
  virtual ~TargetMemory() = default;
  // Fills out[0..len) with the bytes at address; false, with a reason, when they cannot be read.
  virtual bool read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) = 0;
  // Writes data[0..len) at address; false, with a reason, when it cannot be written.
  virtual bool write(uint64_t address, const uint8_t* data, std::size_t len,
                     std::string& error) = 0;
};
