// Tests of the lookup tables of the object model: name maps that ignore letter case, and the
// indexed walks over trees far larger than one table block, against the plain walks they stand
// in for.
#include "orti/model/declarations.h"
#include "orti/model/model_test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using namespace model_test;

struct NamePair {
  const char* a;
  const char* b;
  bool equal; // without regard to ASCII letter case
};

// Lengths around the hash's eight-byte words, letters in either case, and bytes that differ
// only in the bit that separates the cases of a letter without being letters.
const NamePair kNamePairs[] = {
    {"", "", true},
    {"a", "A", true},
    {"TASK", "task", true},
    {"_NEXT_NODE", "_next_node", true},
    {"PRIORITY", "Priority", true},
    {"CURRENTACTIVATIONS", "currentActivations", true},
    {"REMAININGACTIVATIONS_OF_A_LONG_NAME", "remainingactivations_of_a_long_name", true},
    {"TASK", "TASKS", false},
    {"PRIORITY", "PRIORITX", false},
    {"CURRENTACTIVATIONS", "CURRENTACTIVATIONs_", false},
    {"@", "`", false},
    {"A[B", "a{b", false},
    {"\xC4", "\xE4", false},
    {"vs_1", "VS_1", true},
    {"vs_1", "vs_2", false},
};

TEST(NameMaps, MatchNamesWithoutRegardToLetterCaseOnly) {
  for (const NamePair& pair : kNamePairs) {
    EXPECT_EQ(orti_name_view_equal(pair.a, pair.b), pair.equal) << pair.a << " / " << pair.b;
    if (pair.equal) {
      EXPECT_EQ(orti_name_hash(pair.a), orti_name_hash(pair.b)) << pair.a;
    }
    OrtiNameMap<int> map;
    map.emplace(pair.a, 1);
    const int* found = map.find(pair.b);
    EXPECT_EQ(found != nullptr, pair.equal) << pair.a << " / " << pair.b;
  }
}

TEST(NameMaps, KeepEveryNameThroughGrowth) {
  std::vector<std::string> names;
  for (int i = 0; i < 3000; ++i) {
    names.push_back("Name_" + std::to_string(i) +
                    std::string(static_cast<std::size_t>(i % 19), 'x'));
  }
  OrtiNameMap<int> map;
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(map.emplace(names[i], static_cast<int>(i)), static_cast<int>(i));
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string upper = names[i];
    for (char& c : upper) {
      c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    const int* found = map.find(upper);
    ASSERT_NE(found, nullptr) << upper;
    EXPECT_EQ(*found, static_cast<int>(i));
    EXPECT_EQ(map.emplace(names[i], -1), static_cast<int>(i)) << "an existing name keeps its value";
  }
  EXPECT_EQ(map.find("Name_3000"), nullptr);
}

// The walk the indexes stand in for: newest first; once a definition of the type (and name)
// is met, its name is the one wanted, and a second one is a duplicate.
const ObjectDefinition* plain_walk(const OrtiParseTree& tree, const char* type, const char* name,
                                   const ObjectDefinition* start, bool* duplicate) {
  *duplicate = false;
  std::size_t i = start != nullptr ? start->file_index : tree.definitions.size();
  const ObjectDefinition* candidate = nullptr;
  while (i-- > 0) {
    const ObjectDefinition& d = *tree.definitions[i];
    if (!orti_name_equal(d.type_name.c_str(), type)) {
      continue;
    }
    if (candidate == nullptr ? (name != nullptr && d.object_name != name)
                             : d.object_name != candidate->object_name) {
      continue;
    }
    if (candidate != nullptr) {
      *duplicate = true;
      return nullptr;
    }
    candidate = &d;
  }
  return candidate;
}

TEST(FindDefinition, IndexedLookupMatchesThePlainWalkOnLargeTrees) {
  // Thousands of definitions, so that the index's table wraps and probes past full runs, with
  // names shared across types and cases, and a few duplicates.
  std::mt19937 rng(2024);
  const char* types[] = {"TASK", "task", "STACK", "vs_X", "ALARM"};
  std::vector<std::string> names;
  for (int i = 0; i < 2500; ++i) {
    names.push_back((i % 7 == 0 ? "n" : "N") + std::to_string(i));
  }
  TreeBuilder b;
  for (int i = 0; i < 4000; ++i) {
    const std::string& name = names[rng() % names.size()];
    b.define(types[rng() % 5], name.c_str(), i + 1, {{"X", "1", 1}});
  }
  OrtiLookup lookup(b.tree);
  Capture capture;
  for (int q = 0; q < 1500; ++q) {
    const char* type = types[rng() % 5];
    const std::string& wanted = names[rng() % names.size()];
    const char* name = (rng() % 2) != 0 ? wanted.c_str() : nullptr;
    const ObjectDefinition* start =
        (rng() % 2) == 0 ? b.tree.definitions[rng() % b.tree.definitions.size()].get() : nullptr;
    bool duplicate = false;
    const ObjectDefinition* expected = plain_walk(b.tree, type, name, start, &duplicate);
    capture.lines.clear();
    ASSERT_EQ(find_definition(type, name, lookup, start), expected) << "query " << q;
    ASSERT_EQ(capture.messages().size(), duplicate ? 2u : 0u) << "query " << q;
  }
  // A walk over one type meets every definition of it once, newest first.
  for (const char* type : {"TASK", "STACK"}) {
    std::vector<const ObjectDefinition*> expected;
    for (std::size_t i = b.tree.definitions.size(); i-- > 0;) {
      if (orti_name_equal(b.tree.definitions[i]->type_name.c_str(), type)) {
        expected.push_back(b.tree.definitions[i].get());
      }
    }
    std::vector<const ObjectDefinition*> walked;
    std::size_t before = b.tree.definitions.size();
    for (int64_t at =
             lookup.newest_of_type_before(static_cast<uint32_t>(lookup.type_number(type)), before);
         at >= 0; at = lookup.newest_of_type_before(static_cast<uint32_t>(lookup.type_number(type)),
                                                    static_cast<std::size_t>(at))) {
      walked.push_back(b.tree.definitions[static_cast<std::size_t>(at)].get());
    }
    EXPECT_EQ(walked, expected) << type;
  }
}

} // namespace
