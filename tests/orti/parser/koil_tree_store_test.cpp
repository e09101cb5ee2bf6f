// Tests of the parse tree's text store: copies and interned names stay valid and distinct
// however many there are, and a store keeps them when it moves.
#include "orti/parser/koil_parser.h"
#include "orti/parser/koil_text.h"
#include "runtime/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

TEST(KoilTreeStore, InternedNamesAreKeptOnceAndCopiesEachTime) {
  KoilTreeStore store;
  struct Kept {
    std::string text;
    KoilText interned;
    KoilText copied;
  };
  std::vector<Kept> kept;
  // Enough names to grow the table several times, with texts that differ only in length or
  // in their last byte, between copies long enough to get blocks of their own.
  std::vector<std::pair<std::string, KoilText>> long_copies;
  for (int i = 0; i < 5000; ++i) {
    std::string text = "name" + std::to_string(i % 1000);
    text += std::string(static_cast<std::size_t>(i / 1000), 'x');
    kept.push_back({text, store.intern(text), store.copy(text)});
    if (i % 1000 == 0) {
      const std::string long_text(20000 + static_cast<std::size_t>(i), 'L');
      long_copies.emplace_back(long_text, store.copy(long_text));
    }
  }
  for (const auto& [text, copy] : long_copies) {
    EXPECT_EQ(copy, text);
  }
  for (const Kept& k : kept) {
    EXPECT_EQ(k.interned, k.text);
    EXPECT_EQ(k.copied, k.text);
    EXPECT_NE(k.interned.c_str(), k.copied.c_str());
    EXPECT_EQ(store.intern(k.text).c_str(), k.interned.c_str()) << k.text;
  }
  EXPECT_NE(store.intern("name1").c_str(), store.intern("name10").c_str());
}

TEST(KoilTreeStore, EmptyTextsAndTextsWithNulBytes) {
  KoilTreeStore store;
  EXPECT_TRUE(store.copy("").empty());
  EXPECT_TRUE(store.intern("").empty());
  EXPECT_EQ(store.block_bytes(), 0u);
  // A text of the tree ends at its first NUL, but texts that differ after it stay apart.
  const KoilText a = store.intern(std::string("A\0x", 3));
  const KoilText b = store.intern(std::string("A\0y", 3));
  EXPECT_EQ(a, "A");
  EXPECT_NE(a.c_str(), b.c_str());
}

TEST(KoilTreeStore, MovedStoreKeepsItsTextsAndTheOldOneStartsEmpty) {
  KoilTreeStore first;
  const KoilText kept = first.copy("formula");
  const KoilText name = first.intern("PRIORITY");
  KoilTreeStore second = std::move(first);
  EXPECT_EQ(kept, "formula");
  EXPECT_EQ(second.intern("PRIORITY").c_str(), name.c_str());
  EXPECT_EQ(first.block_bytes(), 0u);
  const KoilText again = first.intern("PRIORITY"); // the old store is usable and empty
  EXPECT_EQ(again, "PRIORITY");
  EXPECT_NE(again.c_str(), name.c_str());
  EXPECT_EQ(name, "PRIORITY");
}

// Texts of a given length that differ from store to store, so that a text read from a block
// another store wrote before shows.
std::string numbered_text(int store, int i, std::size_t length) {
  std::string text = std::to_string(store) + ":" + std::to_string(i) + ":";
  text.resize(length, static_cast<char>('a' + store));
  return text;
}

TEST(KoilTreeStore, BlocksOfAFreedStoreServeTheNextOneWithItsOwnTexts) {
  koil_release_spare_blocks(); // what earlier tests of this thread left
  const std::size_t spare_before = koil_spare_block_bytes();
  std::size_t first_bytes = 0;
  {
    KoilTreeStore first;
    for (int i = 0; i < 20000; ++i) {
      first.copy(numbered_text(1, i, 40));
    }
    first.copy(std::string(100000, 'L'));       // a block of its own, which is not kept
    first_bytes = first.block_bytes() - 100001; // its NUL included
  }
  const std::size_t kept = koil_spare_block_bytes();
  if (koil_spare_block_limit() == 0) {
    EXPECT_EQ(kept, 0u);
  } else {
    EXPECT_EQ(kept, std::min(spare_before + first_bytes, koil_spare_block_limit()));
  }
  struct Case {
    std::size_t length;
    int count;
  };
  // Texts that fill blocks exactly, leave them short by a byte, and straddle their ends.
  const Case cases[] = {{1, 5000}, {15, 70000}, {16383, 20}, {8191, 30}, {64, 1}};
  KoilTreeStore second;
  std::vector<std::pair<std::string, KoilText>> texts;
  int n = 0;
  for (const Case& c : cases) {
    for (int i = 0; i < c.count; ++i) {
      std::string text = numbered_text(2, n++, c.length);
      texts.emplace_back(text, second.copy(text));
    }
  }
  for (const auto& [text, stored] : texts) {
    ASSERT_EQ(stored, text);
  }
  if (koil_spare_block_limit() != 0) {
    EXPECT_EQ(koil_spare_block_bytes(), kept - std::min(kept, second.block_bytes()));
  }
  second.clear(); // gives them back as the destructor does
  EXPECT_EQ(second.block_bytes(), 0u);
  if (koil_spare_block_limit() != 0) {
    EXPECT_GE(koil_spare_block_bytes(), kept);
  }
}

TEST(KoilTreeStore, AThreadKeepsNoMoreSpareBlocksThanItsLimit) {
  const std::size_t limit = koil_spare_block_limit();
  if (limit == 0) {
    GTEST_SKIP() << "sanitizer build: no blocks are kept";
  }
  {
    KoilTreeStore large;
    const std::string text(4000, 'x');
    while (large.block_bytes() < limit + limit / 8) {
      large.copy(text);
    }
  }
  EXPECT_EQ(koil_spare_block_bytes(), limit);
  KoilTreeStore next;
  EXPECT_EQ(next.copy("after the limit"), "after the limit");
  EXPECT_LT(koil_spare_block_bytes(), limit);
}

// Copies of numbered texts of the given lengths, in turn, until the store holds `bytes` of
// blocks; each reads back as it was written, wherever it fell.
struct FilledStore {
  std::vector<std::pair<std::string, KoilText>> texts;
  std::vector<std::size_t> block_steps;  // the growth of block_bytes() at each new block
  std::vector<std::size_t> large_counts; // large_block_count() after each step
};
FilledStore fill_store(KoilTreeStore& store, std::size_t bytes,
                       std::vector<std::size_t> lengths = {1000, 1, 63, 4095, 8191}) {
  FilledStore filled;
  for (int i = 0; store.block_bytes() < bytes; ++i) {
    const std::size_t before = store.block_bytes();
    std::string text = numbered_text(3, i, lengths[static_cast<std::size_t>(i) % lengths.size()]);
    filled.texts.emplace_back(text, store.copy(text));
    if (store.block_bytes() != before) {
      filled.block_steps.push_back(store.block_bytes() - before);
      filled.large_counts.push_back(store.large_block_count());
    }
  }
  return filled;
}

void expect_texts(const FilledStore& filled) {
  for (const auto& [text, stored] : filled.texts) {
    ASSERT_EQ(stored, text);
  }
}

TEST(KoilTreeStore, AStoreGrowsIntoLargeBlocksUnlessTheSystemRefusesThem) {
  struct Refusal {
    explicit Refusal(bool refused) { koil_refuse_large_blocks(refused); }
    ~Refusal() { koil_refuse_large_blocks(false); }
  };
  struct Case {
    bool refused;
    std::size_t input; // what the store was told to expect
  };
  const Case cases[] = {{false, 0},
                        {false, kKoilLargeInputFrom - 1},
                        {false, kKoilLargeInputFrom},
                        {false, std::size_t(1) << 40},
                        {true, 0},
                        {true, kKoilLargeInputFrom}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "refused " << c.refused << ", input " << c.input);
    koil_release_spare_blocks(); // a kept large block would be found all the same
    const bool starts_large = !c.refused && c.input >= kKoilLargeInputFrom;
    FilledStore filled;
    {
      const Refusal refusal(c.refused);
      KoilTreeStore store;
      store.expect_input(c.input);
      filled = fill_store(store, 3 * kPlatformLargePage);
      expect_texts(filled);
      store.clear(); // what was expected goes with the texts
      store.copy("again");
      EXPECT_EQ(store.large_block_count(), 0u);
    }
    // Small blocks up to a point (none when the input is large), then only large ones, each
    // counted once; none when refused.
    const auto small_steps = static_cast<std::size_t>(
        std::find(filled.block_steps.begin(), filled.block_steps.end(), kPlatformLargePage) -
        filled.block_steps.begin());
    if (c.refused) {
      EXPECT_EQ(small_steps, filled.block_steps.size());
    } else if (starts_large) {
      EXPECT_EQ(small_steps, 0u);
    } else {
      EXPECT_GT(small_steps, 1u);
      EXPECT_LT(small_steps, filled.block_steps.size());
    }
    for (std::size_t i = 0; i < filled.block_steps.size(); ++i) {
      EXPECT_EQ(filled.block_steps[i] == kPlatformLargePage, i >= small_steps) << i;
      EXPECT_LE(filled.block_steps[i], kPlatformLargePage) << i;
      EXPECT_EQ(filled.large_counts[i], i >= small_steps ? i - small_steps + 1 : 0) << i;
    }
  }
}

// A parse ends with the untouched pages of its last block given back; the texts before them
// stay, and later ones are stored in the pages given back as anywhere else.
TEST(KoilTreeStore, TextsStayWhenTheUnusedPagesGoBack) {
  koil_release_spare_blocks();
  for (const std::size_t length : {std::size_t(4095), std::size_t(4096), std::size_t(1)}) {
    SCOPED_TRACE(length);
    KoilTreeStore store;
    store.expect_input(kKoilLargeInputFrom);
    FilledStore filled;
    for (int i = 0; i < 100; ++i) {
      const std::string text = numbered_text(4, i, length);
      filled.texts.emplace_back(text, store.copy(text));
    }
    store.release_unused();
    store.release_unused();
    expect_texts(filled);
    // Well into the pages given back, within the same block.
    FilledStore more;
    for (std::size_t i = 0; i < 128 * 1024 / (length + 1); ++i) {
      const std::string text = numbered_text(5, static_cast<int>(i), length);
      more.texts.emplace_back(text, store.copy(text));
    }
    EXPECT_EQ(store.large_block_count(), 1u);
    store.release_unused();
    expect_texts(filled);
    expect_texts(more);
  }
}

// A file long enough that its tree starts in large blocks, read from memory and from a file:
// every definition reads back with its text and line once the parse has given the unused pages
// back, and a syntax error at its end is reported at its line.
TEST(KoilTreeStore, ALongFileParsesIntoLargeBlocksAndKeepsEveryText) {
  std::string text = "VERSION { KOIL = \"2.2\"; OSSEMANTICS = \"ORTI\", \"2.2\"; };\n"
                     "IMPLEMENTATION I { TASK { CTYPE A; CTYPE B; }; };\n";
  const int32_t first_line = 3;
  int objects = 0;
  for (; text.size() < kKoilLargeInputFrom + 1000; ++objects) {
    const std::string n = std::to_string(objects);
    text += "TASK T" + n + " {\n A = \"a" + n + "\"; B = \"" + numbered_text(6, objects, 40) +
            "\";\n};\n";
  }
  for (const bool from_file : {false, true}) {
    SCOPED_TRACE(from_file ? "from a file" : "from memory");
    for (const std::string& tail : {std::string(), std::string("TASK X { A = ; };\n")}) {
      OrtiParseTree tree;
      KoilParseSettings settings;
      int32_t error_line = 0;
      KoilReports reports;
      reports.user = &error_line;
      reports.error = [](void* user, const char*, int32_t line, const char*) {
        *static_cast<int32_t*>(user) = line;
      };
      const std::string input = text + tail;
      int status = kKoilParseScannerFailed;
      if (from_file) {
        std::FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        std::fwrite(input.data(), 1, input.size(), file);
        std::rewind(file);
        status = koil_parse(file, tree, settings, reports);
        std::fclose(file);
      } else {
        status = koil_parse_text(input, tree, settings, reports);
      }
      EXPECT_EQ(status, tail.empty() ? kKoilParseAccepted : kKoilParseRejected);
      EXPECT_EQ(error_line, tail.empty() ? 0 : first_line + 3 * objects);
      EXPECT_GE(tree.store.large_block_count(), 1u);
      ASSERT_EQ(tree.definitions.size(), static_cast<std::size_t>(objects));
      for (int i = 0; i < objects; ++i) {
        const ObjectDefinition& definition = *tree.definitions[static_cast<std::size_t>(i)];
        ASSERT_EQ(definition.object_name, "T" + std::to_string(i));
        ASSERT_EQ(definition.line, first_line + 3 * i + 2);
        ASSERT_EQ(definition.attributes.size(), 2u);
        ASSERT_EQ(definition.attributes[0].formula, "a" + std::to_string(i));
        ASSERT_EQ(definition.attributes[1].formula, numbered_text(6, i, 40));
      }
    }
  }
}

TEST(KoilTreeStore, ACopyOfAParsedDefinitionIsAnObjectOfItsOwn) {
  OrtiParseTree tree;
  KoilParseSettings settings;
  const std::string text = "VERSION { KOIL = \"2.2\"; OSSEMANTICS = \"ORTI\", \"2.2\"; };\n"
                           "IMPLEMENTATION I { OS { CTYPE A; CTYPE B; }; };\n"
                           "OS O { A = \"a\"; B = \"b\"; };\n";
  ASSERT_EQ(koil_parse_text(text, tree, settings, KoilReports{}), kKoilParseAccepted);
  ASSERT_EQ(tree.definitions.size(), 1u);
  // Copies made on the heap and moved about: each frees what it holds (the sanitizer build
  // tells a copy that freed the store's memory, or one that was never freed).
  auto copy = std::make_unique<ObjectDefinition>(*tree.definitions[0]);
  ObjectDefinition moved = std::move(*copy);
  auto again = std::make_unique<ObjectDefinition>(std::move(moved));
  tree.definitions.clear(); // the parsed definition ends its life in the store
  ASSERT_EQ(again->attributes.size(), 2u);
  EXPECT_EQ(again->attributes[1].name, "B");
  EXPECT_EQ(again->attributes[1].formula, "b");
  EXPECT_EQ(again->object_name, "O");
  copy.reset();
  again.reset();
  orti_tree_clear(tree);
}

// A tree assigned over another parsed one: the old definitions go before the store they live
// in (the sanitizer build tells one that outlived it), and the new ones read as parsed.
TEST(KoilTreeStore, ATreeAssignedOverAnotherKeepsOnlyItsOwn) {
  KoilParseSettings settings;
  auto parse = [&](const char* object, OrtiParseTree& tree) {
    const std::string text = std::string("VERSION { KOIL = \"2.2\"; OSSEMANTICS = \"ORTI\", "
                                         "\"2.2\"; };\nIMPLEMENTATION I { OS { CTYPE A; }; };\n"
                                         "OS ") +
                             object + " { A = \"" + object + "\"; };\n";
    return koil_parse_text(text, tree, settings, KoilReports{});
  };
  OrtiParseTree kept;
  OrtiParseTree replaced;
  ASSERT_EQ(parse("First", replaced), kKoilParseAccepted);
  ASSERT_EQ(parse("Second", kept), kKoilParseAccepted);
  replaced = std::move(kept);
  ASSERT_EQ(replaced.definitions.size(), 1u);
  EXPECT_EQ(replaced.definitions[0]->object_name, "Second");
  EXPECT_EQ(replaced.definitions[0]->attributes[0].formula, "Second");
}

} // namespace

namespace {

// The compact optional text reads as std::optional<KoilText> does, for every pair of states.
TEST(KoilOptionalText, ComparesAndReadsAsAStandardOptional) {
  const std::vector<std::optional<KoilText>> states = {std::nullopt, KoilText(""), KoilText("x"),
                                                       KoilText("xy")};
  const auto compact = [](const std::optional<KoilText>& state) {
    KoilOptionalText text;
    if (state) {
      text.emplace() = *state;
    }
    return text;
  };
  for (const auto& a : states) {
    const KoilOptionalText ca = compact(a);
    EXPECT_EQ(ca.has_value(), a.has_value());
    EXPECT_EQ(static_cast<bool>(ca), a.has_value());
    EXPECT_EQ(ca == std::nullopt, a == std::nullopt);
    if (a) {
      EXPECT_EQ(*ca, *a);
      EXPECT_EQ(ca->size(), a->size());
    }
    for (const auto& b : states) {
      EXPECT_EQ(ca == compact(b), a == b) << ca << " / " << compact(b);
      if (b) {
        EXPECT_EQ(ca == b->c_str(), a == b);
        EXPECT_EQ(ca == std::string_view(*b), a == b);
      }
    }
    KoilOptionalText reset = ca;
    reset.reset();
    EXPECT_FALSE(reset.has_value());
  }
}

// Lists of attribute definitions in a store and on the heap, copied, moved, grown and
// emptied: each must read its own items afterwards, and free only what it owns (the
// sanitizer build tells a double free, a leak or a read of freed room).
TEST(AttributeDefList, EachListReadsItsOwnItems) {
  KoilTreeStore store;
  std::vector<AttributeDef> items;
  for (int i = 0; i < 9; ++i) {
    items.push_back(AttributeDef{store.copy("n" + std::to_string(i)),
                                 store.copy("f" + std::to_string(i)), i + 1, -1});
  }
  const auto expect_items = [&](const AttributeDefList& list, std::size_t count) {
    ASSERT_EQ(list.size(), count);
    EXPECT_EQ(list.empty(), count == 0);
    for (std::size_t i = 0; i < count; ++i) {
      EXPECT_EQ(list[i].name, items[i].name) << i;
      EXPECT_EQ(list[i].formula, items[i].formula) << i;
      EXPECT_EQ(list[i].line, items[i].line) << i;
    }
  };
  struct Case {
    std::size_t count;
    bool in_store;
  };
  for (const Case& c : {Case{0, false}, Case{1, true}, Case{4, false}, Case{5, true},
                        Case{9, false}, Case{9, true}}) {
    SCOPED_TRACE(std::to_string(c.count) + (c.in_store ? " in the store" : " on the heap"));
    AttributeDefList list;
    list.assign(items.data(), items.data() + c.count, c.in_store ? store.arrays() : nullptr);
    expect_items(list, c.count);
    AttributeDefList copy = list;
    expect_items(copy, c.count);
    if (c.count > 0) {
      EXPECT_NE(copy.begin(), list.begin()); // a copy is a list of its own
    }
    AttributeDefList moved = std::move(copy);
    expect_items(moved, c.count);
    EXPECT_TRUE(copy.empty()); // NOLINT(bugprone-use-after-move): a moved-from list is empty
    AttributeDefList grown = list;
    for (std::size_t i = c.count; i < items.size(); ++i) {
      grown.push_back(items[i]);
    }
    expect_items(grown, items.size());
    expect_items(list, c.count); // growing the copy left the original as it was
    const AttributeDef* room = list.begin();
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.begin(), room); // emptied, its room kept
    moved = grown;
    expect_items(moved, items.size());
    grown = std::move(moved);
    expect_items(grown, items.size());
  }
}

} // namespace
