// Where a loaded model's records live: in the room of the attribute definitions they were made
// from, inside the parse tree. These tests hold the model to what that asks of its owners: the
// tree's lists of taken definitions read as empty, a record's value caches and extras come and
// go without disturbing its neighbours, a loader may be moved away, and a reload replaces the
// model before the tree it lived in. The sanitizer build tells a record read or destroyed
// after its room was freed.
#include "orti/orti_load.h"

#include "runtime/message_output.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

void drop_message(void*, MessageSeverity, const char*) {}

// The model's messages go nowhere while a test loads.
class QuietModel {
public:
  QuietModel() { set_message_sink(drop_message, nullptr); }
  ~QuietModel() { reset_message_sink(); }
};

const char* const kHead = "VERSION { KOIL = \"2.3\"; OSSEMANTICS = \"ORTI\", \"2.3\"; };\n";

struct Expected {
  const char* object; // a task's name
  const char* slot;   // "PRIORITY", "STATE", "_NAME" (else custom), or a custom attribute's name
  const char* formula;
};

std::string formula_of(const OrtiObject& task, const std::string& slot) {
  const AttributeDecl* record = nullptr;
  if (slot == "PRIORITY") {
    record = task.standard[kTaskPriority].get();
  } else if (slot == "STATE") {
    record = task.standard[kTaskState].get();
  } else if (slot == "_NAME") {
    record = task.name_attribute();
  }
  if (record == nullptr) { // a custom attribute, or one that became custom
    for (const CustomAttribute& custom : task.custom_attributes) {
      if (slot == custom.attribute->name()) {
        record = custom.attribute.get();
      }
    }
  }
  if (record == nullptr) {
    return "(none)";
  }
  return record->formula != nullptr ? record->formula : "(null)";
}

const OrtiObject* task_named(const OrtiModel& model, const std::string& name) {
  for (const OrtiObject& task : model.tasks) {
    if (name == task.name) {
      return &task;
    }
  }
  return nullptr;
}

struct LoadCase {
  const char* what;
  int extended_syntax;
  std::string body; // after the version section
  std::vector<Expected> expected;
};

std::vector<LoadCase> load_cases() {
  const std::string decl = "IMPLEMENTATION I { OS { CTYPE RUNNINGTASK; };\n"
                           "  TASK { CTYPE PRIORITY; ENUM [ \"R\" = 0 ] STATE; CTYPE vs_X; }; };\n"
                           "OS O { RUNNINGTASK = \"rt\"; };\n";
  return {
      {"every attribute a record of its own",
       0,
       decl + "TASK A { PRIORITY = \"pa\"; STATE = \"sa\"; vs_X = \"xa\"; };\n"
              "TASK B { vs_X = \"xb\"; PRIORITY = \"pb\"; };\n",
       {{"A", "PRIORITY", "pa"},
        {"A", "STATE", "sa"},
        {"A", "vs_X", "xa"},
        {"B", "PRIORITY", "pb"},
        {"B", "vs_X", "xb"},
        {"B", "STATE", "(none)"}}},
      {"an attribute given twice: the second record replaces the first",
       0,
       decl + "TASK A { PRIORITY = \"p1\"; STATE = \"sa\"; PRIORITY = \"p2\"; };\n",
       {{"A", "PRIORITY", "p2"}, {"A", "STATE", "sa"}}},
      {"a standard attribute of the wrong type becomes a custom one",
       1,
       "IMPLEMENTATION I { OS { CTYPE RUNNINGTASK; };\n"
       "  TASK { STRING PRIORITY; CTYPE vs_X; }; };\n"
       "OS O { RUNNINGTASK = \"rt\"; };\n"
       "TASK A { PRIORITY = \"pa\"; vs_X = \"xa\"; };\n",
       {{"A", "PRIORITY", "pa"}, {"A", "vs_X", "xa"}}},
      {"list attributes beside standard ones",
       0,
       "IMPLEMENTATION I { OS { CTYPE RUNNINGTASK; }; TASK { CTYPE PRIORITY; CTYPE TASK_ID; }; };\n"
       "OS O { RUNNINGTASK = \"rt\"; };\n"
       "TASK *L { _PARENT_NODE = \"h\"; _ITEM = \"i\"; _NEXT_NODE = \"n\"; _NODE_VALID = \"v\";\n"
       "  _NAME = \"nm\"; TASK_ID = \"id\"; PRIORITY = \"pl\"; };\n",
       {{"L", "_NAME", "nm"}, {"L", "PRIORITY", "pl"}}},
  };
}

TEST(ModelLifetime, RecordsReadWhatTheirDefinitionsSaid) {
  QuietModel quiet;
  for (const LoadCase& c : load_cases()) {
    SCOPED_TRACE(c.what);
    LoadedOrti loaded;
    ASSERT_EQ(orti_load_text(kHead + c.body, "t.ort", c.extended_syntax, OrtiLoadSink{}, loaded),
              OrtiLoadStatus::Loaded);
    for (const Expected& e : c.expected) {
      const OrtiObject* task = task_named(*loaded.model, e.object);
      ASSERT_NE(task, nullptr) << e.object;
      EXPECT_EQ(formula_of(*task, e.slot), e.formula) << e.object << " " << e.slot;
    }
    // What is left of a taken definition is the model's: its list reads as empty.
    for (const auto& def : loaded.tree.definitions) {
      EXPECT_TRUE(def->processed);
      EXPECT_TRUE(def->attributes.empty()) << def->object_name;
    }
  }
}

TEST(ModelLifetime, ValueCachesAndElementsOfNeighbouringRecords) {
  QuietModel quiet;
  LoadedOrti loaded;
  const std::string text = std::string(kHead) +
                           "IMPLEMENTATION I { OS { CTYPE RUNNINGTASK; };\n"
                           "  TASK { CTYPE PRIORITY; CTYPE vs_A[]; CTYPE vs_B; }; };\n"
                           "OS O { RUNNINGTASK = \"rt\"; };\n"
                           "TASK T { PRIORITY = \"p\"; vs_A[0] = \"a0\"; vs_A[1] = \"a1\";\n"
                           "  vs_B = \"b\"; };\n";
  ASSERT_EQ(orti_load_text(text, "t.ort", 0, OrtiLoadSink{}, loaded), OrtiLoadStatus::Loaded);
  OrtiObject& task = loaded.model->tasks.at(0);
  ASSERT_EQ(task.custom_attributes.size(), 2u);
  AttributeDecl& array = *task.custom_attributes[0].attribute;
  AttributeDecl& plain = *task.custom_attributes[1].attribute;
  AttributeDecl& priority = *task.standard[kTaskPriority];
  ASSERT_EQ(attribute_element_count(array), 2);
  // Each step stores, clears or grows one record's cache; the others and the array's elements
  // must read as before after every step.
  struct Step {
    AttributeDecl* record;
    std::size_t resize_to; // 0: clear
  };
  for (const Step& step : {Step{&array, 2}, Step{&plain, 1}, Step{&array, 0}, Step{&priority, 3},
                           Step{&array, 1}, Step{&plain, 0}, Step{&priority, 0}}) {
    if (step.resize_to == 0) {
      step.record->value_cache.clear();
      EXPECT_TRUE(step.record->value_cache.empty());
    } else {
      step.record->value_cache.resize(step.resize_to);
      step.record->value_cache[step.resize_to - 1].generation = 7;
      EXPECT_EQ(step.record->value_cache.size(), step.resize_to);
    }
    EXPECT_STREQ(attribute_formula_for_core(array, 0), "a0");
    EXPECT_STREQ(attribute_formula_for_core(array, 1), "a1");
    EXPECT_STREQ(array.formula, "a0");
    EXPECT_STREQ(plain.formula, "b");
    EXPECT_STREQ(priority.formula, "p");
    EXPECT_STREQ(plain.name(), "vs_B");
  }
  EXPECT_EQ(array.value_cache.size(), 1u);
  EXPECT_EQ(array.value_cache[0].generation, 7u);
}

TEST(ModelLifetime, AModelOutlivesTheLoaderItWasMovedFrom) {
  QuietModel quiet;
  auto moved = std::make_unique<LoadedOrti>();
  // Loaded before, so that the move must drop a model of its own first.
  ASSERT_EQ(orti_load_text(std::string(kHead) + "IMPLEMENTATION I { OS { CTYPE RUNNINGTASK; }; };\n"
                                                "OS O { RUNNINGTASK = \"old\"; };\n",
                           "old.ort", 0, OrtiLoadSink{}, *moved),
            OrtiLoadStatus::Loaded);
  moved->model->os.standard[kOsRunningTask].reset(); // an ENUM slot: the record went custom
  ASSERT_EQ(moved->model->os.custom_attributes.size(), 1u);
  moved->model->os.custom_attributes[0].attribute->value_cache.resize(2);
  {
    LoadedOrti first;
    const std::string text =
        std::string(kHead) +
        "IMPLEMENTATION I { OS { CTYPE RUNNINGTASK; }; TASK { CTYPE PRIORITY; "
        "}; };\nOS O { RUNNINGTASK = \"rt\"; };\nTASK A { PRIORITY = \"pa\"; };\n";
    ASSERT_EQ(orti_load_text(text, "t.ort", 0, OrtiLoadSink{}, first), OrtiLoadStatus::Loaded);
    *moved = std::move(first);
  }
  ASSERT_TRUE(moved->model);
  EXPECT_STREQ(moved->model->tasks.at(0).standard[kTaskPriority]->formula, "pa");
  moved->model->tasks.at(0).standard[kTaskPriority]->value_cache.resize(1);
  moved.reset(); // the model's records end before the tree frees their room
}

TEST(ModelLifetime, AReloadReplacesTheModelBeforeItsTree) {
  QuietModel quiet;
  const auto text = [](int tasks, const char* tag) {
    std::string out = std::string(kHead) +
                      "IMPLEMENTATION I { OS { CTYPE RUNNINGTASK; }; TASK { CTYPE PRIORITY; "
                      "CTYPE vs_X; }; };\nOS O { RUNNINGTASK = \"rt\"; };\n";
    for (int i = 0; i < tasks; ++i) {
      out += "TASK T" + std::to_string(i) + " { PRIORITY = \"" + tag + std::to_string(i) +
             "\"; vs_X = \"x\"; };\n";
    }
    return out;
  };
  LoadedOrti loaded;
  struct Load {
    int tasks;
    const char* tag;
    bool valid; // an invalid text fails to load and leaves no model
  };
  for (const Load& load : {Load{3, "a", true}, Load{40, "b", true}, Load{0, "", false},
                           Load{1, "c", true}, Load{3, "a", true}}) {
    const std::string body = load.valid ? text(load.tasks, load.tag) : std::string("VERSION {");
    const OrtiLoadStatus status = orti_load_text(body, "t.ort", 0, OrtiLoadSink{}, loaded);
    ASSERT_EQ(status == OrtiLoadStatus::Loaded, load.valid) << load.tasks << load.tag;
    if (!load.valid) {
      EXPECT_FALSE(loaded.model);
      continue;
    }
    ASSERT_EQ(loaded.model->tasks.size(), static_cast<std::size_t>(load.tasks));
    for (int i = 0; i < load.tasks; ++i) {
      OrtiObject& task = loaded.model->tasks[static_cast<std::size_t>(i)];
      EXPECT_EQ(formula_of(task, "PRIORITY"), load.tag + std::to_string(i));
      task.standard[kTaskPriority]->value_cache.resize(1); // freed with the model
    }
  }
}

} // namespace
