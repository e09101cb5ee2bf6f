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

// An input of at least this many bytes fills its store in large blocks from the first: its
// tree comes to about one or more of them, and the unused end of the last goes back to the
// system.
inline constexpr std::size_t kKoilLargeInputFrom = 512 * 1024;

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
  // The store is about to be filled from an input of that many bytes: for a large one it takes
  // its memory in large blocks from the start (a store that grows large switches to them by
  // itself). Until the next clear.
  void expect_input(std::size_t bytes);
  // Nothing more is to be stored for a while (a parse has ended): the pages that no text has
  // reached in the newest large block go back to the system. A later text takes them again.
  void release_unused();

  // Bytes of the blocks, and how many of them are large, for tests and measurements.
  std::size_t block_bytes() const;
  std::size_t large_block_count() const;

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
// From now on the calling thread's stores get no large blocks, as when the system has none to
// give, or get them again (tests).
void koil_refuse_large_blocks(bool refuse);
