// The texts of a parse tree's objects: a pointer-sized handle of a NUL-terminated text, and the
// store that a parsed tree keeps them in.
//
// A large ORTI file holds hundreds of thousands of object and attribute definitions, each with
// a name and a formula of a few bytes. One heap allocation per text would cost more than the
// text, and its pointer would be followed on every read; the store instead packs the texts
// into large blocks that never move, and names (which every object repeats) are kept once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

// A text that does not own what it points at. Those of a parsed tree live in the tree's
// KoilTreeStore; a tree built by hand points at its builder's texts, which must outlive it.
// Never null: an absent text is an absent KoilText (std::optional), and the default is "".
class KoilText {
public:
  constexpr KoilText() = default;
  // Borrows the text; null reads as "".
  constexpr KoilText(const char* text) : text_(text != nullptr ? text : "") {}

  const char* c_str() const { return text_; }
  std::size_t size() const { return std::char_traits<char>::length(text_); }
  bool empty() const { return text_[0] == '\0'; }
  operator std::string_view() const { return text_; }

  friend bool operator==(const KoilText& a, const KoilText& b) {
    return std::string_view(a.text_) == std::string_view(b.text_);
  }
  friend bool operator==(const KoilText& a, const char* b) {
    return std::string_view(a.text_) == std::string_view(b != nullptr ? b : "");
  }
  friend bool operator==(const KoilText& a, std::string_view b) {
    return std::string_view(a.text_) == b;
  }

private:
  const char* text_ = "";
};

// For test output.
std::ostream& operator<<(std::ostream& out, const KoilText& text);

// The store of a parsed tree: its texts and the arrays of its definitions' attributes, packed
// into blocks that are freed together. Moving a store keeps every text and array where it is.
class KoilTreeStore {
public:
  KoilTreeStore();
  KoilTreeStore(KoilTreeStore&& other) noexcept;
  KoilTreeStore& operator=(KoilTreeStore&& other) noexcept;
  KoilTreeStore(const KoilTreeStore&) = delete;
  KoilTreeStore& operator=(const KoilTreeStore&) = delete;
  ~KoilTreeStore();

  // A copy of the text (which may hold NUL bytes; readers of c_str() see it end at the first)
  // that lives as long as the store.
  KoilText copy(std::string_view text);
  // The same text once per store: equal texts give the same address.
  KoilText intern(std::string_view text);
  // Memory for node arrays from the same blocks; giving it back does nothing, the blocks go
  // when the store is cleared. Arrays that must outlive the store do not come from here.
  std::pmr::memory_resource* arrays();
  // Frees every text and array; what was given out dangles from then on.
  void clear();

  // Bytes of the blocks, for tests and measurements.
  std::size_t block_bytes() const;

private:
  class Blocks;
  struct Key {
    uint64_t head = 0;
    uint64_t tail = 0;
    std::size_t length = 0;
    uint32_t hash = 0;
    bool operator==(const Key&) const = default;
  };
  struct Interned {
    const char* text = nullptr;
    Key key;
  };
  static Key key_of(std::string_view text);
  void grow_interned();

  // Held apart so that its address, which the arrays remember, survives a move of the store.
  std::unique_ptr<Blocks> blocks_;
  std::vector<Interned> interned_; // open addressing; the size is a power of two, or 0
  std::size_t interned_count_ = 0;
};

// Bytes of the blocks that freed stores left to the next stores of the calling thread, and the
// most it keeps (0 in sanitizer builds, which keep none), for tests and measurements.
std::size_t koil_spare_block_bytes();
std::size_t koil_spare_block_limit();
// Frees the calling thread's spare blocks.
void koil_release_spare_blocks();
