// The text store of a parse tree: texts packed into blocks that never move, names kept once.
#include "orti/parser/koil_text.h"

#include <cstring>
#include <ostream>
#include <utility>

namespace {

// Large enough that a block's own allocation is noise beside its texts, small enough that a
// small file does not pay for much more than it holds.
constexpr std::size_t kBlockSize = 64 * 1024;
// A text longer than this gets a block of its own, so that it does not waste the rest of one.
constexpr std::size_t kOwnBlockAbove = kBlockSize / 8;
// Names are short; a longer text is only copied, since it is hardly repeated and would make
// the table's hashing and comparing its cost.
constexpr std::size_t kInternUpTo = 256;

uint32_t text_hash(std::string_view text) {
  uint32_t hash = 2166136261u; // FNV-1a
  for (char c : text) {
    hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  return hash;
}

} // namespace

std::ostream& operator<<(std::ostream& out, const KoilText& text) {
  return out << std::string_view(text);
}

KoilTextStore::KoilTextStore(KoilTextStore&& other) noexcept {
  *this = std::move(other);
}

KoilTextStore& KoilTextStore::operator=(KoilTextStore&& other) noexcept {
  if (this != &other) {
    blocks_ = std::move(other.blocks_);
    free_ = std::exchange(other.free_, nullptr);
    room_ = std::exchange(other.room_, 0);
    block_bytes_ = std::exchange(other.block_bytes_, 0);
    interned_ = std::move(other.interned_);
    interned_count_ = std::exchange(other.interned_count_, 0);
    other.clear();
  }
  return *this;
}

char* KoilTextStore::allocate(std::size_t size) {
  if (size > kOwnBlockAbove) {
    blocks_.emplace_back(new char[size]);
    block_bytes_ += size;
    return blocks_.back().get();
  }
  if (size > room_) {
    blocks_.emplace_back(new char[kBlockSize]);
    block_bytes_ += kBlockSize;
    free_ = blocks_.back().get();
    room_ = kBlockSize;
  }
  char* text = free_;
  free_ += size;
  room_ -= size;
  return text;
}

KoilText KoilTextStore::copy(std::string_view text) {
  if (text.empty()) {
    return KoilText();
  }
  char* stored = allocate(text.size() + 1);
  std::memcpy(stored, text.data(), text.size());
  stored[text.size()] = '\0';
  return KoilText(stored);
}

KoilText KoilTextStore::intern(std::string_view text) {
  if (text.empty() || text.size() > kInternUpTo) {
    return copy(text);
  }
  if (2 * (interned_count_ + 1) > interned_.size()) {
    grow_interned();
  }
  const uint32_t hash = text_hash(text);
  const std::size_t mask = interned_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    Interned& slot = interned_[i];
    if (slot.text == nullptr) {
      const KoilText stored = copy(text);
      slot = Interned{stored.c_str(), static_cast<uint32_t>(text.size()), hash};
      ++interned_count_;
      return stored;
    }
    if (slot.hash == hash && slot.length == text.size() &&
        std::memcmp(slot.text, text.data(), text.size()) == 0) {
      return KoilText(slot.text);
    }
  }
}

void KoilTextStore::grow_interned() {
  std::vector<Interned> old = std::move(interned_);
  interned_.assign(old.empty() ? 64 : 2 * old.size(), Interned{});
  const std::size_t mask = interned_.size() - 1;
  for (const Interned& entry : old) {
    if (entry.text == nullptr) {
      continue;
    }
    std::size_t i = entry.hash & mask;
    while (interned_[i].text != nullptr) {
      i = (i + 1) & mask;
    }
    interned_[i] = entry;
  }
}

void KoilTextStore::clear() {
  blocks_.clear();
  blocks_.shrink_to_fit();
  free_ = nullptr;
  room_ = 0;
  block_bytes_ = 0;
  interned_.clear();
  interned_.shrink_to_fit();
  interned_count_ = 0;
}
