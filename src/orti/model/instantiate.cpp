// Object instantiation: one step per object kind, each sorting the attributes written for an
// object into the kind's standard slots, the list attributes and custom attributes.
#include "orti/model/instantiate.h"

#include "orti/model/load_trace.h"
#include "orti/parser/koil_parser.h"
#include "runtime/message_output.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

struct SlotRule {
  const char* name;
  int slot;
  int32_t mask;
};

// What distinguishes one standard kind's step from another's.
struct KindRules {
  const char* type_name;
  int32_t kind;
  const char* step_name;
  std::vector<SlotRule> match_order; // standard attributes, in the order they are tried
  bool has_valid;
  bool list_has_owner;
  const SlotRule* tried_last; // TASK_ID of a TASK, tried after the list attributes
  std::vector<int> traced_when_missing;
};

constexpr int32_t C = kKindCtype;
constexpr int32_t E = kKindEnum;
constexpr int32_t S = kKindString;

const char* const kOsSlotNames[] = {"RUNNINGTASK",   "_RUNNINGTASK", "RUNNINGTASKPRIORITY",
                                    "RUNNINGISR2",   "SERVICETRACE", "LASTERROR",
                                    "CURRENTAPPMODE"};
const char* const kTaskSlotNames[] = {
    "PRIORITY", "STATE",  "STACK", "CURRENTACTIVATIONS", "REMAININGACTIVATIONS",
    "CONTEXT",  "TASK_ID"};
const char* const kStackSlotNames[] = {"SIZE", "BASEADDRESS", "STACKDIRECTION", "FILLPATTERN"};
const char* const kContextSlotNames[] = {"SIZE", "ADDRESS"};
const char* const kAlarmSlotNames[] = {"ALARMTIME", "CYCLETIME", "STATE", "ACTION", "COUNTER"};
const char* const kResourceSlotNames[] = {"STATE", "LOCKER", "PRIORITY"};
const char* const kMessageContainerSlotNames[] = {"MSGNAME", "MSGTYPE", "QUEUESIZE", "QUEUECOUNT",
                                                  "FIRSTELEMENT"};

const SlotRule kTaskIdRule = {"TASK_ID", kTaskTaskId, C};

const KindRules kTaskRules = {
    "TASK",
    kObjectKindTask,
    "instantiate_tasks",
    {{"PRIORITY", kTaskPriority, C | E},
     {"STATE", kTaskState, E},
     {"STACK", kTaskStack, E},
     {"REMAININGACTIVATIONS", kTaskRemainingActivations, C},
     {"CURRENTACTIVATIONS", kTaskCurrentActivations, C},
     {"CONTEXT", kTaskContext, E}},
    true,
    false,
    &kTaskIdRule,
    {kTaskPriority, kTaskState, kTaskStack, kTaskCurrentActivations, kTaskContext}};

const KindRules kStackRules = {"STACK",
                               kObjectKindStack,
                               "instantiate_stacks",
                               {{"SIZE", kStackSize, C},
                                {"BASEADDRESS", kStackBaseAddress, C},
                                {"STACKDIRECTION", kStackDirection, S},
                                {"FILLPATTERN", kStackFillPattern, C}},
                               true,
                               true,
                               nullptr,
                               {kStackSize, kStackBaseAddress, kStackDirection, kStackFillPattern}};

const KindRules kContextRules = {"CONTEXT",
                                 kObjectKindContext,
                                 "instantiate_contexts",
                                 {{"SIZE", kContextSize, C}, {"ADDRESS", kContextAddress, C}},
                                 true,
                                 true,
                                 nullptr,
                                 {kContextSize, kContextAddress}};

const KindRules kAlarmRules = {
    "ALARM",
    kObjectKindAlarm,
    "instantiate_alarms",
    {{"ALARMTIME", kAlarmAlarmTime, C},
     {"CYCLETIME", kAlarmCycleTime, C},
     {"STATE", kAlarmState, E},
     {"ACTION", kAlarmAction, S},
     {"COUNTER", kAlarmCounter, S}},
    false,
    true,
    nullptr,
    {kAlarmAlarmTime, kAlarmCycleTime, kAlarmState, kAlarmAction, kAlarmCounter}};

const KindRules kResourceRules = {"RESOURCE",
                                  kObjectKindResource,
                                  "instantiate_resources",
                                  {{"STATE", kResourceState, E},
                                   {"LOCKER", kResourceLocker, E},
                                   {"PRIORITY", kResourcePriority, E | S}},
                                  false,
                                  true,
                                  nullptr,
                                  {kResourceState, kResourceLocker, kResourcePriority}};

const KindRules kMessageContainerRules = {"MESSAGECONTAINER",
                                          kObjectKindMessageContainer,
                                          "instantiate_message_containers",
                                          {{"MSGNAME", kMessageContainerMsgName, S},
                                           {"MSGTYPE", kMessageContainerMsgType, S},
                                           {"QUEUESIZE", kMessageContainerQueueSize, C},
                                           {"QUEUECOUNT", kMessageContainerQueueCount, C},
                                           {"FIRSTELEMENT", kMessageContainerFirstElement, C}},
                                          false,
                                          true,
                                          nullptr,
                                          {kMessageContainerMsgName, kMessageContainerMsgType,
                                           kMessageContainerQueueSize, kMessageContainerQueueCount,
                                           kMessageContainerFirstElement}};

// Vendor-specific kinds know only the list attributes.
const KindRules kVendorRules = {
    nullptr, kObjectKindVendor, "instantiate_extensions", {}, false, true, nullptr, {}};

bool has_vs_prefix(std::string_view name) {
  return name.rfind("vs_", 0) == 0 || name.rfind("VS_", 0) == 0;
}

bool equal_ignoring_case(const KoilText& a, const char* b) {
  return orti_name_equal(a.c_str(), b);
}

// The list attributes in the order they are tried.
struct ListRule {
  const char* name;
  int slot;
  int32_t mask;
};
const ListRule kListRules[] = {
    {"_PARENT_NODE", kListParentNode, S}, {"_ITEM", kListItem, S}, {"_NEXT_NODE", kListNextNode, S},
    {"_NODE_VALID", kListNodeValid, C},   {"_NAME", kListName, S}, {"_OWNER", kListOwner, C},
};

void take_definition(ObjectDefinition& def, const ObjectDeclaration& decl, int32_t kind,
                     OrtiObject& object) {
  def.processed = true;
  def.instance = &object;
  object.kind = kind;
  object.name = def.object_name.c_str();
  object.type_name = decl.type_name.c_str();
  object.description = decl.description ? decl.description->c_str() : nullptr;
}

AttributeDecl* add_custom_attribute(OrtiLookup& lookup, const ObjectDeclaration& decl,
                                    const AttributeDef& attr, OrtiObject& object) {
  std::unique_ptr<AttributeDecl> record =
      make_type(lookup, &decl, &attr, kKindAny, &object, lookup.file_name(), error_message);
  if (!record) {
    return nullptr;
  }
  object.custom_attributes.push_back(CustomAttribute{false, std::move(record)});
  return object.custom_attributes.back().attribute.get();
}

bool is_list_attribute_name(const char* name) {
  for (const char* list_name :
       {"_PARENT_NODE", "_ITEM", "_NEXT_NODE", "_NODE_VALID", "_NAME", "_OWNER"}) {
    if (orti_name_equal(name, list_name)) {
      return true;
    }
  }
  return false;
}

// How one attribute definition stands to the shape of its declaration.
enum class ElementShape {
  Plain,   // a plain definition of a plain (or undeclared) attribute: typed as always
  Element, // NAME[i] of an array attribute
  Dropped, // contradicts its declaration; the message has been written
};

ElementShape element_shape(const OrtiLookup& lookup, const ObjectDeclaration& decl,
                           const AttributeDef& attr, const AttributeSpec** array_spec) {
  const bool has_arrays = lookup.declarations_with_arrays.count(&decl) != 0;
  if (attr.index < 0 && !has_arrays) {
    return ElementShape::Plain;
  }
  const char* name = attr.name.c_str();
  const char* file_name = text_or_null(lookup.file_name());
  // The list attributes are never declared, so never arrays.
  const AttributeSpec* spec =
      is_list_attribute_name(name) ? nullptr : find_attribute_quiet(lookup, &decl, name);
  if (attr.index < 0) {
    if (spec != nullptr && spec->is_array) {
      error_message("%s at line %d of %s has no index, but %s is declared as an array at "
                    "line %d\n",
                    name, attr.line, file_name, spec->name.c_str(), spec->line);
      return ElementShape::Dropped;
    }
    return ElementShape::Plain;
  }
  if (spec == nullptr && !is_list_attribute_name(name)) {
    return ElementShape::Plain; // undeclared: the typing reports it and drops it
  }
  if (spec == nullptr || !spec->is_array) {
    error_message("%s[%d] at line %d of %s has an index, but %s is not declared as an array\n",
                  name, attr.index, attr.line, file_name, name);
    return ElementShape::Dropped;
  }
  if (attr.index > kMaxArrayIndex) {
    error_message("Index %d of %s at line %d of %s is above %d\n", attr.index, name, attr.line,
                  file_name, kMaxArrayIndex);
    return ElementShape::Dropped;
  }
  *array_spec = spec;
  return ElementShape::Element;
}

// The array attributes of one object while its definitions are read: each array's record
// (none when its first element could not be typed) and the line of each element so far.
class ArrayAssembly {
public:
  // True when the element belongs to an array this object has begun; it is then taken.
  bool add(const AttributeSpec* spec, const AttributeDef& attr, const OrtiObject& object,
           const char* file_name) {
    for (Entry& entry : entries_) {
      if (entry.spec == spec) {
        take(entry, attr, object, file_name);
        return true;
      }
    }
    return false;
  }
  void begin(const AttributeSpec* spec, AttributeDecl* record, const AttributeDef& attr,
             const OrtiObject& object, const char* file_name) {
    entries_.push_back(Entry{spec, record, {}});
    take(entries_.back(), attr, object, file_name);
  }
  // Element 0 becomes the formula that readers unaware of cores read; left-out elements warn.
  void finish(const ObjectDefinition& def, const char* file_name) {
    for (Entry& entry : entries_) {
      if (entry.record == nullptr) {
        continue;
      }
      std::vector<const char*>& formulas = entry.record->extras()->element_formulas;
      entry.record->formula = formulas[0];
      for (std::size_t i = 0; i < formulas.size(); ++i) {
        if (formulas[i] == nullptr) {
          warning_message("Array %s of object %s defined at line %d of %s has no element %zu\n",
                          entry.spec->name.c_str(), def.object_name.c_str(), def.line, file_name,
                          i);
        }
      }
    }
  }

private:
  struct Entry {
    const AttributeSpec* spec;
    AttributeDecl* record;
    std::vector<int32_t> lines; // per index, 0 where not yet defined
  };

  static void take(Entry& entry, const AttributeDef& attr, const OrtiObject& object,
                   const char* file_name) {
    if (entry.record == nullptr) {
      return; // the first element's typing failed and said so
    }
    const auto index = static_cast<std::size_t>(attr.index);
    if (index < entry.lines.size() && entry.lines[index] != 0) {
      error_message("%s[%d] at line %d of %s is defined twice in object %s (first at line %d)\n",
                    attr.name.c_str(), attr.index, attr.line, file_name, text_or_null(object.name),
                    entry.lines[index]);
      return;
    }
    std::vector<const char*>& formulas = entry.record->ensure_extras().element_formulas;
    if (index >= entry.lines.size()) {
      entry.lines.resize(index + 1, 0);
      formulas.resize(index + 1, nullptr);
    }
    entry.lines[index] = attr.line;
    formulas[index] = attr.formula.c_str();
  }

  std::vector<Entry> entries_;
};

// What every kind's attribute loop does before and after the typing of one definition: an
// element of an array already begun is added to it, a definition that contradicts its
// declaration is dropped, and the record of an array's first element begins the array.
class ElementRouting {
public:
  ElementRouting(const OrtiLookup& lookup, const ObjectDeclaration& decl, OrtiObject& object)
      : lookup_(lookup), decl_(decl), object_(object) {}

  // True when the definition needs no typing of its own.
  bool taken(const AttributeDef& attr) {
    spec_ = nullptr;
    const ElementShape shape = element_shape(lookup_, decl_, attr, &spec_);
    if (shape == ElementShape::Dropped) {
      return true;
    }
    return shape == ElementShape::Element && arrays_.add(spec_, attr, object_, file_name());
  }
  // After the typing of a definition that taken() let through; record is what it placed.
  void placed(const AttributeDef& attr, AttributeDecl* record) {
    if (spec_ != nullptr) {
      arrays_.begin(spec_, record, attr, object_, file_name());
    }
  }
  void finish(const ObjectDefinition& def) { arrays_.finish(def, file_name()); }

private:
  const char* file_name() const { return text_or_null(lookup_.file_name()); }

  const OrtiLookup& lookup_;
  const ObjectDeclaration& decl_;
  OrtiObject& object_;
  const AttributeSpec* spec_ = nullptr;
  ArrayAssembly arrays_;
};

// The attribute definitions of one object while a model is built: each offers its room to the
// record made from it once the builder has its copy, and when the object is filled the tree's
// list of them is emptied, since what is left there is the model's records. Without a model's
// record memory (a step run on its own) the records go to the heap and the tree is left as is.
class AttributesTaken {
public:
  AttributesTaken(OrtiLookup& lookup, ObjectDefinition& def) : lookup_(lookup), def_(def) {}
  AttributesTaken(const AttributesTaken&) = delete;
  AttributesTaken& operator=(const AttributesTaken&) = delete;
  ~AttributesTaken() {
    lookup_.withdraw_record_room();
    if (offered_) {
      def_.attributes.clear(); // keeps the arrays' room, which the records live in
    }
  }
  void offer_room(const AttributeDef& read, AttributeDef& room) {
    offered_ = lookup_.offer_record_room(read, room) || offered_;
  }

private:
  OrtiLookup& lookup_;
  ObjectDefinition& def_;
  bool offered_ = false;
};

// Steps 4 to 8 of a kind step for one definition: false when the object fails the list check.
bool fill_object(OrtiLookup& lookup, const KindRules& rules, const ObjectDeclaration& decl,
                 ObjectDefinition& def, OrtiObject& object) {
  take_definition(def, decl, rules.kind, object);
  object.is_list = def.is_list;
  const char* file_name = text_or_null(lookup.file_name());

  ElementRouting elements(lookup, decl, object);
  AttributesTaken taken(lookup, def);
  for (AttributeDef& in_tree : def.attributes) {
    const AttributeDef attr = in_tree;
    taken.offer_room(attr, in_tree);
    load_trace(3, "Found definition %s\n", attr.name.c_str());
    if (elements.taken(attr)) {
      continue;
    }
    std::unique_ptr<AttributeDecl>* matched = nullptr;
    for (const SlotRule& rule : rules.match_order) {
      std::unique_ptr<AttributeDecl>& slot = object.standard[static_cast<std::size_t>(rule.slot)];
      if (match_standard_attribute(lookup, rule.name, &decl, attr, rule.mask, &object, slot)) {
        matched = &slot;
        if (rules.kind == kObjectKindStack && rule.slot == kStackDirection &&
            !equal_ignoring_case(attr.formula, "UP") &&
            !equal_ignoring_case(attr.formula, "DOWN")) {
          warning_message("STACKDIRECTION declared in STACK at line %d is not UP nor DOWN\n",
                          def.line);
        }
        break;
      }
    }
    if (matched == nullptr && rules.has_valid &&
        match_standard_attribute(lookup, "VALID", &decl, attr, C, &object, object.valid)) {
      matched = &object.valid;
    }
    for (const ListRule& rule : kListRules) {
      if (matched != nullptr) {
        break;
      }
      if (rule.slot == kListOwner && !rules.list_has_owner) {
        continue;
      }
      // The name first, so that an object gets list slots only when it has a list attribute.
      if (!orti_name_equal(attr.name.c_str(), rule.name)) {
        continue;
      }
      std::unique_ptr<AttributeDecl>& slot = object.list_slot(rule.slot);
      if (match_standard_attribute(lookup, rule.name, &decl, attr, rule.mask, &object, slot)) {
        matched = &slot;
      }
    }
    if (matched == nullptr && rules.tried_last != nullptr) {
      std::unique_ptr<AttributeDecl>& slot =
          object.standard[static_cast<std::size_t>(rules.tried_last->slot)];
      if (match_standard_attribute(lookup, rules.tried_last->name, &decl, attr,
                                   rules.tried_last->mask, &object, slot)) {
        matched = &slot;
      }
    }
    if (matched != nullptr) {
      elements.placed(attr, matched->get());
      continue;
    }
    load_trace(2, "Unrecognized attribute %s in %s object at line %d of %s\n", attr.name.c_str(),
               object.name, attr.line, file_name);
    if (rules.kind == kObjectKindTask && !has_vs_prefix(attr.name)) {
      load_trace(2, "Vendor-specific attribute did not start with vs_\n");
    }
    elements.placed(attr, add_custom_attribute(lookup, decl, attr, object));
  }
  elements.finish(def);

  for (int slot : rules.traced_when_missing) {
    if (!object.standard[static_cast<std::size_t>(slot)]) {
      load_trace(3, "Found no %s attribute in %s object\n",
                 standard_attribute_name(rules.kind, slot), object.name);
    }
  }

  if (object.is_list) {
    const bool list_complete =
        object.parent_node() && object.item() && object.next_node() && object.node_valid();
    if (rules.kind == kObjectKindTask) {
      if (!list_complete || !object.standard[kTaskTaskId]) {
        error_message("Object %s is a list but is missing TASK_ID, _PARENT_NODE, _ITEM, "
                      "_NEXT_NODE and/or _NODE_VALID attributes\n",
                      object.name);
        return false;
      }
    } else if (!list_complete) {
      error_message("Object %s is a list but is missing _PARENT_NODE, _ITEM, _NEXT_NODE "
                    "and/or _NODE_VALID attributes\n",
                    object.name);
      return false;
    }
  }
  return true;
}

// Walks the definitions of the type newest first, filling objects from the last slot
// backwards so that the array ends in file order. Each object is filled as the walk reaches
// it, so its messages come newest definition first.
bool fill_objects(OrtiLookup& lookup, const KindRules& rules, const char* type_name,
                  const ObjectDeclaration& decl, std::vector<OrtiObject>& objects) {
  const int32_t count = static_cast<int32_t>(objects.size());
  int32_t filled = 0;
  const ObjectDefinition* previous = nullptr;
  for (int32_t slot = count - 1; slot >= 0; --slot) {
    ObjectDefinition* def = find_definition(type_name, nullptr, lookup, previous);
    if (def == nullptr) {
      break;
    }
    if (rules.kind == kObjectKindVendor && def->processed) {
      // The type's definitions were consumed already: an earlier step took this type (a
      // standard kind left with an unconsumed duplicate) or an earlier vendor kind did. Taking
      // the definition again would move it to a second object and leave the first pointing
      // nowhere, so the load stops.
      error_message("Internal Error: Vendor Extension Count Mismatch\n");
      return false;
    }
    if (!fill_object(lookup, rules, decl, *def, objects[static_cast<std::size_t>(slot)])) {
      return false;
    }
    previous = def;
    ++filled;
  }
  if (filled < count) {
    if (rules.kind == kObjectKindTask) {
      error_message("Internal Error.  Task count is %d, but stopped at task %d\n", count, filled);
    } else {
      error_message("Internal Error.  %s count is %d, but stopped at stack %d\n", type_name, count,
                    filled);
    }
    return false;
  }
  return true;
}

bool instantiate_kind(OrtiLookup& lookup, OrtiModel* model, const KindRules& rules,
                      std::vector<OrtiObject> OrtiModel::*objects) {
  load_trace(10, "%s(%s, ==NULL:%d)\n", rules.step_name, text_or_null(lookup.file_name()),
             model == nullptr ? 1 : 0);
  if (model == nullptr) {
    return false;
  }
  const int32_t count = count_definitions(rules.type_name, lookup);
  if (count == 0) {
    if (rules.kind == kObjectKindTask) {
      warning_message("No TASK definitions found\n");
    } else {
      load_trace(1, "No %s definitions found\n", rules.type_name);
    }
    return true;
  }
  const ObjectDeclaration* decl = find_declaration(rules.type_name, lookup);
  if (decl == nullptr) {
    error_message("%s definitions found, but no %s declaration found\n", rules.type_name,
                  rules.type_name);
    return false;
  }
  std::vector<OrtiObject>& array = model->*objects;
  array = std::vector<OrtiObject>(static_cast<std::size_t>(count));
  return fill_objects(lookup, rules, rules.type_name, *decl, array);
}

void link_if_present(OrtiLookup& lookup, OrtiModel& model,
                     const std::unique_ptr<AttributeDecl>& attribute) {
  if (attribute) {
    link_enum_elements(lookup, model, *attribute);
  }
}

void link_custom_enums(OrtiLookup& lookup, OrtiModel& model, OrtiObject& object) {
  for (CustomAttribute& custom : object.custom_attributes) {
    if (custom.attribute && custom.attribute->kind() == kKindEnum) {
      link_enum_elements(lookup, model, *custom.attribute);
    }
  }
}

// A failed load leaves no definition pointing into the model that is about to go.
void clear_instances(OrtiParseTree& tree) {
  for (auto& def : tree.definitions) {
    def->processed = false;
    def->instance = nullptr;
  }
}

} // namespace

const char* object_kind_name(int32_t kind) {
  switch (kind) {
  case kObjectKindOs:
    return "OS";
  case kObjectKindTask:
    return "TASK";
  case kObjectKindStack:
    return "STACK";
  case kObjectKindContext:
    return "CONTEXT";
  case kObjectKindAlarm:
    return "ALARM";
  case kObjectKindResource:
    return "RESOURCE";
  case kObjectKindMessageContainer:
    return "MESSAGECONTAINER";
  case kObjectKindVendor:
    return "vendor-specific";
  default:
    return "(unknown)";
  }
}

int standard_slot_count(int32_t kind) {
  switch (kind) {
  case kObjectKindOs:
    return static_cast<int>(std::size(kOsSlotNames));
  case kObjectKindTask:
    return static_cast<int>(std::size(kTaskSlotNames));
  case kObjectKindStack:
    return static_cast<int>(std::size(kStackSlotNames));
  case kObjectKindContext:
    return static_cast<int>(std::size(kContextSlotNames));
  case kObjectKindAlarm:
    return static_cast<int>(std::size(kAlarmSlotNames));
  case kObjectKindResource:
    return static_cast<int>(std::size(kResourceSlotNames));
  case kObjectKindMessageContainer:
    return static_cast<int>(std::size(kMessageContainerSlotNames));
  default:
    return 0;
  }
}

const char* standard_attribute_name(int32_t kind, int slot) {
  if (slot < 0 || slot >= standard_slot_count(kind)) {
    return nullptr;
  }
  switch (kind) {
  case kObjectKindOs:
    return kOsSlotNames[slot];
  case kObjectKindTask:
    return kTaskSlotNames[slot];
  case kObjectKindStack:
    return kStackSlotNames[slot];
  case kObjectKindContext:
    return kContextSlotNames[slot];
  case kObjectKindAlarm:
    return kAlarmSlotNames[slot];
  case kObjectKindResource:
    return kResourceSlotNames[slot];
  default:
    return kMessageContainerSlotNames[slot];
  }
}

const AttributeFacts AttributeDecl::kNoFacts{};

struct AttributeValueCache::Parts {
  std::vector<AttributeCacheEntry> entries;
  std::optional<AttributeExtras> extras;
};

AttributeValueCache::~AttributeValueCache() {
  delete parts_;
}

bool AttributeValueCache::empty() const {
  return parts_ == nullptr || parts_->entries.empty();
}

std::size_t AttributeValueCache::size() const {
  return parts_ != nullptr ? parts_->entries.size() : 0;
}

AttributeCacheEntry& AttributeValueCache::operator[](std::size_t i) {
  return parts_->entries[i];
}

const AttributeCacheEntry& AttributeValueCache::operator[](std::size_t i) const {
  return parts_->entries[i];
}

void AttributeValueCache::clear() {
  if (parts_ == nullptr) {
    return;
  }
  if (!parts_->extras) {
    delete parts_;
    parts_ = nullptr;
    return;
  }
  // The extras stay where they are: the record's facts may live in them.
  std::vector<AttributeCacheEntry>().swap(parts_->entries);
}

void AttributeValueCache::resize(std::size_t count) {
  ensure_parts().entries.resize(count);
}

AttributeValueCache::Parts& AttributeValueCache::ensure_parts() {
  if (parts_ == nullptr) {
    parts_ = new Parts();
  }
  return *parts_;
}

AttributeExtras* AttributeValueCache::extras() const {
  return parts_ != nullptr && parts_->extras ? &*parts_->extras : nullptr;
}

AttributeExtras& AttributeValueCache::ensure_extras() {
  Parts& parts = ensure_parts();
  if (!parts.extras) {
    parts.extras.emplace();
  }
  return *parts.extras;
}

AttributeFacts& AttributeDecl::own_facts() {
  if (!owns_facts()) {
    Extras& mine = ensure_extras();
    mine.own_facts = *facts_ptr();
    point_at(mine.own_facts);
  }
  return extras()->own_facts;
}

std::unique_ptr<AttributeDecl> AttributeDecl::make(std::pmr::memory_resource* memory, void* place) {
  if (place == nullptr && memory == nullptr) {
    return std::make_unique<AttributeDecl>();
  }
  if (place == nullptr) {
    place = memory->allocate(sizeof(AttributeDecl), alignof(AttributeDecl));
  }
  auto* record = new (place) AttributeDecl();
  record->facts_and_mark_ |= kInSharedMemory;
  return std::unique_ptr<AttributeDecl>(record);
}

void* AttributeDecl::operator new(std::size_t size) {
  return ::operator new(size);
}

void* AttributeDecl::operator new(std::size_t, void* place) {
  return place;
}

void AttributeDecl::operator delete(AttributeDecl* record, std::destroying_delete_t) {
  const bool shared = (record->facts_and_mark_ & kInSharedMemory) != 0;
  record->~AttributeDecl();
  if (!shared) {
    ::operator delete(record);
  }
}

const std::vector<const char*>* attribute_element_formulas(const AttributeDecl& attribute) {
  const AttributeDecl::Extras* extras = attribute.extras();
  if (extras == nullptr || extras->element_formulas.empty()) {
    return nullptr;
  }
  return &extras->element_formulas;
}

std::vector<const char*>* attribute_element_formulas(AttributeDecl& attribute) {
  return const_cast<std::vector<const char*>*>(
      attribute_element_formulas(static_cast<const AttributeDecl&>(attribute)));
}

int32_t attribute_element_count(const AttributeDecl& attribute) {
  const std::vector<const char*>* elements = attribute_element_formulas(attribute);
  return elements == nullptr ? 1 : static_cast<int32_t>(elements->size());
}

const char* attribute_formula_for_core(const AttributeDecl& attribute, uint32_t core) {
  const std::vector<const char*>* elements = attribute_element_formulas(attribute);
  if (elements == nullptr) {
    return attribute.formula;
  }
  if (elements->size() == 1) {
    return (*elements)[0];
  }
  return core < elements->size() ? (*elements)[core] : nullptr;
}

std::size_t os_object_count(const OrtiModel& model) {
  return 1 + model.further_os.size();
}

const OrtiObject* os_for_core(const OrtiModel& model, uint32_t core) {
  if (core == 0 || model.further_os.empty()) {
    return &model.os;
  }
  return core - 1 < model.further_os.size() ? &model.further_os[core - 1] : nullptr;
}

OrtiObject* os_for_core(OrtiModel& model, uint32_t core) {
  return const_cast<OrtiObject*>(os_for_core(static_cast<const OrtiModel&>(model), core));
}

namespace {

// The attributes of one OS object.
void fill_os(OrtiLookup& lookup, const ObjectDeclaration& decl, ObjectDefinition& def,
             OrtiObject& os) {
  const char* file_name = text_or_null(lookup.file_name());
  take_definition(def, decl, kObjectKindOs, os);

  static const SlotRule kOsMatchOrder[] = {
      {"RUNNINGTASK", kOsRunningTask, E}, {"RUNNINGTASKPRIORITY", kOsRunningTaskPriority, C | E},
      {"RUNNINGISR2", kOsRunningIsr2, E}, {"SERVICETRACE", kOsServiceTrace, E},
      {"LASTERROR", kOsLastError, E},     {"CURRENTAPPMODE", kOsCurrentAppMode, E},
  };
  ElementRouting elements(lookup, decl, os);
  AttributesTaken taken(lookup, def);
  for (AttributeDef& in_tree : def.attributes) {
    const AttributeDef attr = in_tree;
    taken.offer_room(attr, in_tree);
    load_trace(3, "Found definition %s\n", attr.name.c_str());
    if (elements.taken(attr)) {
      continue;
    }
    std::unique_ptr<AttributeDecl>* matched = nullptr;
    for (const SlotRule& rule : kOsMatchOrder) {
      std::unique_ptr<AttributeDecl>& slot = os.standard[static_cast<std::size_t>(rule.slot)];
      if (!match_standard_attribute(lookup, rule.name, &decl, attr, rule.mask, &os, slot)) {
        continue;
      }
      matched = &slot;
      if (rule.slot == kOsRunningIsr2 && find_enum_element(*slot, "NO_ISR") == nullptr) {
        warning_message("RUNNINGISR2 has no \"NO_ISR\" element\n");
      } else if (rule.slot == kOsLastError && find_enum_element(*slot, "E_OK") == nullptr) {
        load_trace(1, "LASTERROR has no \"E_OK\" element\n");
      } else if (rule.slot == kOsServiceTrace && !slot->to_trace()) {
        // The service trace is only of use when the debugger records it, which TOTRACE asks
        // for; the check therefore concerns SERVICETRACE itself and names it.
        warning_message("SERVICETRACE is not marked TOTRACE\n");
      }
      break;
    }
    if (matched == nullptr &&
        match_standard_attribute(lookup, "VALID", &decl, attr, C, &os, os.valid)) {
      matched = &os.valid;
    }
    if (matched == nullptr && match_standard_attribute(lookup, "_RUNNINGTASK", &decl, attr, C, &os,
                                                       os.standard[kOsRunningTaskId])) {
      matched = &os.standard[kOsRunningTaskId];
    }
    if (matched != nullptr) {
      elements.placed(attr, matched->get());
      continue;
    }
    load_trace(2, "Unrecognized attribute %s in OS object at line %d of %s\n", attr.name.c_str(),
               attr.line, file_name);
    elements.placed(attr, add_custom_attribute(lookup, decl, attr, os));
  }
  elements.finish(def);

  if (!os.standard[kOsRunningTask] && !os.standard[kOsRunningTaskId]) {
    load_trace(3, "Found no RUNNINGTASK/_RUNNINGTASK attribute in OS object\n");
  }
  for (int slot :
       {kOsRunningTaskPriority, kOsRunningIsr2, kOsServiceTrace, kOsLastError, kOsCurrentAppMode}) {
    if (!os.standard[static_cast<std::size_t>(slot)]) {
      load_trace(3, "Found no %s attribute in OS object\n", kOsSlotNames[slot]);
    }
  }
}

} // namespace

bool instantiate_os(OrtiLookup& lookup, OrtiModel* model) {
  const char* file_name = text_or_null(lookup.file_name());
  load_trace(10, "instantiate_os(%s, ==NULL:%d)\n", file_name, model == nullptr ? 1 : 0);
  if (model == nullptr) {
    return false;
  }
  ObjectDefinition* def = nullptr;
  const ObjectDeclaration* decl = nullptr;
  if (!find_definition_and_declaration_parts("OS", nullptr, lookup, &def, &decl)) {
    if (def == nullptr) {
      error_message("OS not defined in %s!\n", file_name);
    } else {
      error_message("OS not declared in %s!\n", file_name);
    }
    return false;
  }
  // Newest first, as the walk meets them.
  std::vector<ObjectDefinition*> definitions{def};
  ObjectDefinition* older = find_definition("OS", nullptr, lookup, def);
  if (older != nullptr) {
    // In file order; a second one exists, as the walk has just met it.
    const std::vector<uint32_t>& in_file_order =
        lookup.definitions_of_type[static_cast<std::size_t>(lookup.type_number("OS"))];
    if (lookup.extended_syntax == 0) {
      lookup.tree.dialect_line(KoilDialect::SeveralOs) =
          lookup.tree.definitions[in_file_order[1]]->line;
      error_message("Multiple OS definitions found!\n");
      error_message("Error extracting OS information from %s\n", file_name);
      return false;
    }
    for (; older != nullptr; older = find_definition("OS", nullptr, lookup, older)) {
      definitions.push_back(older);
    }
    // A duplicate name ends the walk early, with its messages.
    if (in_file_order.size() != definitions.size()) {
      error_message("Error extracting OS information from %s\n", file_name);
      return false;
    }
  }
  std::reverse(definitions.begin(), definitions.end());
  model->further_os = std::vector<OrtiObject>(definitions.size() - 1);
  for (std::size_t core = 0; core < definitions.size(); ++core) {
    ObjectDefinition& os_def = *definitions[core];
    if (core == 1) {
      lookup.tree.dialect_line(KoilDialect::SeveralOs) = os_def.line;
      warning_message("%s", koil_dialect_warning(KoilDialect::SeveralOs, os_def.object_name.c_str(),
                                                 os_def.line, file_name)
                                .c_str());
    }
    fill_os(lookup, *decl, os_def, core == 0 ? model->os : model->further_os[core - 1]);
  }
  return true;
}

bool instantiate_tasks(OrtiLookup& lookup, OrtiModel* model) {
  return instantiate_kind(lookup, model, kTaskRules, &OrtiModel::tasks);
}

bool instantiate_stacks(OrtiLookup& lookup, OrtiModel* model) {
  return instantiate_kind(lookup, model, kStackRules, &OrtiModel::stacks);
}

bool instantiate_contexts(OrtiLookup& lookup, OrtiModel* model) {
  return instantiate_kind(lookup, model, kContextRules, &OrtiModel::contexts);
}

bool instantiate_alarms(OrtiLookup& lookup, OrtiModel* model) {
  return instantiate_kind(lookup, model, kAlarmRules, &OrtiModel::alarms);
}

bool instantiate_resources(OrtiLookup& lookup, OrtiModel* model) {
  return instantiate_kind(lookup, model, kResourceRules, &OrtiModel::resources);
}

bool instantiate_message_containers(OrtiLookup& lookup, OrtiModel* model) {
  return instantiate_kind(lookup, model, kMessageContainerRules, &OrtiModel::message_containers);
}

bool instantiate_extensions(OrtiLookup& lookup, OrtiModel* model) {
  load_trace(10, "instantiate_extensions(%s, ==NULL:%d)\n", text_or_null(lookup.file_name()),
             model == nullptr ? 1 : 0);
  if (model == nullptr) {
    return false;
  }
  auto& defs = lookup.tree.definitions;
  // Collected newest kind first; each new kind belongs at the head of the list, so the
  // collection is reversed at the end rather than inserting at the front each time.
  std::vector<VendorKind> kinds;
  for (std::size_t i = defs.size(); i-- > 0;) {
    ObjectDefinition& first = *defs[i];
    if (first.processed) {
      continue;
    }
    // The type name is copied: filling the kind marks definitions, not texts, but the name
    // must not depend on which definition is looked at.
    const std::string type_name(first.type_name);
    const int32_t count = count_definitions(type_name.c_str(), lookup);
    if (count == 0) {
      error_message("Internal Error: Vendor Extension Count Mismatch\n");
      return false;
    }
    load_trace(1, "Found %d Vendor Extensions of type %s\n", count, type_name.c_str());
    if (!has_vs_prefix(type_name)) {
      load_trace(3, "Vendor-specific object did not start with vs_\n");
    }
    const ObjectDeclaration* decl = find_declaration(type_name.c_str(), lookup);
    if (decl == nullptr) {
      error_message("%s definitions found, but no %s declaration found\n", type_name.c_str(),
                    type_name.c_str());
      return false;
    }
    VendorKind kind;
    kind.objects = std::vector<OrtiObject>(static_cast<std::size_t>(count));
    if (!fill_objects(lookup, kVendorRules, type_name.c_str(), *decl, kind.objects)) {
      return false;
    }
    // Moving the kind keeps its object array where it is, so instance pointers stay valid.
    kinds.push_back(std::move(kind));
  }
  std::reverse(kinds.begin(), kinds.end());
  for (VendorKind& kind : kinds) {
    model->vendor_kinds.push_back(std::move(kind));
  }
  return true;
}

void link_model_enums(OrtiLookup& lookup, OrtiModel& model) {
  for (std::size_t core = 0; core < os_object_count(model); ++core) {
    OrtiObject& os = *os_for_core(model, static_cast<uint32_t>(core));
    for (int slot :
         {kOsRunningTask, kOsRunningIsr2, kOsServiceTrace, kOsLastError, kOsCurrentAppMode}) {
      link_if_present(lookup, model, os.standard[static_cast<std::size_t>(slot)]);
    }
  }
  for (OrtiObject& task : model.tasks) {
    link_if_present(lookup, model, task.standard[kTaskState]);
    link_if_present(lookup, model, task.standard[kTaskStack]);
    link_if_present(lookup, model, task.standard[kTaskContext]);
    link_custom_enums(lookup, model, task);
  }
  for (OrtiObject& context : model.contexts) {
    link_custom_enums(lookup, model, context);
  }
  for (OrtiObject& alarm : model.alarms) {
    link_if_present(lookup, model, alarm.standard[kAlarmState]);
    link_custom_enums(lookup, model, alarm);
  }
  for (OrtiObject& resource : model.resources) {
    link_if_present(lookup, model, resource.standard[kResourceState]);
    link_if_present(lookup, model, resource.standard[kResourceLocker]);
    link_custom_enums(lookup, model, resource);
  }
  for (OrtiObject& container : model.message_containers) {
    link_custom_enums(lookup, model, container);
  }
  for (VendorKind& kind : model.vendor_kinds) {
    for (OrtiObject& object : kind.objects) {
      link_custom_enums(lookup, model, object);
    }
  }
}

std::unique_ptr<OrtiModel> parse_koil(OrtiParseTree* tree, int extended_syntax) {
  load_trace(10, "parse_koil(%s)\n",
             tree != nullptr && tree->file_name ? tree->file_name->c_str() : "(null)");
  if (tree == nullptr) {
    error_message("Internal Error: file == NULL\n");
    return nullptr;
  }
  auto model = std::make_unique<OrtiModel>();
  model->orti_version = tree->orti_version;
  // A file of KOIL 2.3 or later is read with that version's grammar, so ORTI 2.3 is no longer
  // newer than what is supported there.
  const OrtiVersion& version = model->orti_version;
  const OrtiVersion& koil = tree->koil_version;
  const uint32_t newest_minor = (koil.major > 2 || (koil.major == 2 && koil.minor >= 3)) ? 3 : 2;
  if (version.major > 2 || (version.major == 2 && version.minor > newest_minor)) {
    warning_message("ORTI information is in newer format than this tool supports\n");
  }
  OrtiLookup lookup(*tree, extended_syntax);
  lookup.record_memory = &model->record_memory;
  using Step = bool (*)(OrtiLookup&, OrtiModel*);
  static const Step kSteps[] = {instantiate_os,
                                instantiate_tasks,
                                instantiate_stacks,
                                instantiate_contexts,
                                instantiate_alarms,
                                instantiate_resources,
                                instantiate_message_containers,
                                instantiate_extensions};
  for (Step step : kSteps) {
    if (!step(lookup, model.get())) {
      clear_instances(*tree);
      return nullptr;
    }
  }
  link_model_enums(lookup, *model);
  return model;
}
