// The block cache between the evaluator and the server: what it asks the server for, and
// that what it gives is what the target holds.
#include "memory_cache.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Memory from 0x1000 to 0x1fff, readable; everything else refused, as a server does.
class FakeMemory : public rsp::MemoryPort {
public:
  FakeMemory() {
    for (uint64_t a = kStart; a < kEnd; ++a) {
      bytes[a] = static_cast<char>(a * 7);
    }
  }
  bool read_memory(uint64_t address, std::size_t length, std::string& out,
                   std::string& error) override {
    requests.push_back({address, length});
    out.clear();
    for (std::size_t i = 0; i < length; ++i) {
      const auto it = bytes.find(address + i);
      if (it == bytes.end()) {
        error = "E14";
        return false;
      }
      out += it->second;
    }
    return true;
  }
  bool write_memory(uint64_t address, std::string_view data, std::string& error) override {
    for (std::size_t i = 0; i < data.size(); ++i) {
      if (bytes.count(address + i) == 0) {
        error = "E14";
        return false;
      }
      bytes[address + i] = data[i];
    }
    return true;
  }
  static constexpr uint64_t kStart = 0x1000;
  static constexpr uint64_t kEnd = 0x2000;
  std::map<uint64_t, char> bytes;
  std::vector<std::pair<uint64_t, std::size_t>> requests;
};

std::string read(rsp::MemoryCache& cache, uint64_t address, std::size_t length, bool& ok) {
  std::string out(length, '\0');
  std::string error;
  ok = cache.read(address, length, reinterpret_cast<uint8_t*>(out.data()), error);
  return out;
}

std::string expected(FakeMemory& m, uint64_t address, std::size_t length) {
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    out += m.bytes.at(address + i);
  }
  return out;
}

struct ReadCase {
  const char* name;
  uint64_t address;
  std::size_t length;
  std::vector<std::pair<uint64_t, std::size_t>> requests; // what the server is asked for
};

// Invariant: a read gives the target's bytes, and asks only for whole aligned blocks that
// are not cached yet, in as few packets as the size limit allows.
TEST(MemoryCache, ReadsAlignedBlocksInFewPackets) {
  const std::vector<ReadCase> cases = {
      {"inside one block", 0x1010, 4, {{0x1000, 64}}},
      {"across two blocks", 0x103e, 4, {{0x1000, 128}}},
      {"a long read is cut at the packet size", 0x1000, 300, {{0x1000, 256}, {0x1100, 64}}},
  };
  for (const ReadCase& c : cases) {
    FakeMemory m;
    rsp::MemoryCache cache(m, 64, 256);
    bool ok = false;
    EXPECT_EQ(read(cache, c.address, c.length, ok), expected(m, c.address, c.length)) << c.name;
    EXPECT_TRUE(ok) << c.name;
    EXPECT_EQ(m.requests, c.requests) << c.name;
    // A second read of the same bytes is answered from the cache.
    m.requests.clear();
    EXPECT_EQ(read(cache, c.address, c.length, ok), expected(m, c.address, c.length)) << c.name;
    EXPECT_TRUE(m.requests.empty()) << c.name;
  }
}

TEST(MemoryCache, AMissReadsAheadInTheSamePacket) {
  FakeMemory m;
  rsp::MemoryCache cache(m, 64, 256);
  cache.set_read_ahead(192);
  bool ok = false;
  // Three blocks in one packet; the next two reads need no packet at all.
  read(cache, 0x1004, 1, ok);
  read(cache, 0x1044, 1, ok);
  EXPECT_EQ(read(cache, 0x1084, 4, ok), expected(m, 0x1084, 4));
  const std::vector<std::pair<uint64_t, std::size_t>> one = {{0x1000, 192}};
  EXPECT_EQ(m.requests, one);
  // Read-ahead past the end of readable memory falls back to single blocks, once.
  m.requests.clear();
  EXPECT_EQ(read(cache, 0x1fc4, 4, ok), expected(m, 0x1fc4, 4));
  EXPECT_TRUE(ok);
  const std::vector<std::pair<uint64_t, std::size_t>> edge = {
      {0x1fc0, 192}, {0x1fc0, 64}, {0x2000, 64}, {0x2040, 64}};
  EXPECT_EQ(m.requests, edge);
  m.requests.clear();
  EXPECT_EQ(read(cache, 0x1ffc, 4, ok), expected(m, 0x1ffc, 4));
  EXPECT_TRUE(m.requests.empty());
}

TEST(MemoryCache, BytesNextToUnreadableMemoryAreStillRead) {
  FakeMemory m;
  rsp::MemoryCache cache(m, 64, 256);
  bool ok = false;
  // The block of the last four bytes of the memory reaches past its end.
  m.bytes.erase(0x1ff0);
  EXPECT_EQ(read(cache, 0x1ff8, 4, ok), expected(m, 0x1ff8, 4));
  EXPECT_TRUE(ok);
  // Unreadable bytes themselves fail, and the block is not asked for again.
  std::string error;
  uint8_t byte = 0;
  EXPECT_FALSE(cache.read(0x1ff0, 1, &byte, error));
  EXPECT_EQ(error, "E14");
  m.requests.clear();
  EXPECT_EQ(read(cache, 0x1ff8, 4, ok), expected(m, 0x1ff8, 4));
  EXPECT_EQ(m.requests.size(), 1u); // the exact bytes only
  EXPECT_FALSE(cache.read(0x3000, 4, &byte, error));
  EXPECT_FALSE(cache.read(UINT64_MAX - 1, 4, &byte, error));
}

TEST(MemoryCache, WritesGoToTheTargetAndKeepTheCacheTrue) {
  FakeMemory m;
  rsp::MemoryCache cache(m, 64, 256);
  bool ok = false;
  read(cache, 0x1000, 64, ok);
  const uint8_t data[] = {1, 2, 3};
  std::string error;
  ASSERT_TRUE(cache.write(0x1010, data, 3, error));
  EXPECT_EQ(m.bytes.at(0x1011), 2);
  m.requests.clear();
  EXPECT_EQ(read(cache, 0x1010, 3, ok), std::string("\x01\x02\x03", 3));
  EXPECT_TRUE(m.requests.empty());
  EXPECT_FALSE(cache.write(0x3000, data, 3, error));
  // After the target ran, everything is fetched again.
  cache.clear();
  m.bytes[0x1010] = 9;
  EXPECT_EQ(read(cache, 0x1010, 1, ok), "\x09");
  EXPECT_EQ(m.requests.size(), 1u);
}

} // namespace
