#include "memory_cache.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace rsp {

namespace {} // namespace

MemoryCache::MemoryCache(MemoryPort& port, std::size_t block, std::size_t max_request)
    : port_(port), block_(block) {
  set_max_request(max_request);
}

void MemoryCache::set_max_request(std::size_t max_request) {
  // Whole blocks only, and at least one.
  max_request_ = std::max(block_, max_request / block_ * block_);
}

void MemoryCache::set_read_ahead(std::size_t bytes) {
  read_ahead_ = std::max<std::size_t>(1, std::min(bytes, max_request_) / block_);
}

bool MemoryCache::fetch(uint64_t address, std::size_t count) {
  std::string bytes;
  std::string error;
  ++counters_.packets;
  if (!port_.read_memory(address, count * block_, bytes, error) || bytes.size() != count * block_) {
    return false;
  }
  counters_.bytes += bytes.size();
  for (std::size_t i = 0; i < count; ++i) {
    blocks_[address + i * block_] = bytes.substr(i * block_, block_);
  }
  return true;
}

void MemoryCache::fetch_run(uint64_t first_block, std::size_t count) {
  const std::size_t per_packet = max_request_ / block_;
  for (std::size_t done = 0; done < count;) {
    const std::size_t n = std::min(per_packet, count - done);
    const uint64_t address = first_block + done * block_;
    if (!fetch(address, n)) {
      // Somewhere in the run memory ends: block by block, remembering the ones that fail so
      // that later reads do not ask for them again.
      for (std::size_t i = 0; i < n; ++i) {
        if (n == 1 || !fetch(address + i * block_, 1)) {
          unreadable_.insert(address + i * block_);
        }
      }
    }
    done += n;
  }
}

bool MemoryCache::read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) {
  ++counters_.reads;
  if (len == 0) {
    return true;
  }
  if (address + len < address) {
    error = "the range wraps around";
    return false;
  }
  const uint64_t mask = ~static_cast<uint64_t>(block_ - 1);
  const uint64_t first = address & mask;
  const uint64_t last = (address + len - 1) & mask;
  // Runs of consecutive blocks that are missing, each fetched with as few packets as fit.
  for (uint64_t b = first;; b += block_) {
    if (blocks_.count(b) == 0 && unreadable_.count(b) == 0) {
      uint64_t end = b;
      while (end < last && blocks_.count(end + block_) == 0 &&
             unreadable_.count(end + block_) == 0) {
        end += block_;
      }
      // Formulas read a table's elements one after the other: what follows the last block
      // asked for comes in the same packet.
      uint64_t ahead = end;
      while (end == last && (ahead - b) / block_ + 1 < read_ahead_ && ahead + block_ > ahead &&
             blocks_.count(ahead + block_) == 0 && unreadable_.count(ahead + block_) == 0) {
        ahead += block_;
      }
      fetch_run(b, static_cast<std::size_t>((ahead - b) / block_ + 1));
      b = end;
    }
    if (b == last) {
      break;
    }
  }
  bool complete = true;
  for (uint64_t b = first;; b += block_) {
    complete = complete && blocks_.count(b) != 0;
    if (b == last) {
      break;
    }
  }
  if (!complete) {
    // A block may reach into memory that cannot be read while the bytes asked for can (a
    // variable at the end of RAM): those bytes alone, not kept.
    std::string bytes;
    std::string reason;
    ++counters_.packets;
    if (!port_.read_memory(address, len, bytes, reason) || bytes.size() != len) {
      error = reason.empty() ? "the server gave fewer bytes" : reason;
      return false;
    }
    counters_.bytes += len;
    std::memcpy(out, bytes.data(), len);
    return true;
  }
  for (uint64_t b = first;; b += block_) {
    const std::string& data = blocks_[b];
    const uint64_t from = std::max(address, b);
    const uint64_t to = std::min(address + len, b + block_);
    std::memcpy(out + (from - address), data.data() + (from - b),
                static_cast<std::size_t>(to - from));
    if (b == last) {
      break;
    }
  }
  return true;
}

bool MemoryCache::write(uint64_t address, const uint8_t* data, std::size_t len,
                        std::string& error) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), len);
  std::string reason;
  ++counters_.packets;
  if (!port_.write_memory(address, bytes, reason)) {
    error = reason;
    return false;
  }
  // The blocks it touches keep what the target now holds.
  const uint64_t mask = ~static_cast<uint64_t>(block_ - 1);
  for (std::size_t i = 0; i < len; ++i) {
    const uint64_t a = address + i;
    auto it = blocks_.find(a & mask);
    if (it != blocks_.end()) {
      it->second[static_cast<std::size_t>(a - it->first)] = bytes[i];
    }
  }
  return true;
}

} // namespace rsp
