// The target's memory as the evaluator reads it: aligned blocks fetched from the server with
// as few 'm' packets as the packet size allows, kept until the target runs again. A failure's
// reason is the server's (the reader names the address).
#pragma once

#include "eval/target_memory.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace rsp {

// The server's memory packets.
class MemoryPort {
public:
  virtual ~MemoryPort() = default;
  virtual bool read_memory(uint64_t address, std::size_t length, std::string& bytes,
                           std::string& error) = 0;
  virtual bool write_memory(uint64_t address, std::string_view bytes, std::string& error) = 0;
};

struct MemoryCounters {
  uint64_t reads = 0;   // reads asked for by the evaluator
  uint64_t packets = 0; // 'm' and 'M' packets sent for them
  uint64_t bytes = 0;   // bytes fetched
};

class MemoryCache : public TargetMemory {
public:
  // block: the unit of caching (a power of two); max_request: the most bytes one 'm' packet
  // may ask for.
  MemoryCache(MemoryPort& port, std::size_t block, std::size_t max_request);

  bool read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) override;
  bool write(uint64_t address, const uint8_t* data, std::size_t len, std::string& error) override;

  void set_max_request(std::size_t max_request);
  // A read that misses fetches up to this many bytes from its first missing block on (at
  // most one packet), not only the blocks it needs.
  void set_read_ahead(std::size_t bytes);
  // Forgets every block: the target ran, or someone else wrote to it.
  void clear() {
    blocks_.clear();
    unreadable_.clear();
  }
  MemoryCounters counters() const { return counters_; }

private:
  bool fetch(uint64_t address, std::size_t count);
  void fetch_run(uint64_t first_block, std::size_t count);

  MemoryPort& port_;
  std::size_t block_;
  std::size_t max_request_;
  std::size_t read_ahead_ = 1;             // in blocks
  std::map<uint64_t, std::string> blocks_; // by block address
  std::set<uint64_t> unreadable_;          // blocks the server refused
  MemoryCounters counters_;
};

} // namespace rsp
