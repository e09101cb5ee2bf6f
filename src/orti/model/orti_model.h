// The object model of one ORTI file: the OS object, the per-kind object arrays in file order
// and the vendor-specific kinds, each object with its standard, list and custom attributes.
//
// Every text of the model points into the parse tree, which the loader keeps for as long as
// the model lives; the model owns only its arrays and attribute records. Object arrays are
// sized once and never grow, because parse-tree definitions and ENUM elements hold pointers
// to the objects in them.
//
// Per-core values. A multi-core OS gives some attributes one value per core, in either of two
// ways, and a reader that serves core k (0-based) picks what serves that core as follows.
// - Array attributes (declared NAME[], defined NAME[0], NAME[1], ...). The record is made once,
//   from the declaration and the first element met; element_formulas[i] is the formula of
//   NAME[i], null for an index the file leaves out, and formula is element 0's (null when the
//   file defines no NAME[0]), so that a reader unaware of cores reads element 0 as before.
//   attribute_formula_for_core() picks the element: an array with one element serves every
//   core; on a longer array a core beyond its last element, or an element the file leaves out,
//   gives null, and the reader reports that as an error naming the attribute and the core. A
//   plain attribute has no elements and its formula serves every core.
//   attribute_element_count() is 1 for a plain attribute and the array's length otherwise.
// - One OS object per core (extended syntax). OrtiModel::os is the first OS object in file
//   order and serves core 0; further_os holds the next ones, the n-th OS object in file order
//   serving core n. os_for_core() picks it: a file with one OS object serves every core with
//   it; with several, a core beyond the last OS object gives null, an error for the reader.
// The value caches of a record are not split by element here; a reader that reads several
// elements keeps one slot per element.
#pragma once

#include "orti/parser/parse_tree.h"
#include "osa/typed_value.h"

#include <array>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <new>
#include <string>
#include <vector>

// One value of an attribute's cache: what attribute evaluation keeps per list position.
struct AttributeCacheEntry {
  TypedValue value;
  uint64_t generation = 0; // the cache generation it was read in; 0: never stored
  bool failed = false;     // the entry stands for an evaluation the debugger refused
};

struct AttributeExtras;

// The value caches of one record: nothing until the first evaluation stores a value, so that
// the records of the attributes nobody reads (most of a large file's) cost one pointer. That
// pointer also holds what few records have beyond their formula and facts (AttributeExtras),
// which a record would otherwise pay a second pointer for.
class AttributeValueCache {
public:
  AttributeValueCache() = default;
  AttributeValueCache(const AttributeValueCache&) = delete;
  AttributeValueCache& operator=(const AttributeValueCache&) = delete;
  ~AttributeValueCache();

  bool empty() const;
  std::size_t size() const;
  AttributeCacheEntry& operator[](std::size_t i);
  const AttributeCacheEntry& operator[](std::size_t i) const;
  // Frees every entry, as before the first evaluation.
  void clear();
  // New entries are never stored.
  void resize(std::size_t count);

private:
  friend struct AttributeDecl;
  struct Parts;
  Parts& ensure_parts();
  AttributeExtras* extras() const;
  AttributeExtras& ensure_extras();

  Parts* parts_ = nullptr;
};

// What the records of one declared attribute share across the objects of its type: the kind,
// name, description, C type, ENUM elements and TOTRACE of its declaration. A loaded model makes
// one of these per declaration (or per list attribute name) in its record memory, so that each
// object's record holds only what differs per object. Texts belong to the parse tree (absent
// texts are null).
struct AttributeFacts {
  const char* name = nullptr;
  const char* description = nullptr;
  const char* c_type = nullptr;
  std::vector<EnumElement>* elements = nullptr; // ENUM only; linking writes into them
  int32_t kind = 0;                             // kKindCtype, kKindEnum or kKindString
  bool to_trace = false;
  bool is_name_attribute = false; // the _NAME list attribute of a list object
};

// What few records have: an array attribute's formulas by index (see the head of this file;
// empty when plain), the text of a name of the record's own, and facts of its own. Once made,
// a record's extras are never replaced, since its facts may live in them.
struct AttributeExtras {
  std::vector<const char*> element_formulas;
  std::string owned_name;
  AttributeFacts own_facts;
};

// The model's record of one attribute of one object: its formula and value caches, and the
// facts of its declaration, which it shares with the same attribute of every other object of
// the type (a record made by hand, or a CPU attribute, has facts of its own instead).
//
// A large file has hundreds of thousands of these, so what only few records need is held
// apart (extras), and a loaded model makes each record in the room of the attribute
// definition it was made from, which the builder reads for the last time just before (the
// records are no larger than a definition): the parse tree frees that room with its
// attribute arrays, and the model only ends the records' lives. Records that no definition
// leaves room for live in the model's record memory, which frees them all at once with the
// model. Any other record (a CPU attribute, one made by hand) is an object of the heap.
struct AttributeDecl {
  const char* formula = nullptr; // the parse tree's; null when absent
  AttributeValueCache value_cache;

  using Extras = AttributeExtras;
  // The record's extras, or null while it has none.
  Extras* extras() const { return value_cache.extras(); }
  Extras& ensure_extras() { return value_cache.ensure_extras(); }

private:
  // The facts' address, with the lowest bit (free, as facts are aligned to more) set when
  // make() made the record in a model's record memory: a flag of its own would cost a word.
  uintptr_t facts_and_mark_;

  static const AttributeFacts kNoFacts;
  static constexpr uintptr_t kInSharedMemory = 1;
  const AttributeFacts* facts_ptr() const {
    return reinterpret_cast<const AttributeFacts*>(facts_and_mark_ & ~kInSharedMemory);
  }
  void point_at(const AttributeFacts& facts) {
    facts_and_mark_ = reinterpret_cast<uintptr_t>(&facts) | (facts_and_mark_ & kInSharedMemory);
  }

public:
  AttributeDecl() : facts_and_mark_(reinterpret_cast<uintptr_t>(&kNoFacts)) {}
  AttributeDecl(const AttributeDecl&) = delete;
  AttributeDecl& operator=(const AttributeDecl&) = delete;

  int32_t kind() const { return facts_ptr()->kind; }
  const char* name() const { return facts_ptr()->name; }
  const char* description() const { return facts_ptr()->description; }
  const char* c_type() const { return facts_ptr()->c_type; }
  std::vector<EnumElement>* elements() const { return facts_ptr()->elements; }
  bool to_trace() const { return facts_ptr()->to_trace; }
  bool is_name_attribute() const { return facts_ptr()->is_name_attribute; }

  const AttributeFacts& facts() const { return *facts_ptr(); }
  // Reads the facts from there from now on; they must outlive the record, and they are not
  // changed through it.
  void share_facts(const AttributeFacts& facts) { point_at(facts); }
  // The record's own facts, to be written: a copy of what it read so far, made on first use,
  // so that writing them changes no other record.
  AttributeFacts& own_facts();
  // True when the facts are the record's own (own_facts() was called since the last share).
  bool owns_facts() const { return extras() != nullptr && facts_ptr() == &extras()->own_facts; }

  // Makes a record in memory that frees all its records at once (the model's), or on the heap
  // when memory is null. A place, when given, is where the record is made instead: room of
  // sizeof(AttributeDecl) bytes that outlives the record and is freed by its owner (the parse
  // tree's, for a record made in place of the definition it was made from).
  static std::unique_ptr<AttributeDecl> make(std::pmr::memory_resource* memory,
                                             void* place = nullptr);
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, void* place);
  static void operator delete(AttributeDecl* record, std::destroying_delete_t);
};

// Object kind codes of the model. They order STACK before CONTEXT, unlike the object type ids
// that the debugger sees, and never cross that interface.
inline constexpr int32_t kObjectKindOs = 0;
inline constexpr int32_t kObjectKindTask = 1;
inline constexpr int32_t kObjectKindStack = 2;
inline constexpr int32_t kObjectKindContext = 3;
inline constexpr int32_t kObjectKindAlarm = 4;
inline constexpr int32_t kObjectKindResource = 5;
inline constexpr int32_t kObjectKindMessageContainer = 6;
inline constexpr int32_t kObjectKindVendor = 7;

// Standard attribute slots, per kind, in the order the kinds list them. The attribute ids 3 to
// 9 of the debugger interface are slot + 3.
inline constexpr std::size_t kStandardSlotCount = 7;
enum OsSlot : int {
  kOsRunningTask,
  kOsRunningTaskId, // _RUNNINGTASK
  kOsRunningTaskPriority,
  kOsRunningIsr2,
  kOsServiceTrace,
  kOsLastError,
  kOsCurrentAppMode,
};
enum TaskSlot : int {
  kTaskPriority,
  kTaskState,
  kTaskStack,
  kTaskCurrentActivations,
  kTaskRemainingActivations,
  kTaskContext,
  kTaskTaskId,
};
enum StackSlot : int { kStackSize, kStackBaseAddress, kStackDirection, kStackFillPattern };
enum ContextSlot : int { kContextSize, kContextAddress };
enum AlarmSlot : int { kAlarmAlarmTime, kAlarmCycleTime, kAlarmState, kAlarmAction, kAlarmCounter };
enum ResourceSlot : int { kResourceState, kResourceLocker, kResourcePriority };
enum MessageContainerSlot : int {
  kMessageContainerMsgName,
  kMessageContainerMsgType,
  kMessageContainerQueueSize,
  kMessageContainerQueueCount,
  kMessageContainerFirstElement,
};

struct CustomAttribute {
  // Free for later users of the model (for instance to mark an attribute as already shown);
  // the model builder leaves it false.
  bool flag = false;
  std::unique_ptr<AttributeDecl> attribute;
};

// The list attributes of a list object, in the order they are tried.
enum ListSlot : int {
  kListParentNode, // _PARENT_NODE
  kListItem,       // _ITEM
  kListNextNode,   // _NEXT_NODE
  kListNodeValid,  // _NODE_VALID
  kListName,       // _NAME
  kListOwner,      // _OWNER
};
inline constexpr std::size_t kListSlotCount = 6;

struct OrtiObject {
  std::unique_ptr<AttributeDecl> valid;
  const char* description = nullptr; // of the kind's declaration
  const char* name = nullptr;        // from the definition
  const char* type_name = nullptr;   // the declaration's type name as written
  int32_t kind = kObjectKindOs;
  bool is_list = false;                           // beside kind, where it costs no room of its own
  std::vector<CustomAttribute> custom_attributes; // file order
  std::array<std::unique_ptr<AttributeDecl>, kStandardSlotCount> standard;
  // The list attributes, held apart: most objects of a large file have none, and six pointers
  // of their own would make every object a third larger. Null while the object has none.
  std::unique_ptr<std::array<std::unique_ptr<AttributeDecl>, kListSlotCount>> list_attributes;

  AttributeDecl* parent_node() const { return list_attribute(kListParentNode); }
  AttributeDecl* item() const { return list_attribute(kListItem); }
  AttributeDecl* next_node() const { return list_attribute(kListNextNode); }
  AttributeDecl* node_valid() const { return list_attribute(kListNodeValid); }
  AttributeDecl* name_attribute() const { return list_attribute(kListName); }
  AttributeDecl* owner() const { return list_attribute(kListOwner); }
  // The record of a list slot (ListSlot), or null.
  AttributeDecl* list_attribute(int slot) const {
    return list_attributes ? (*list_attributes)[static_cast<std::size_t>(slot)].get() : nullptr;
  }
  // The slot itself, to be written; the list attributes are made on first use.
  std::unique_ptr<AttributeDecl>& list_slot(int slot) {
    if (!list_attributes) {
      list_attributes =
          std::make_unique<std::array<std::unique_ptr<AttributeDecl>, kListSlotCount>>();
    }
    return (*list_attributes)[static_cast<std::size_t>(slot)];
  }

  int32_t custom_attribute_count() const { return static_cast<int32_t>(custom_attributes.size()); }
};

struct VendorKind {
  std::vector<OrtiObject> objects; // file order
};

struct OrtiModel {
  // Where the attribute records of the objects below live (AttributeDecl::make). First, so
  // that it goes after every object that holds one.
  std::pmr::monotonic_buffer_resource record_memory{16 * 1024};
  OrtiVersion orti_version;
  OrtiObject os; // serves core 0, and every core when it is the only OS object
  // The OS objects after the first, in file order: further_os[i] serves core i + 1.
  std::vector<OrtiObject> further_os;
  std::vector<OrtiObject> tasks;
  std::vector<OrtiObject> contexts;
  std::vector<OrtiObject> stacks;
  std::vector<OrtiObject> alarms;
  std::vector<OrtiObject> resources;
  std::vector<OrtiObject> message_containers;
  // Ordered by the file position of each kind's last definition, earliest first.
  std::vector<VendorKind> vendor_kinds;
};

// "OS", "TASK", ... "MESSAGECONTAINER" for the standard kinds, "vendor-specific" for kind 7.
const char* object_kind_name(int32_t kind);
// The standard attribute name of a slot ("PRIORITY" for TASK slot 0), or null when the kind
// has no such slot.
const char* standard_attribute_name(int32_t kind, int slot);
// Number of standard slots of the kind (0 for vendor-specific kinds).
int standard_slot_count(int32_t kind);

// The formulas of an array attribute's elements by index, or null for a plain attribute.
const std::vector<const char*>* attribute_element_formulas(const AttributeDecl& attribute);
std::vector<const char*>* attribute_element_formulas(AttributeDecl& attribute);
// Number of per-core elements: 1 for a plain attribute, the array's length for an array.
int32_t attribute_element_count(const AttributeDecl& attribute);
// The formula that serves the 0-based core, or null when none does (see the head of this file).
const char* attribute_formula_for_core(const AttributeDecl& attribute, uint32_t core);
// Number of OS objects: 1, or one per core.
std::size_t os_object_count(const OrtiModel& model);
// The OS object that serves the 0-based core, or null when none does.
const OrtiObject* os_for_core(const OrtiModel& model, uint32_t core);
OrtiObject* os_for_core(OrtiModel& model, uint32_t core);
