// The text store of a parse tree: texts packed into blocks that never move, names kept once.
#include "orti/parser/koil_text.h"

#include "runtime/platform.h"

#include <cstring>
#include <new>
#include <ostream>
#include <utility>

namespace {

// Large enough that a block's own allocation is noise beside its texts, small enough that a
// small file does not pay for much more than it holds.
constexpr std::size_t kBlockSize = 64 * 1024;
// A large tree's blocks, from the system: each page of a fresh block costs the kernel a fault,
// which for a large file is a quarter of its parse unless the pages are large.
constexpr std::size_t kLargeBlockSize = kPlatformLargePage;
// A store that has filled this many blocks is a large tree, and takes large blocks from then on.
constexpr std::size_t kBlocksBeforeLarge = 32;
// A text longer than this gets a block of its own, so that it does not waste the rest of one.
constexpr std::size_t kOwnBlockAbove = kBlockSize / 8;
// Names are short; a longer text is only copied, since it is hardly repeated and would make
// the table's hashing and comparing its cost.
constexpr std::size_t kInternUpTo = 256;

static_assert(kLargeBlockSize % kBlockSize == 0);

template <class Word> uint64_t load(const char* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

#if defined(__SANITIZE_ADDRESS__)
#define OSA_KOIL_BLOCKS_UNCACHED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSA_KOIL_BLOCKS_UNCACHED 1
#endif
#endif

using SmallBlock = std::unique_ptr<char[]>;

thread_local constinit bool large_blocks_refused = false;

#if !defined(OSA_KOIL_BLOCKS_UNCACHED)

void free_large_block(char* block) {
  platform_free_pages(block, kLargeBlockSize);
}

// Shared blocks that freed stores gave back, newest last, for the next store of the thread.
// A fresh page costs the kernel a fault and a zeroing; a file parsed again (a reload, a tool
// going through several files) then writes into pages that are already there. Bounded, so
// that one large file does not keep a thread's memory beyond this after its tree is gone.
// Sanitizer builds keep nothing, so that a text read after its tree was freed is reported
// rather than read from a reused block.
constexpr std::size_t kMaxSpareBytes = 128 * 1024 * 1024;
constexpr std::size_t kMaxSpareBlocks = kMaxSpareBytes / kBlockSize;
constexpr std::size_t kMaxSpareLarge = kMaxSpareBytes / kLargeBlockSize;

// Plain data, so that a store freed after the thread's own objects (a static tree at the end
// of the process) still finds it: the owner below frees the blocks when the thread ends, and
// from then on nothing is kept.
struct SpareBlocks {
  char** slots = nullptr; // kMaxSpareBlocks, then kMaxSpareLarge, once the first block is kept
  std::size_t count = 0;
  std::size_t large_count = 0;
  bool owner_registered = false;
  bool ended = false;

  char** large_slots() const { return slots + kMaxSpareBlocks; }
  std::size_t bytes() const { return count * kBlockSize + large_count * kLargeBlockSize; }
};
thread_local constinit SpareBlocks spare_blocks{};

void release_spare_blocks() {
  for (std::size_t i = 0; i < spare_blocks.count; ++i) {
    delete[] spare_blocks.slots[i];
  }
  spare_blocks.count = 0;
  for (std::size_t i = 0; i < spare_blocks.large_count; ++i) {
    free_large_block(spare_blocks.large_slots()[i]);
  }
  spare_blocks.large_count = 0;
}

struct SpareBlocksOwner {
  ~SpareBlocksOwner() {
    release_spare_blocks();
    delete[] spare_blocks.slots;
    spare_blocks = SpareBlocks{};
    spare_blocks.ended = true;
  }
};

SmallBlock new_shared_block() {
  if (spare_blocks.count > 0) {
    return SmallBlock(spare_blocks.slots[--spare_blocks.count]);
  }
  return SmallBlock(new char[kBlockSize]);
}

// Null when the system has none to give.
char* new_large_block() {
  if (large_blocks_refused) {
    return nullptr;
  }
  if (spare_blocks.large_count > 0) {
    return spare_blocks.large_slots()[--spare_blocks.large_count];
  }
  return static_cast<char*>(platform_allocate_pages(kLargeBlockSize));
}

// The pages of the newest large block that no text has reached go back to the system.
void discard_unused(char* unused, std::size_t size) {
  platform_discard_pages(unused, size);
}

struct LargeBlockFree {
  void operator()(char* block) const { free_large_block(block); }
};
using LargeBlock = std::unique_ptr<char[], LargeBlockFree>;

void give_back(std::vector<SmallBlock>& blocks, std::vector<LargeBlock>& large_blocks) {
  SpareBlocks& spare = spare_blocks;
  if ((!blocks.empty() || !large_blocks.empty()) && !spare.ended) {
    if (!spare.owner_registered) {
      thread_local SpareBlocksOwner owner;
      spare.owner_registered = true;
    }
    if (spare.slots == nullptr) {
      spare.slots = new (std::nothrow) char*[kMaxSpareBlocks + kMaxSpareLarge];
    }
    // Small blocks first: every store starts with them.
    for (std::size_t i = 0; spare.slots != nullptr && i < blocks.size(); ++i) {
      if (spare.bytes() + kBlockSize > kMaxSpareBytes) {
        break;
      }
      spare.slots[spare.count++] = blocks[i].release();
    }
    for (std::size_t i = 0; spare.slots != nullptr && i < large_blocks.size(); ++i) {
      if (spare.bytes() + kLargeBlockSize > kMaxSpareBytes) {
        break;
      }
      spare.large_slots()[spare.large_count++] = large_blocks[i].release();
    }
  }
  blocks.clear();
  large_blocks.clear();
}

#else

// Large blocks from the heap as well, where the sanitizer watches them.
SmallBlock new_shared_block() {
  return SmallBlock(new char[kBlockSize]);
}

char* new_large_block() {
  return large_blocks_refused ? nullptr : new (std::nothrow) char[kLargeBlockSize];
}

void discard_unused(char*, std::size_t) {}

struct LargeBlockFree {
  void operator()(char* block) const { delete[] block; }
};
using LargeBlock = std::unique_ptr<char[], LargeBlockFree>;

void give_back(std::vector<SmallBlock>& blocks, std::vector<LargeBlock>& large_blocks) {
  blocks.clear();
  large_blocks.clear();
}

#endif

} // namespace

std::size_t koil_spare_block_bytes() {
#if !defined(OSA_KOIL_BLOCKS_UNCACHED)
  return spare_blocks.bytes();
#else
  return 0;
#endif
}

void koil_release_spare_blocks() {
#if !defined(OSA_KOIL_BLOCKS_UNCACHED)
  release_spare_blocks();
#endif
}

void koil_refuse_large_blocks(bool refuse) {
  large_blocks_refused = refuse;
}

std::size_t koil_spare_block_limit() {
#if !defined(OSA_KOIL_BLOCKS_UNCACHED)
  return kMaxSpareBytes;
#else
  return 0;
#endif
}

// Every byte of a text of up to 16 bytes, in two words: its first and last eight bytes, or
// for a shorter text its first and last four, or its first, middle and last byte. Two texts of
// the same length up to 16 are equal exactly when their keys are, which spares the table a
// comparison of the bytes for the names it holds; a longer text also compares its bytes.
KoilTreeStore::Key KoilTreeStore::key_of(std::string_view text) {
  const char* p = text.data();
  const std::size_t n = text.size();
  Key key;
  key.length = n;
  if (n >= 8) {
    key.head = load<uint64_t>(p);
    key.tail = load<uint64_t>(p + n - 8);
  } else if (n >= 4) {
    key.head = load<uint32_t>(p) | load<uint32_t>(p + n - 4) << 32;
  } else if (n > 0) {
    key.head = static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[n / 2]) << 8 |
               static_cast<unsigned char>(p[n - 1]) << 16;
  }
  const uint64_t mixed =
      (key.head * 0x9E3779B97F4A7C15ull) ^ (key.tail * 0xC2B2AE3D27D4EB4Full) ^ n;
  key.hash = static_cast<uint32_t>((mixed >> 32) ^ mixed);
  return key;
}

std::ostream& operator<<(std::ostream& out, const KoilText& text) {
  return out << std::string_view(text);
}

class KoilTreeStore::Blocks : public std::pmr::memory_resource {
public:
  // The common case, a small piece that fits the newest block, is kept small enough to be
  // inlined into each copy of a text.
  char* allocate_bytes(std::size_t size, std::size_t alignment) {
    // Alignments are powers of two.
    const std::size_t skip = (0 - reinterpret_cast<uintptr_t>(free_)) & (alignment - 1);
    if (skip + size <= room_ && size <= kOwnBlockAbove && free_ != nullptr) {
      take(skip);
      return take(size);
    }
    return allocate_in_new_block(size);
  }
  Blocks() = default;
  Blocks(const Blocks&) = delete;
  Blocks& operator=(const Blocks&) = delete;
  ~Blocks() override { give_back(blocks_, large_blocks_); }
  void clear() {
    give_back(blocks_, large_blocks_);
    blocks_.shrink_to_fit();
    large_blocks_.shrink_to_fit();
    own_blocks_.clear();
    own_blocks_.shrink_to_fit();
    free_ = nullptr;
    room_ = 0;
    bytes_ = 0;
    in_large_block_ = false;
    growth_ = Growth::Small;
  }
  void expect_input(std::size_t bytes) {
    if (bytes >= kKoilLargeInputFrom && growth_ == Growth::Small) {
      growth_ = Growth::Large;
    }
  }
  void release_unused() {
    if (in_large_block_ && room_ != 0) {
      discard_unused(free_, room_);
    }
  }
  std::size_t bytes() const { return bytes_; }
  std::size_t large_blocks() const { return large_blocks_.size(); }

private:
  enum class Growth : uint8_t {
    Small,     // blocks of kBlockSize, until there are kBlocksBeforeLarge of them
    Large,     // blocks of kLargeBlockSize
    SmallOnly, // the system gave no large block: kBlockSize from then on
  };

  [[gnu::noinline]] char* allocate_in_new_block(std::size_t size) {
    if (size > kOwnBlockAbove) {
      own_blocks_.emplace_back(new char[size]);
      bytes_ += size;
      return own_blocks_.back().get();
    }
    if (growth_ == Growth::Small && blocks_.size() >= kBlocksBeforeLarge) {
      growth_ = Growth::Large;
    }
    if (growth_ == Growth::Large) {
      if (large_blocks_.size() == large_blocks_.capacity()) {
        large_blocks_.reserve(2 * large_blocks_.size() + 8); // so that the block is never lost
      }
      if (char* block = new_large_block()) {
        large_blocks_.emplace_back(block);
        start_block(block, kLargeBlockSize, true);
        return take(size);
      }
      growth_ = Growth::SmallOnly;
    }
    blocks_.push_back(new_shared_block());
    start_block(blocks_.back().get(), kBlockSize, false);
    return take(size);
  }
  void start_block(char* block, std::size_t size, bool large) {
    bytes_ += size;
    free_ = block;
    room_ = size;
    in_large_block_ = large;
  }
  char* take(std::size_t size) {
    char* taken = free_;
    free_ += size;
    room_ -= size;
    return taken;
  }
  // A new block's start is aligned for any type (operator new[] of char gives that much, and
  // the system's pages more).
  void* do_allocate(std::size_t size, std::size_t alignment) override {
    return allocate_bytes(size, alignment);
  }
  void do_deallocate(void*, std::size_t, std::size_t) override {}
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }

  std::vector<SmallBlock> blocks_;       // of kBlockSize
  std::vector<LargeBlock> large_blocks_; // of kLargeBlockSize
  std::vector<SmallBlock> own_blocks_;   // of one long text each
  char* free_ = nullptr;                 // the unused end of the newest shared block
  std::size_t room_ = 0;
  std::size_t bytes_ = 0;
  bool in_large_block_ = false; // the newest shared block is a large one
  Growth growth_ = Growth::Small;
};

KoilTreeStore::KoilTreeStore() : blocks_(std::make_unique<Blocks>()) {}

KoilTreeStore::~KoilTreeStore() = default;

KoilTreeStore::KoilTreeStore(KoilTreeStore&& other) noexcept
    : blocks_(std::exchange(other.blocks_, nullptr)), interned_(std::move(other.interned_)),
      interned_count_(std::exchange(other.interned_count_, 0)) {
  other.interned_.clear();
}

KoilTreeStore& KoilTreeStore::operator=(KoilTreeStore&& other) noexcept {
  if (this != &other) {
    blocks_ = std::exchange(other.blocks_, nullptr);
    interned_ = std::move(other.interned_);
    interned_count_ = std::exchange(other.interned_count_, 0);
    other.interned_.clear();
  }
  return *this;
}

std::pmr::memory_resource* KoilTreeStore::arrays() {
  if (!blocks_) {
    blocks_ = std::make_unique<Blocks>(); // a moved-from store starts again
  }
  return blocks_.get();
}

std::size_t KoilTreeStore::block_bytes() const {
  return blocks_ ? blocks_->bytes() : 0;
}

std::size_t KoilTreeStore::large_block_count() const {
  return blocks_ ? blocks_->large_blocks() : 0;
}

void KoilTreeStore::expect_input(std::size_t bytes) {
  arrays();
  blocks_->expect_input(bytes);
}

void KoilTreeStore::release_unused() {
  if (blocks_) {
    blocks_->release_unused();
  }
}

KoilText KoilTreeStore::copy(std::string_view text) {
  if (text.empty()) {
    return KoilText();
  }
  arrays();
  char* stored = blocks_->allocate_bytes(text.size() + 1, 1);
  std::memcpy(stored, text.data(), text.size());
  stored[text.size()] = '\0';
  return KoilText(stored);
}

KoilText KoilTreeStore::intern(std::string_view text) {
  if (text.empty() || text.size() > kInternUpTo) {
    return copy(text);
  }
  if (2 * (interned_count_ + 1) > interned_.size()) {
    grow_interned();
  }
  const Key key = key_of(text);
  const std::size_t mask = interned_.size() - 1;
  for (std::size_t i = key.hash & mask;; i = (i + 1) & mask) {
    Interned& slot = interned_[i];
    if (slot.text == nullptr) {
      slot.text = copy(text).c_str();
      slot.key = key;
      ++interned_count_;
      return KoilText(slot.text);
    }
    if (slot.key == key &&
        (key.length <= 16 || std::memcmp(slot.text, text.data(), key.length) == 0)) {
      return KoilText(slot.text);
    }
  }
}

void KoilTreeStore::grow_interned() {
  std::vector<Interned> old = std::move(interned_);
  interned_.assign(old.empty() ? 64 : 2 * old.size(), Interned{});
  const std::size_t mask = interned_.size() - 1;
  for (const Interned& entry : old) {
    if (entry.text == nullptr) {
      continue;
    }
    std::size_t i = entry.key.hash & mask;
    while (interned_[i].text != nullptr) {
      i = (i + 1) & mask;
    }
    interned_[i] = entry;
  }
}

void KoilTreeStore::clear() {
  if (blocks_) {
    blocks_->clear();
  }
  interned_.clear();
  interned_.shrink_to_fit();
  interned_count_ = 0;
}
