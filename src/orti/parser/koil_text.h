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
#include <string>
#include <string_view>
#include <vector>

// A text that does not own what it points at. Those of a parsed tree live in the tree's
// KoilTextStore; a tree built by hand points at its builder's texts, which must outlive it.
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

class KoilTextStore {
public:
  KoilTextStore() = default;
  KoilTextStore(KoilTextStore&& other) noexcept;
  KoilTextStore& operator=(KoilTextStore&& other) noexcept;
  KoilTextStore(const KoilTextStore&) = delete;
  KoilTextStore& operator=(const KoilTextStore&) = delete;
  ~KoilTextStore() = default;

  // A copy of the text (which may hold NUL bytes; readers of c_str() see it end at the first)
  // that lives as long as the store.
  KoilText copy(std::string_view text);
  // The same text once per store: equal texts give the same address.
  KoilText intern(std::string_view text);
  // Frees every text; the handles given out dangle from then on.
  void clear();

  // Bytes of the blocks, for tests and measurements.
  std::size_t block_bytes() const { return block_bytes_; }

private:
  struct Interned {
    const char* text = nullptr;
    uint32_t length = 0;
    uint32_t hash = 0;
  };

  char* allocate(std::size_t size);
  void grow_interned();

  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr; // the unused end of the newest small-text block
  std::size_t room_ = 0;
  std::size_t block_bytes_ = 0;
  std::vector<Interned> interned_; // open addressing; the size is a power of two, or 0
  std::size_t interned_count_ = 0;
};
