// Tests of the parse tree's text store: copies and interned names stay valid and distinct
// however many there are, and a store keeps them when it moves.
#include "orti/parser/koil_parser.h"
#include "orti/parser/koil_text.h"

#include <gtest/gtest.h>

#include <string>
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

} // namespace
