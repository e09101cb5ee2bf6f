// Tests of object instantiation: the order of kinds and objects, the standard slots, the list
// checks, vendor-specific kinds, ENUM linking and every load outcome the messages announce.
#include "orti/model/instantiate.h"

#include "orti/model/model_test_support.h"
#include "orti/parser/koil_parser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace model_test;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;
using ::testing::StrEq;

namespace {

std::vector<std::string> names_of(const std::vector<OrtiObject>& objects) {
  std::vector<std::string> out;
  for (const OrtiObject& o : objects) {
    out.emplace_back(o.name);
  }
  return out;
}

TEST(ParseKoil, TasksEndInFileOrderAndDefinitionsPointAtThem) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
  ObjectDefinition& t1 = b.define("TASK", "T1", 200, {{"PRIORITY", "1", 201}});
  ObjectDefinition& t2 = b.define("TASK", "T2", 210, {{"PRIORITY", "2", 211}});
  ObjectDefinition& t3 = b.define("TASK", "T3", 220, {{"PRIORITY", "3", 221}});
  Capture capture;
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  EXPECT_THAT(names_of(model->tasks), ElementsAre("T1", "T2", "T3"));
  EXPECT_TRUE(t1.processed && t2.processed && t3.processed);
  EXPECT_EQ(t1.instance, &model->tasks[0]);
  EXPECT_EQ(t3.instance, &model->tasks[2]);
  EXPECT_EQ(model->tasks[1].kind, kObjectKindTask);
  ASSERT_TRUE(model->tasks[1].standard[kTaskPriority]);
  EXPECT_STREQ(model->tasks[1].standard[kTaskPriority]->formula, "2");
  EXPECT_STREQ(model->os.name, "TheOs");
  EXPECT_TRUE(capture.messages().empty());
}

TEST(ParseKoil, ObjectsAreFilledNewestFirstSoTheirMessagesComeInThatOrder) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
  b.define("TASK", "T1", 200, {{"vs_A", "1", 201}});
  b.define("TASK", "T2", 210, {{"vs_B", "2", 211}});
  Capture capture;
  ASSERT_TRUE(parse_koil(&b.tree, 0));
  EXPECT_THAT(capture.messages(), ElementsAre("E: vs_B not declared in object T2 in t.ort\n",
                                              "E: (T2 declared at line 10)\n",
                                              "E: vs_A not declared in object T1 in t.ort\n",
                                              "E: (T1 declared at line 10)\n"));
}

TEST(ParseKoil, OsMustBeDefinedAndDeclared) {
  {
    TreeBuilder b("no_os.ort");
    b.declare("OS", 1, {spec(kKindEnum, "RUNNINGTASK", 2, "int", {element("X", 0, 2)})});
    b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
    b.define("TASK", "T1", 200, {{"PRIORITY", "1", 201}});
    Capture capture;
    EXPECT_FALSE(parse_koil(&b.tree, 0));
    EXPECT_THAT(capture.messages(), ElementsAre("E: OS not defined in no_os.ort!\n"));
    EXPECT_FALSE(b.tree.definitions[0]->processed);
  }
  {
    TreeBuilder b("undeclared.ort");
    b.define("OS", "Os1", 100, {{"RUNNINGTASK", "r", 101}});
    Capture capture;
    EXPECT_FALSE(parse_koil(&b.tree, 0));
    EXPECT_THAT(capture.messages(), ElementsAre("E: OS not declared in undeclared.ort!\n"));
  }
}

TEST(ParseKoil, MultipleOsDefinitions) {
  {
    TreeBuilder b("m.ort");
    b.minimal_os();
    b.define("OS", "Other", 300, {{"RUNNINGTASK", "r", 301}});
    Capture capture;
    EXPECT_FALSE(parse_koil(&b.tree, 0));
    EXPECT_THAT(capture.messages(), ElementsAre("E: Multiple OS definitions found!\n",
                                                "E: Error extracting OS information from m.ort\n"));
  }
  {
    // Same name: the duplicate check of the lookup fails first.
    TreeBuilder b("m.ort");
    b.minimal_os();
    b.define("OS", "TheOs", 300, {{"RUNNINGTASK", "r", 301}});
    Capture capture;
    EXPECT_FALSE(parse_koil(&b.tree, 0));
    EXPECT_THAT(capture.messages(),
                ElementsAre("E: Duplicate OS definition found on line 300\n",
                            "E: OS first defined on line 101\n", "E: OS not defined in m.ort!\n"));
  }
}

TEST(ParseKoil, NoTaskDefinitionsWarnsAndLoads) {
  TreeBuilder b;
  b.minimal_os();
  Capture capture(200);
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  EXPECT_TRUE(model->tasks.empty());
  EXPECT_THAT(capture.messages(), ElementsAre("W: No TASK definitions found\n"));
  // The other kinds only trace their absence.
  EXPECT_THAT(capture.lines, Contains("T101: No STACK definitions found\n"));
  EXPECT_THAT(capture.lines, Contains("T101: No MESSAGECONTAINER definitions found\n"));
}

TEST(ParseKoil, DefinitionsWithoutDeclarationFailTheirStep) {
  struct Case {
    const char* type;
    const char* message;
  };
  for (const Case& c :
       {Case{"TASK", "E: TASK definitions found, but no TASK declaration found\n"},
        Case{"STACK", "E: STACK definitions found, but no STACK declaration found\n"},
        Case{"CONTEXT", "E: CONTEXT definitions found, but no CONTEXT declaration found\n"},
        Case{"ALARM", "E: ALARM definitions found, but no ALARM declaration found\n"},
        Case{"RESOURCE", "E: RESOURCE definitions found, but no RESOURCE declaration found\n"},
        Case{"MESSAGECONTAINER", "E: MESSAGECONTAINER definitions found, but no "
                                 "MESSAGECONTAINER declaration found\n"},
        Case{"vs_THING", "E: vs_THING definitions found, but no vs_THING declaration found\n"}}) {
    TreeBuilder b;
    b.minimal_os();
    b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
    b.define("TASK", "T1", 200, {{"PRIORITY", "1", 201}});
    if (std::string(c.type) != "TASK") {
      b.define(c.type, "X1", 300, {{"A", "1", 301}});
    } else {
      b.tree.declarations.pop_back();
    }
    Capture capture;
    EXPECT_FALSE(parse_koil(&b.tree, 0)) << c.type;
    EXPECT_THAT(capture.messages(), ElementsAre(c.message)) << c.type;
  }
}

// A TASK kind with every standard attribute, as a table of (attribute, slot).
TEST(ParseKoil, TaskAttributesFillTheirSlots) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("TASK", 10,
            {spec(kKindEnum, "PRIORITY", 11, "int", {element("P", 1, 11)}),
             spec(kKindEnum, "STATE", 12, "int", {element("READY", 1, 12)}),
             spec(kKindEnum, "STACK", 13, "int", {element("S", 1, 13)}),
             spec(kKindCtype, "CURRENTACTIVATIONS", 14),
             spec(kKindCtype, "REMAININGACTIVATIONS", 15),
             spec(kKindEnum, "CONTEXT", 16, "int", {element("C", 1, 16)}),
             spec(kKindCtype, "TASK_ID", 17), spec(kKindCtype, "VALID", 18),
             spec(kKindCtype, "vs_EXTRA", 19)});
  b.define("TASK", "T1", 200,
           {{"PRIORITY", "prio", 1},
            {"STATE", "state", 2},
            {"STACK", "stack", 3},
            {"CURRENTACTIVATIONS", "cur", 4},
            {"REMAININGACTIVATIONS", "rem", 5},
            {"CONTEXT", "ctx", 6},
            {"TASK_ID", "id", 7},
            {"VALID", "valid", 8},
            {"vs_EXTRA", "extra", 9},
            {"_PARENT_NODE", "parent", 10},
            {"_NAME", "name", 11}});
  Capture capture(200);
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  const OrtiObject& t = model->tasks.at(0);
  struct Slot {
    int slot;
    const char* formula;
  };
  for (const Slot& s :
       {Slot{kTaskPriority, "prio"}, Slot{kTaskState, "state"}, Slot{kTaskStack, "stack"},
        Slot{kTaskCurrentActivations, "cur"}, Slot{kTaskRemainingActivations, "rem"},
        Slot{kTaskContext, "ctx"}, Slot{kTaskTaskId, "id"}}) {
    ASSERT_TRUE(t.standard[static_cast<std::size_t>(s.slot)]) << s.formula;
    EXPECT_STREQ(t.standard[static_cast<std::size_t>(s.slot)]->formula, s.formula);
  }
  ASSERT_TRUE(t.valid);
  EXPECT_STREQ(t.valid->formula, "valid");
  ASSERT_TRUE(t.parent_node());
  EXPECT_EQ(t.parent_node()->kind(), kKindString);
  ASSERT_TRUE(t.name_attribute());
  EXPECT_TRUE(t.name_attribute()->is_name_attribute());
  ASSERT_EQ(t.custom_attribute_count(), 1);
  EXPECT_STREQ(t.custom_attributes[0].attribute->name(), "vs_EXTRA");
  EXPECT_FALSE(t.custom_attributes[0].flag);
  EXPECT_THAT(capture.lines,
              Contains("T102: Unrecognized attribute vs_EXTRA in T1 object at line 9 of t.ort\n"));
  EXPECT_THAT(capture.lines,
              Not(Contains("T102: Vendor-specific attribute did not start with vs_\n")));
  EXPECT_THAT(capture.lines, Not(Contains(::testing::AllOf(::testing::HasSubstr("Found no"),
                                                           ::testing::HasSubstr("in T1 object")))));
}

const OrtiObject& only_object(const OrtiModel& model, int32_t kind) {
  switch (kind) {
  case kObjectKindOs:
    return model.os;
  case kObjectKindTask:
    return model.tasks.at(0);
  case kObjectKindStack:
    return model.stacks.at(0);
  case kObjectKindContext:
    return model.contexts.at(0);
  case kObjectKindAlarm:
    return model.alarms.at(0);
  case kObjectKindResource:
    return model.resources.at(0);
  case kObjectKindMessageContainer:
    return model.message_containers.at(0);
  default:
    return model.vendor_kinds.at(0).objects.at(0);
  }
}

std::vector<std::string> without_no_task_warning(std::vector<std::string> messages) {
  std::erase(messages, std::string("W: No TASK definitions found\n"));
  return messages;
}

// Every standard attribute of every kind, declared once with each of the three types: it fills
// its slot exactly when the kind allows that type for it; otherwise the type is reported with
// the allowed ones and the attribute stays as a custom attribute.
TEST(ParseKoil, StandardAttributesAcceptExactlyTheirAllowedTypes) {
  constexpr int kValidSlot = -1;
  constexpr int32_t C = kKindCtype;
  constexpr int32_t E = kKindEnum;
  constexpr int32_t S = kKindString;
  struct Case {
    const char* type_name;
    int32_t kind;
    const char* attribute;
    int slot;
    int32_t allowed;
    const char* allowed_text;
  };
  const Case cases[] = {
      {"OS", kObjectKindOs, "RUNNINGTASK", kOsRunningTask, E, " ENUM"},
      {"OS", kObjectKindOs, "_RUNNINGTASK", kOsRunningTaskId, C, " CTYPE"},
      {"OS", kObjectKindOs, "RUNNINGTASKPRIORITY", kOsRunningTaskPriority, C | E, " CTYPE ENUM"},
      {"OS", kObjectKindOs, "RUNNINGISR2", kOsRunningIsr2, E, " ENUM"},
      {"OS", kObjectKindOs, "SERVICETRACE", kOsServiceTrace, E, " ENUM"},
      {"OS", kObjectKindOs, "LASTERROR", kOsLastError, E, " ENUM"},
      {"OS", kObjectKindOs, "CURRENTAPPMODE", kOsCurrentAppMode, E, " ENUM"},
      {"OS", kObjectKindOs, "VALID", kValidSlot, C, " CTYPE"},
      {"TASK", kObjectKindTask, "PRIORITY", kTaskPriority, C | E, " CTYPE ENUM"},
      {"TASK", kObjectKindTask, "STATE", kTaskState, E, " ENUM"},
      {"TASK", kObjectKindTask, "STACK", kTaskStack, E, " ENUM"},
      {"TASK", kObjectKindTask, "CURRENTACTIVATIONS", kTaskCurrentActivations, C, " CTYPE"},
      {"TASK", kObjectKindTask, "REMAININGACTIVATIONS", kTaskRemainingActivations, C, " CTYPE"},
      {"TASK", kObjectKindTask, "CONTEXT", kTaskContext, E, " ENUM"},
      {"TASK", kObjectKindTask, "TASK_ID", kTaskTaskId, C, " CTYPE"},
      {"TASK", kObjectKindTask, "VALID", kValidSlot, C, " CTYPE"},
      {"STACK", kObjectKindStack, "SIZE", kStackSize, C, " CTYPE"},
      {"STACK", kObjectKindStack, "BASEADDRESS", kStackBaseAddress, C, " CTYPE"},
      {"STACK", kObjectKindStack, "STACKDIRECTION", kStackDirection, S, " STRING"},
      {"STACK", kObjectKindStack, "FILLPATTERN", kStackFillPattern, C, " CTYPE"},
      {"STACK", kObjectKindStack, "VALID", kValidSlot, C, " CTYPE"},
      {"CONTEXT", kObjectKindContext, "SIZE", kContextSize, C, " CTYPE"},
      {"CONTEXT", kObjectKindContext, "ADDRESS", kContextAddress, C, " CTYPE"},
      {"CONTEXT", kObjectKindContext, "VALID", kValidSlot, C, " CTYPE"},
      {"ALARM", kObjectKindAlarm, "ALARMTIME", kAlarmAlarmTime, C, " CTYPE"},
      {"ALARM", kObjectKindAlarm, "CYCLETIME", kAlarmCycleTime, C, " CTYPE"},
      {"ALARM", kObjectKindAlarm, "STATE", kAlarmState, E, " ENUM"},
      {"ALARM", kObjectKindAlarm, "ACTION", kAlarmAction, S, " STRING"},
      {"ALARM", kObjectKindAlarm, "COUNTER", kAlarmCounter, S, " STRING"},
      {"RESOURCE", kObjectKindResource, "STATE", kResourceState, E, " ENUM"},
      {"RESOURCE", kObjectKindResource, "LOCKER", kResourceLocker, E, " ENUM"},
      {"RESOURCE", kObjectKindResource, "PRIORITY", kResourcePriority, E | S, " ENUM STRING"},
      {"MESSAGECONTAINER", kObjectKindMessageContainer, "MSGNAME", kMessageContainerMsgName, S,
       " STRING"},
      {"MESSAGECONTAINER", kObjectKindMessageContainer, "MSGTYPE", kMessageContainerMsgType, S,
       " STRING"},
      {"MESSAGECONTAINER", kObjectKindMessageContainer, "QUEUESIZE", kMessageContainerQueueSize, C,
       " CTYPE"},
      {"MESSAGECONTAINER", kObjectKindMessageContainer, "QUEUECOUNT", kMessageContainerQueueCount,
       C, " CTYPE"},
      {"MESSAGECONTAINER", kObjectKindMessageContainer, "FIRSTELEMENT",
       kMessageContainerFirstElement, C, " CTYPE"},
  };
  const struct {
    int32_t bit;
    const char* name;
  } types[] = {{C, "CTYPE"}, {E, "ENUM"}, {S, "STRING"}};
  for (const Case& c : cases) {
    for (const auto& type : types) {
      SCOPED_TRACE(std::string(c.type_name) + " " + c.attribute + " as " + type.name);
      TreeBuilder b("k.ort");
      // ENUMs carry the labels the OS checks look for, and the attribute is traced, so that
      // the only messages are those about the type.
      std::vector<EnumElement> elements;
      if (type.bit == E) {
        elements = {element("NO_ISR", 0, 31), element("E_OK", 1, 31)};
      }
      std::optional<std::string> c_type;
      if (type.bit != S) {
        c_type = "int";
      }
      AttributeSpec declared = spec(type.bit, c.attribute, 31, c_type, elements, true);
      if (c.kind == kObjectKindOs) {
        b.declare("OS", 30, {declared});
        b.define("OS", "Obj", 300, {{c.attribute, "DOWN", 301}});
      } else {
        b.minimal_os();
        b.declare(c.type_name, 30, {declared});
        b.define(c.type_name, "Obj", 300, {{c.attribute, "DOWN", 301}});
      }
      Capture capture;
      auto model = parse_koil(&b.tree, 0);
      ASSERT_TRUE(model);
      const OrtiObject& object = only_object(*model, c.kind);
      const std::unique_ptr<AttributeDecl>& slot =
          c.slot == kValidSlot ? object.valid : object.standard[static_cast<std::size_t>(c.slot)];
      if ((type.bit & c.allowed) != 0) {
        ASSERT_TRUE(slot);
        EXPECT_EQ(slot->kind(), type.bit);
        EXPECT_STREQ(slot->formula, "DOWN");
        EXPECT_EQ(object.custom_attribute_count(), 0);
        EXPECT_TRUE(without_no_task_warning(capture.messages()).empty())
            << ::testing::PrintToString(capture.messages());
      } else {
        EXPECT_FALSE(slot);
        ASSERT_EQ(object.custom_attribute_count(), 1);
        EXPECT_EQ(object.custom_attributes[0].attribute->kind(), type.bit);
        EXPECT_THAT(without_no_task_warning(capture.messages()),
                    ElementsAre(std::string("E: ") + c.attribute +
                                    " (declared at line 31) has type " + type.name + "\n",
                                std::string("E: Allowed types are") + c.allowed_text + "\n"));
      }
    }
  }
}

// The attributes whose absence each kind traces, in the order it traces them.
TEST(ParseKoil, EachKindTracesItsMissingStandardAttributes) {
  struct Case {
    const char* type_name;
    std::vector<const char*> traced;
  };
  const Case cases[] = {
      {"TASK", {"PRIORITY", "STATE", "STACK", "CURRENTACTIVATIONS", "CONTEXT"}},
      {"STACK", {"SIZE", "BASEADDRESS", "STACKDIRECTION", "FILLPATTERN"}},
      {"CONTEXT", {"SIZE", "ADDRESS"}},
      {"ALARM", {"ALARMTIME", "CYCLETIME", "STATE", "ACTION", "COUNTER"}},
      {"RESOURCE", {"STATE", "LOCKER", "PRIORITY"}},
      {"MESSAGECONTAINER", {"MSGNAME", "MSGTYPE", "QUEUESIZE", "QUEUECOUNT", "FIRSTELEMENT"}},
      {"vs_KIND", {}},
  };
  for (const Case& c : cases) {
    TreeBuilder b;
    b.minimal_os();
    b.declare(c.type_name, 30, {spec(kKindCtype, "vs_OTHER", 31)});
    b.define(c.type_name, "Obj", 300, {{"vs_OTHER", "1", 301}});
    Capture capture(103);
    ASSERT_TRUE(parse_koil(&b.tree, 0)) << c.type_name;
    std::vector<std::string> expected;
    for (const char* name : c.traced) {
      expected.push_back(std::string("T103: Found no ") + name + " attribute in Obj object\n");
    }
    std::vector<std::string> found_no;
    for (const std::string& line : capture.lines) {
      if (line.find(" in Obj object\n") != std::string::npos) {
        found_no.push_back(line);
      }
    }
    EXPECT_EQ(found_no, expected) << c.type_name;
  }
}

// A vendor-specific kind knows the six list attributes and nothing else: not even VALID.
TEST(ParseKoil, VendorObjectsKnowOnlyTheListAttributes) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("vs_KIND", 30, {spec(kKindCtype, "VALID", 31), spec(kKindCtype, "SIZE", 32)});
  b.define("vs_KIND", "Obj", 300,
           {{"_PARENT_NODE", "p", 301},
            {"_ITEM", "i", 302},
            {"_NEXT_NODE", "n", 303},
            {"_NODE_VALID", "v", 304},
            {"_NAME", "nm", 305},
            {"_OWNER", "o", 306},
            {"VALID", "1", 307},
            {"SIZE", "2", 308}},
           true);
  Capture capture(102);
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  const OrtiObject& object = only_object(*model, kObjectKindVendor);
  EXPECT_TRUE(object.is_list);
  EXPECT_TRUE(object.parent_node() && object.item() && object.next_node() && object.node_valid() &&
              object.name_attribute() && object.owner());
  EXPECT_FALSE(object.valid);
  ASSERT_EQ(object.custom_attribute_count(), 2);
  EXPECT_STREQ(object.custom_attributes[0].attribute->name(), "VALID");
  EXPECT_STREQ(object.custom_attributes[1].attribute->name(), "SIZE");
  EXPECT_THAT(capture.lines,
              Contains("T102: Unrecognized attribute VALID in Obj object at line 307 of t.ort\n"));
  EXPECT_THAT(capture.lines,
              Not(Contains("T102: Vendor-specific attribute did not start with vs_\n")));
}

TEST(ParseKoil, MissingStandardAttributesOnlyTrace) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11), spec(kKindCtype, "OTHER", 12)});
  b.define("TASK", "T1", 200, {{"OTHER", "1", 201}});
  Capture capture(103);
  ASSERT_TRUE(parse_koil(&b.tree, 0));
  std::vector<std::string> found_no;
  for (const std::string& line : capture.lines) {
    if (line.find("Found no") != std::string::npos &&
        line.find(" in T1 object") != std::string::npos) {
      found_no.push_back(line);
    }
  }
  EXPECT_THAT(found_no, ElementsAre("T103: Found no PRIORITY attribute in T1 object\n",
                                    "T103: Found no STATE attribute in T1 object\n",
                                    "T103: Found no STACK attribute in T1 object\n",
                                    "T103: Found no CURRENTACTIVATIONS attribute in T1 object\n",
                                    "T103: Found no CONTEXT attribute in T1 object\n"));
  EXPECT_THAT(capture.lines, Contains("T102: Vendor-specific attribute did not start with vs_\n"));
}

TEST(ParseKoil, StateTypedAsCtypeBecomesACustomAttributeInBothSyntaxModes) {
  for (int extended : {0, 1}) {
    TreeBuilder b;
    b.minimal_os();
    b.declare("TASK", 10, {spec(kKindCtype, "STATE", 11, "int")});
    b.define("TASK", "T1", 200, {{"STATE", "st", 201}});
    Capture capture;
    auto model = parse_koil(&b.tree, extended);
    ASSERT_TRUE(model) << extended;
    const OrtiObject& t = model->tasks.at(0);
    EXPECT_FALSE(t.standard[kTaskState]);
    ASSERT_EQ(t.custom_attribute_count(), 1);
    EXPECT_EQ(t.custom_attributes[0].attribute->kind(), kKindCtype);
    EXPECT_STREQ(t.custom_attributes[0].attribute->formula, "st");
    if (extended == 0) {
      EXPECT_THAT(capture.messages(), ElementsAre("E: STATE (declared at line 11) has type CTYPE\n",
                                                  "E: Allowed types are ENUM\n"));
    } else {
      EXPECT_THAT(capture.messages(),
                  ElementsAre("W: STATE (declared at line 11) has type CTYPE\n",
                              "W: Allowed types are ENUM\n",
                              "W: Attribute STATE of TASK does not adhere to the ORTI standard.  "
                              "Processing as a custom attribute.\n"));
    }
  }
}

TEST(ParseKoil, OrtiVersionAboveTwoPointTwoWarns) {
  struct Case {
    OrtiVersion version;
    bool warns;
  };
  for (const Case& c : {Case{{2, 3}, true}, Case{{3, 0}, true}, Case{{2, 2}, false},
                        Case{{2, 1}, false}, Case{{0, 0}, false}, Case{{1, 9}, false}}) {
    TreeBuilder b("v.ort", c.version);
    b.minimal_os();
    b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
    b.define("TASK", "T1", 200, {{"PRIORITY", "1", 201}});
    Capture capture;
    auto model = parse_koil(&b.tree, 0);
    ASSERT_TRUE(model);
    EXPECT_EQ(model->orti_version.major, c.version.major);
    EXPECT_EQ(model->orti_version.minor, c.version.minor);
    const std::vector<std::string> expected =
        c.warns ? std::vector<std::string>{"W: ORTI information is in newer format than this "
                                           "tool supports\n"}
                : std::vector<std::string>{};
    EXPECT_EQ(capture.messages(), expected) << c.version.major << "." << c.version.minor;
  }
}

TEST(ParseKoil, ListObjectsNeedTheirListAttributes) {
  const std::initializer_list<Attr> complete = {
      {"_PARENT_NODE", "p", 1}, {"_ITEM", "i", 2}, {"_NEXT_NODE", "n", 3}, {"_NODE_VALID", "v", 4}};
  {
    TreeBuilder b;
    b.minimal_os();
    b.declare("TASK", 10, {spec(kKindCtype, "TASK_ID", 11)});
    b.define("TASK", "Tasks", 200, complete, true);
    Capture capture;
    EXPECT_FALSE(parse_koil(&b.tree, 0));
    EXPECT_THAT(capture.messages(),
                ElementsAre("E: Object Tasks is a list but is missing TASK_ID, _PARENT_NODE, "
                            "_ITEM, _NEXT_NODE and/or _NODE_VALID attributes\n"));
  }
  {
    // The same object without the star loads.
    TreeBuilder b;
    b.minimal_os();
    b.declare("TASK", 10, {spec(kKindCtype, "TASK_ID", 11)});
    b.define("TASK", "Tasks", 200, complete, false);
    Capture capture;
    auto model = parse_koil(&b.tree, 0);
    ASSERT_TRUE(model);
    EXPECT_FALSE(model->tasks[0].is_list);
    EXPECT_TRUE(model->tasks[0].next_node());
  }
  {
    TreeBuilder b;
    b.minimal_os();
    b.declare("TASK", 10, {spec(kKindCtype, "TASK_ID", 11)});
    b.define("TASK", "Tasks", 200,
             {{"_PARENT_NODE", "p", 1},
              {"_ITEM", "i", 2},
              {"_NEXT_NODE", "n", 3},
              {"_NODE_VALID", "v", 4},
              {"TASK_ID", "id", 5}},
             true);
    Capture capture;
    auto model = parse_koil(&b.tree, 0);
    ASSERT_TRUE(model);
    EXPECT_TRUE(model->tasks[0].is_list);
  }
  {
    TreeBuilder b;
    b.minimal_os();
    b.declare("ALARM", 10, {spec(kKindCtype, "ALARMTIME", 11)});
    b.define("ALARM", "Alarms", 200,
             {{"_PARENT_NODE", "p", 1}, {"_ITEM", "i", 2}, {"_NEXT_NODE", "n", 3}}, true);
    Capture capture;
    EXPECT_FALSE(parse_koil(&b.tree, 0));
    EXPECT_THAT(capture.messages(),
                Contains("E: Object Alarms is a list but is missing _PARENT_NODE, _ITEM, "
                         "_NEXT_NODE and/or _NODE_VALID attributes\n"));
  }
}

TEST(ParseKoil, TaskHasNoOwnerListAttribute) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
  b.declare("STACK", 20, {spec(kKindCtype, "SIZE", 21)});
  b.define("TASK", "T1", 200, {{"_OWNER", "o", 201}});
  b.define("STACK", "S1", 300, {{"_OWNER", "o", 301}});
  Capture capture;
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  EXPECT_FALSE(model->tasks[0].owner());
  ASSERT_EQ(model->tasks[0].custom_attribute_count(), 1); // kept, as a custom attribute
  EXPECT_EQ(model->tasks[0].custom_attributes[0].attribute->kind(), kKindCtype);
  EXPECT_TRUE(model->stacks[0].owner());
}

TEST(ParseKoil, StackDirectionMustBeUpOrDown) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("STACK", 20, {spec(kKindString, "STACKDIRECTION", 21)});
  b.define("STACK", "S1", 300, {{"STACKDIRECTION", "up", 301}});
  b.define("STACK", "S2", 310, {{"STACKDIRECTION", "Down", 311}});
  b.define("STACK", "S3", 320, {{"STACKDIRECTION", "SIDEWAYS", 321}});
  Capture capture;
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  EXPECT_THAT(names_of(model->stacks), ElementsAre("S1", "S2", "S3"));
  EXPECT_TRUE(model->stacks[2].standard[kStackDirection]);
  EXPECT_THAT(capture.messages(),
              ElementsAre("W: No TASK definitions found\n",
                          "W: STACKDIRECTION declared in STACK at line 320 is not UP nor DOWN\n"));
}

TEST(ParseKoil, VendorKindsAreOrderedByTheirLastDefinition) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("vs_A", 20, {spec(kKindCtype, "X", 21)}, "Kind A");
  b.declare("vs_B", 30, {spec(kKindCtype, "X", 31)});
  b.declare("ISR", 40, {spec(kKindCtype, "X", 41)});
  b.define("vs_A", "A1", 300, {{"X", "1", 301}});
  b.define("vs_B", "B1", 310, {{"X", "1", 311}});
  b.define("vs_A", "A2", 320, {{"X", "1", 321}});
  b.define("ISR", "I1", 330, {{"X", "1", 331}});
  Capture capture(200);
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  ASSERT_EQ(model->vendor_kinds.size(), 3u);
  EXPECT_THAT(names_of(model->vendor_kinds[0].objects), ElementsAre("B1"));
  EXPECT_THAT(names_of(model->vendor_kinds[1].objects), ElementsAre("A1", "A2"));
  EXPECT_THAT(names_of(model->vendor_kinds[2].objects), ElementsAre("I1"));
  EXPECT_EQ(model->vendor_kinds[1].objects[0].kind, kObjectKindVendor);
  EXPECT_STREQ(model->vendor_kinds[1].objects[0].description, "Kind A");
  EXPECT_EQ(b.tree.definitions[2]->instance, &model->vendor_kinds[0].objects[0]);
  EXPECT_EQ(model->vendor_kinds[1].objects[1].custom_attribute_count(), 1);
  EXPECT_THAT(capture.lines, Contains("T101: Found 2 Vendor Extensions of type vs_A\n"));
  EXPECT_THAT(capture.lines, Contains("T101: Found 1 Vendor Extensions of type ISR\n"));
  EXPECT_THAT(capture.lines, Contains("T103: Vendor-specific object did not start with vs_\n"));
}

TEST(ParseKoil, DuplicateOfAStandardKindFailsTheLoad) {
  // The duplicate hides T1 from the TASK step; the leftover definitions must not be taken
  // again as a vendor kind (that would re-point T2 at a second object).
  TreeBuilder b;
  b.minimal_os();
  b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
  b.define("TASK", "T1", 200, {{"PRIORITY", "1", 201}});
  b.define("TASK", "T1", 210, {{"PRIORITY", "1", 211}});
  b.define("TASK", "T2", 220, {{"PRIORITY", "1", 221}});
  Capture capture;
  EXPECT_FALSE(parse_koil(&b.tree, 0));
  EXPECT_THAT(capture.messages(),
              ElementsAre("E: Duplicate TASK definition found on line 210\n",
                          "E: TASK first defined on line 200\n",
                          "E: Duplicate TASK definition found on line 210\n",
                          "E: TASK first defined on line 200\n",
                          "E: Internal Error: Vendor Extension Count Mismatch\n"));
  for (const auto& def : b.tree.definitions) {
    EXPECT_FALSE(def->processed);
    EXPECT_EQ(def->instance, nullptr);
  }
}

TEST(ParseKoil, LoneDuplicateTaskFailsInTheVendorStep) {
  TreeBuilder b;
  b.minimal_os();
  b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
  b.define("TASK", "T1", 200, {{"PRIORITY", "1", 201}});
  b.define("TASK", "T1", 210, {{"PRIORITY", "1", 211}});
  Capture capture;
  EXPECT_FALSE(parse_koil(&b.tree, 0));
  EXPECT_THAT(capture.messages(),
              ElementsAre("E: Duplicate TASK definition found on line 210\n",
                          "E: TASK first defined on line 200\n", "W: No TASK definitions found\n",
                          "E: Duplicate TASK definition found on line 210\n",
                          "E: TASK first defined on line 200\n",
                          "E: Internal Error: Vendor Extension Count Mismatch\n"));
}

TEST(ParseKoil, OsChecksOfRunningIsr2LastErrorAndServiceTrace) {
  TreeBuilder b("os.ort");
  b.declare("OS", 1,
            {spec(kKindEnum, "RUNNINGISR2", 2, "int", {element("no_isr", 0, 2)}),
             spec(kKindEnum, "LASTERROR", 3, "int", {element("E_NOT_OK", 1, 3)}),
             spec(kKindEnum, "SERVICETRACE", 4, "int", {element("X", 1, 4)}, false),
             spec(kKindCtype, "_RUNNINGTASK", 5), spec(kKindCtype, "VALID", 6),
             spec(kKindString, "_ITEM", 7)});
  b.define("OS", "Os", 100,
           {{"RUNNINGISR2", "isr", 101},
            {"LASTERROR", "err", 102},
            {"SERVICETRACE", "st", 103},
            {"_RUNNINGTASK", "rt", 104},
            {"VALID", "v", 105},
            {"_ITEM", "it", 106},
            {"vs_X", "x", 107}});
  Capture capture(200);
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  const OrtiObject& os = model->os;
  EXPECT_TRUE(os.standard[kOsRunningIsr2]);
  EXPECT_TRUE(os.standard[kOsLastError]);
  EXPECT_TRUE(os.standard[kOsServiceTrace]);
  EXPECT_TRUE(os.standard[kOsRunningTaskId]);
  EXPECT_TRUE(os.valid);
  EXPECT_FALSE(os.item());                   // the OS tries no list attribute ...
  ASSERT_EQ(os.custom_attribute_count(), 1); // ... so _ITEM is custom; vs_X is undeclared
  EXPECT_STREQ(os.custom_attributes[0].attribute->name(), "_ITEM");
  EXPECT_THAT(capture.messages(),
              ElementsAre("W: RUNNINGISR2 has no \"NO_ISR\" element\n",
                          "W: SERVICETRACE is not marked TOTRACE\n",
                          "E: vs_X not declared in object Os in os.ort\n",
                          "E: (Os declared at line 1)\n", "W: No TASK definitions found\n"));
  EXPECT_THAT(capture.lines, Contains("T101: LASTERROR has no \"E_OK\" element\n"));
  EXPECT_THAT(capture.lines,
              Contains("T102: Unrecognized attribute _ITEM in OS object at line 106 of os.ort\n"));
  EXPECT_THAT(capture.lines, Not(Contains(::testing::HasSubstr("RUNNINGTASK/_RUNNINGTASK"))));
  EXPECT_THAT(capture.lines, Contains("T103: Found no CURRENTAPPMODE attribute in OS object\n"));
}

TEST(ParseKoil, EnumLinksPointAtObjectsOfTheAttributesName) {
  TreeBuilder b("l.ort");
  b.minimal_os();
  b.declare("TASK", 10,
            {spec(kKindEnum, "STACK", 11, "int",
                  {element("S1", 1, 12, "Stack1"), element("S2", 2, 13, "Stack2"),
                   element("None", 0, 14), element("Gone", 3, 15, "NoSuchStack")},
                  false, "Task stack")});
  b.declare("STACK", 20, {spec(kKindCtype, "SIZE", 21)});
  b.define("TASK", "T1", 200, {{"STACK", "s", 201}});
  b.define("TASK", "T2", 210, {{"STACK", "s", 211}});
  b.define("STACK", "Stack1", 300, {{"SIZE", "1", 301}});
  b.define("STACK", "Stack2", 310, {{"SIZE", "1", 311}});
  for (int32_t trace_level : {-1, 200}) {
    TreeBuilder copy("l.ort");
    // Rebuild per round: linking writes into the tree.
    copy.minimal_os();
    copy.tree.declarations.push_back(std::make_unique<ObjectDeclaration>(*b.tree.declarations[1]));
    copy.tree.declarations.push_back(std::make_unique<ObjectDeclaration>(*b.tree.declarations[2]));
    for (std::size_t i = 1; i < b.tree.definitions.size(); ++i) {
      copy.tree.definitions.push_back(std::make_unique<ObjectDefinition>(*b.tree.definitions[i]));
    }
    Capture capture(trace_level);
    auto model = parse_koil(&copy.tree, 0);
    ASSERT_TRUE(model);
    const std::vector<EnumElement>& elements = *model->tasks[0].standard[kTaskStack]->elements();
    EXPECT_EQ(elements[0].linked_object, &model->stacks[0]);
    EXPECT_EQ(elements[1].linked_object, &model->stacks[1]);
    EXPECT_EQ(elements[2].linked_object, nullptr);
    EXPECT_EQ(elements[3].linked_object, nullptr);
    const std::string dangling =
        "W: ENUM \"Task stack\" member \"Gone\" declared at line 15 of l.ort contains link to "
        "definition \"NoSuchStack\" of type \"STACK\" which did not have an entry in the "
        "information section. Link ignored\n";
    // Each task links the shared list again, so the warning comes once per task, traced or not.
    EXPECT_THAT(capture.messages(), ElementsAre(dangling, dangling)) << trace_level;
    if (trace_level > 0) {
      EXPECT_THAT(capture.lines,
                  Contains("T102: Linking ENUM \"Task stack\" member \"S2\" declared at line 13 "
                           "of l.ort to object \"Stack2\" of type \"STACK\" declared at line "
                           "310\n"));
    }
  }
}

TEST(ParseKoil, LinkToAnUnprocessedDefinitionIsReported) {
  // RESOURCE LOCKER elements look for definitions of type LOCKER; one defined under that type
  // is taken by the vendor step, so it is processed. A custom ENUM attribute named like a kind
  // that no step consumed cannot exist (the vendor step consumes everything), so the
  // unprocessed case needs a definition that a failed duplicate check left behind.
  TreeBuilder b("u.ort");
  b.minimal_os();
  b.declare(
      "RESOURCE", 10,
      {spec(kKindEnum, "LOCKER", 11, "int", {element("L", 1, 12, "Owner1")}, false, "Locker")});
  b.declare("LOCKER", 20, {spec(kKindCtype, "X", 21)});
  b.define("RESOURCE", "R1", 200, {{"LOCKER", "l", 201}});
  b.define("LOCKER", "Owner1", 300, {{"X", "1", 301}});
  Capture capture(200);
  auto model = parse_koil(&b.tree, 0);
  ASSERT_TRUE(model);
  EXPECT_EQ((*model->resources[0].standard[kResourceLocker]->elements())[0].linked_object,
            &model->vendor_kinds.at(0).objects.at(0));
}

TEST(ParseKoil, NullTreeIsAnInternalError) {
  Capture capture;
  EXPECT_FALSE(parse_koil(nullptr, 0));
  EXPECT_THAT(capture.messages(), ElementsAre("E: Internal Error: file == NULL\n"));
}

TEST(InstantiateSteps, TraceTheirCallAndFailWithoutAModel) {
  TreeBuilder b("s.ort");
  OrtiLookup lookup(b.tree);
  Capture capture(110);
  EXPECT_FALSE(instantiate_tasks(lookup, nullptr));
  EXPECT_FALSE(instantiate_os(lookup, nullptr));
  EXPECT_FALSE(instantiate_extensions(lookup, nullptr));
  EXPECT_THAT(capture.lines, ElementsAre("T110: instantiate_tasks(s.ort, ==NULL:1)\n",
                                         "T110: instantiate_os(s.ort, ==NULL:1)\n",
                                         "T110: instantiate_extensions(s.ort, ==NULL:1)\n"));
}

// From ORTI text through the parser.
struct Parsed {
  OrtiParseTree tree;
  KoilParseSettings settings;
  std::vector<std::string> parse_reports;
  int status = 1;
};

void parse_text(Parsed& p, const std::string& text, int extended) {
  p.settings.extended_syntax = extended;
  KoilReports reports;
  reports.user = &p.parse_reports;
  reports.error = [](void* user, const char* m, int32_t line, const char* token) {
    static_cast<std::vector<std::string>*>(user)->push_back("error " +
                                                            koil_report_text(m, line, token));
  };
  reports.warning = [](void* user, const char* m, int32_t line, const char* token) {
    static_cast<std::vector<std::string>*>(user)->push_back("warning " +
                                                            koil_report_text(m, line, token));
  };
  p.tree.file_name = "text.ort";
  p.status = koil_parse_text(text, p.tree, p.settings, reports);
}

TEST(ParseKoilFromText, OldStyleFileSwitchesExtendedSyntaxOnForTheModel) {
  const std::string text = R"(IMPLEMENTATION Old {
  OS { "unsigned char" RUNNINGTASK; };
  TASK { CTYPE PRIORITY; };
};
OS Os1 { RUNNINGTASK = "r"; };
TASK T1 { PRIORITY = "1"; };
)";
  Parsed p;
  parse_text(p, text, 0);
  ASSERT_EQ(p.status, 0);
  ASSERT_EQ(p.settings.extended_syntax, 1);
  Capture capture;
  auto model = parse_koil(&p.tree, p.settings.extended_syntax);
  ASSERT_TRUE(model);
  // RUNNINGTASK must be an ENUM: with extended syntax on this is only a warning.
  EXPECT_THAT(capture.messages(),
              ElementsAre("W: RUNNINGTASK (declared at line 2) has type CTYPE\n",
                          "W: Allowed types are ENUM\n",
                          "W: Attribute RUNNINGTASK of OS does not adhere to the ORTI standard.  "
                          "Processing as a custom attribute.\n"));
  EXPECT_EQ(model->os.custom_attribute_count(), 1);
}

// The records of one attribute share its declaration's facts across the objects of a type,
// while formulas, element formulas and value caches stay each object's own.
TEST(ParseKoilFromText, RecordsOfOneAttributeShareFactsAndKeepTheirOwnFormulas) {
  const std::string text = R"(VERSION { KOIL = "2.3"; OSSEMANTICS = "ORTI", "2.3"; };
IMPLEMENTATION Shared {
  OS { ENUM [ "NO_TASK" = 0 ] RUNNINGTASK; };
  TASK { CTYPE "unsigned char" PRIORITY, "Priority"; CTYPE TASK_ID; TOTRACE CTYPE vs_LOAD[], "Load";
         STRING vs_NOTE; };
};
OS Os1 { RUNNINGTASK = "r"; };
TASK T1 { PRIORITY = "p1"; vs_LOAD[0] = "l1a"; vs_LOAD[1] = "l1b"; vs_NOTE = "n1"; };
TASK *T2 { TASK_ID = "2"; PRIORITY = "p2"; vs_NOTE = "n2"; vs_LOAD[1] = "l2b"; vs_LOAD[0] = "l2a";
           _PARENT_NODE = "pa2"; _ITEM = "i2"; _NEXT_NODE = "x2"; _NODE_VALID = "v2"; _NAME = "m2"; };
TASK *T3 { TASK_ID = "3"; PRIORITY = "p3"; vs_NOTE = "n3"; _PARENT_NODE = "pa3"; _ITEM = "i3";
           _NEXT_NODE = "x3"; _NODE_VALID = "v3"; _NAME = "m3"; };
)";
  Parsed p;
  parse_text(p, text, 0);
  ASSERT_EQ(p.status, 0) << ::testing::PrintToString(p.parse_reports);
  Capture capture;
  auto model = parse_koil(&p.tree, p.settings.extended_syntax);
  ASSERT_TRUE(model) << ::testing::PrintToString(capture.messages());
  ASSERT_EQ(model->tasks.size(), 3u);
  const OrtiObject& t1 = model->tasks[0];
  const OrtiObject& t2 = model->tasks[1];
  const OrtiObject& t3 = model->tasks[2];

  const char* const priorities[] = {"p1", "p2", "p3"};
  const char* const notes[] = {"n1", "n2", "n3"};
  for (std::size_t i = 0; i < 3; ++i) {
    const OrtiObject& task = model->tasks[i];
    ASSERT_TRUE(task.standard[kTaskPriority]) << i;
    const AttributeDecl& priority = *task.standard[kTaskPriority];
    EXPECT_STREQ(priority.formula, priorities[i]);
    EXPECT_EQ(&priority.facts(), &t1.standard[kTaskPriority]->facts()) << i;
    EXPECT_FALSE(priority.owns_facts());
    EXPECT_STREQ(priority.name(), "PRIORITY");
    EXPECT_STREQ(priority.c_type(), "unsigned char");
    EXPECT_STREQ(priority.description(), "Priority");
    const AttributeDecl* note = nullptr;
    for (const CustomAttribute& custom : task.custom_attributes) {
      if (std::string(custom.attribute->name()) == "vs_NOTE") {
        note = custom.attribute.get();
      }
    }
    ASSERT_NE(note, nullptr) << i;
    EXPECT_STREQ(note->formula, notes[i]);
    EXPECT_EQ(note->kind(), kKindString);
    EXPECT_NE(&note->facts(), &priority.facts());
  }

  // Arrays: one set of facts, element formulas per object, in index order whatever the file's.
  const AttributeDecl& load1 = *t1.custom_attributes[0].attribute;
  const AttributeDecl& load2 = *t2.custom_attributes[1].attribute;
  ASSERT_STREQ(load1.name(), "vs_LOAD");
  ASSERT_STREQ(load2.name(), "vs_LOAD");
  EXPECT_EQ(&load1.facts(), &load2.facts());
  EXPECT_TRUE(load2.to_trace());
  ASSERT_NE(attribute_element_formulas(load1), nullptr);
  ASSERT_NE(attribute_element_formulas(load2), nullptr);
  EXPECT_THAT(*attribute_element_formulas(load1), ElementsAre(StrEq("l1a"), StrEq("l1b")));
  EXPECT_THAT(*attribute_element_formulas(load2), ElementsAre(StrEq("l2a"), StrEq("l2b")));
  EXPECT_STREQ(load1.formula, "l1a");
  EXPECT_STREQ(load2.formula, "l2a");

  // List attributes share by name: _NAME with _NAME, never with another list attribute.
  ASSERT_TRUE(t2.name_attribute() && t3.name_attribute() && t2.item() && t3.item());
  EXPECT_EQ(&t2.name_attribute()->facts(), &t3.name_attribute()->facts());
  EXPECT_EQ(&t2.item()->facts(), &t3.item()->facts());
  EXPECT_NE(&t2.item()->facts(), &t2.name_attribute()->facts());
  EXPECT_TRUE(t3.name_attribute()->is_name_attribute());
  EXPECT_FALSE(t3.item()->is_name_attribute());
  EXPECT_STREQ(t2.name_attribute()->formula, "m2");
  EXPECT_STREQ(t3.name_attribute()->formula, "m3");
  EXPECT_EQ(t2.node_valid()->kind(), kKindCtype);
  EXPECT_EQ(t2.parent_node()->kind(), kKindString);

  // Writing one record's facts makes them its own and leaves the other objects' as declared.
  AttributeDecl& changed = *model->tasks[1].standard[kTaskPriority];
  changed.own_facts().name = "vs_OTHER";
  EXPECT_TRUE(changed.owns_facts());
  EXPECT_STREQ(changed.name(), "vs_OTHER");
  EXPECT_STREQ(changed.c_type(), "unsigned char") << "the copy keeps the rest";
  EXPECT_STREQ(t1.standard[kTaskPriority]->name(), "PRIORITY");
  EXPECT_STREQ(t3.standard[kTaskPriority]->name(), "PRIORITY");
  EXPECT_EQ(&t1.standard[kTaskPriority]->facts(), &t3.standard[kTaskPriority]->facts());
}

// Outside a model build there is no memory to share facts in: each record keeps its own, and
// they outlive the lookup and the tree's indexes that made them.
TEST(MakeType, RecordsOnTheHeapKeepFactsOfTheirOwn) {
  TreeBuilder b;
  const ObjectDeclaration& decl = b.declare("TASK", 10, {spec(kKindCtype, "PRIORITY", 11)});
  ObjectDefinition& def = b.define("TASK", "T1", 20, {{"PRIORITY", "1", 21}});
  std::unique_ptr<AttributeDecl> first;
  std::unique_ptr<AttributeDecl> second;
  Capture capture;
  {
    OrtiLookup lookup(b.tree, 0);
    first = make_type(lookup, &decl, &def.attributes[0], kKindAny, nullptr, "t.ort", error_message);
    second =
        make_type(lookup, &decl, &def.attributes[0], kKindAny, nullptr, "t.ort", error_message);
  }
  ASSERT_TRUE(first && second);
  EXPECT_TRUE(first->owns_facts());
  EXPECT_NE(&first->facts(), &second->facts());
  first->own_facts().name = "changed";
  EXPECT_STREQ(second->name(), "PRIORITY");
  EXPECT_EQ(second->kind(), kKindCtype);
}

TEST(ParseKoilFromText, FullFileBuildsTheExpectedModel) {
  std::string path = std::string(OSA_TEST_DATA_DIR) + "/orti/model/full_model.ort";
  std::FILE* file = std::fopen(path.c_str(), "r");
  ASSERT_NE(file, nullptr) << path;
  Parsed p;
  KoilReports reports;
  p.tree.file_name = "full_model.ort";
  reports.error = [](void*, const char*, int32_t, const char*) { ADD_FAILURE(); };
  reports.warning = [](void*, const char*, int32_t, const char*) {};
  p.status = koil_parse(file, p.tree, p.settings, reports);
  std::fclose(file);
  ASSERT_EQ(p.status, 0);
  Capture capture;
  auto model = parse_koil(&p.tree, p.settings.extended_syntax);
  ASSERT_TRUE(model) << ::testing::PrintToString(capture.messages());
  EXPECT_TRUE(capture.messages().empty()) << ::testing::PrintToString(capture.messages());
  EXPECT_THAT(names_of(model->tasks), ElementsAre("Task_Init", "Task_Cyclic", "Task_Idle"));
  EXPECT_THAT(names_of(model->stacks), ElementsAre("Stack_Init", "Stack_Cyclic"));
  EXPECT_THAT(names_of(model->contexts), ElementsAre("Ctx_Init", "Ctx_Cyclic"));
  EXPECT_THAT(names_of(model->alarms), ElementsAre("Alarm_Cyclic"));
  EXPECT_THAT(names_of(model->resources), ElementsAre("Res_Scheduler"));
  EXPECT_THAT(names_of(model->message_containers), ElementsAre("Msg_Speed"));
  ASSERT_EQ(model->vendor_kinds.size(), 3u);
  EXPECT_STREQ(model->vendor_kinds[0].objects[0].type_name, "vs_SPINLOCK");
  EXPECT_STREQ(model->vendor_kinds[1].objects[0].type_name, "ISR");
  EXPECT_STREQ(model->vendor_kinds[2].objects[0].type_name, "vs_TIMEPOINT");
  EXPECT_TRUE(model->vendor_kinds[2].objects[0].is_list);
  const auto& stack_elements = *model->tasks[0].standard[kTaskStack]->elements();
  EXPECT_EQ(stack_elements[1].linked_object, &model->stacks[1]);
  const auto& context_elements = *model->tasks[1].standard[kTaskContext]->elements();
  EXPECT_EQ(context_elements[1].linked_object, &model->contexts[1]);
}

} // namespace
