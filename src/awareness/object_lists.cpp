// Object list walks, the validity and node tests, and reference walks.
#include "awareness/object_lists.h"

#include "awareness/attribute_eval.h"
#include "awareness/object_attributes.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"
#include "orti/model/declarations.h"
#include "orti/model/load_trace.h"

namespace {

const char* truth(bool value) {
  return value ? "true" : "false";
}

// A node test: _NODE_VALID with "$NODE" replaced by node, evaluated at the given list
// position (so that its value is cached there). True when the debugger gave a number other
// than 0.
bool node_exists(AwarenessState& state, OSA_ServiceCntx* ctx, OrtiObject& list,
                 const std::string& node, int64_t position) {
  AttributeDecl* node_valid = list.node_valid();
  if (node_valid == nullptr || node_valid->formula == nullptr) {
    return false;
  }
  const std::string formula = replace_all(node_valid->formula, "$NODE", node);
  const int64_t saved = state.list_position;
  state.list_position = position;
  TypedValue value = typed_value_of(kValueUInt32);
  bool evaluated = false;
  const int32_t status =
      get_attribute_value_of_formula(state, ctx, node_valid, formula, &value, {true, &evaluated});
  state.list_position = saved;
  return status == 0 && evaluated && value.code == kValueUInt32 && value.payload != 0;
}

void trace_walk_limit(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type) {
  osa_trace(state, ctx, 0,
            "The list of object type %d has more than %d elements; the walk stops there (the "
            "list in target memory may be corrupt or cyclic)\n",
            static_cast<int>(type), static_cast<int>(kMaxListElements));
}

// Restores a saved cursor when a reference walk ends, unless told to keep the walk's choice.
class CursorRestore {
public:
  CursorRestore(AwarenessState& state, int32_t type) : state_(state), type_(type) {
    if (const int64_t* cursor = object_cursor(state_, type_)) {
      saved_ = *cursor;
      active_ = true;
    }
  }
  ~CursorRestore() {
    if (!active_) {
      return;
    }
    // Looked up again: the cursor table may have been remade by a call nested in between.
    if (int64_t* cursor = object_cursor(state_, type_)) {
      *cursor = saved_;
    }
  }
  void keep() { active_ = false; }
  CursorRestore(const CursorRestore&) = delete;
  CursorRestore& operator=(const CursorRestore&) = delete;

private:
  AwarenessState& state_;
  int32_t type_;
  int64_t saved_ = 0;
  bool active_ = false;
};

// 9: the index of a static link's object among the objects of the requested type, or -1 (with
// its trace) when the link does not fit the type. 1 for a type that does not exist.
int32_t static_link_index(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                          const OrtiObject* linked, int64_t* index) {
  int32_t linked_type = -1;
  int64_t linked_index = 0;
  if (!locate_object(state, linked, &linked_type, &linked_index) || linked_type != type) {
    osa_trace(state, ctx, 50, "init_reference_list(): Enum attribute has link of wrong type\n");
    return 2;
  }
  *index = linked_index;
  return 0;
}

// 8: a dynamic link, matched through the linked list's _OWNER against the parent task's
// TASK_ID. On 0 the list position is the element found.
int32_t dynamic_link_position(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                              int32_t parent_type, OrtiObject* linked) {
  if (parent_type != kTypeTask) {
    return 2;
  }
  TypedValue task_id = typed_value_of(kValueUInt32);
  bool evaluated = false;
  if (get_task_attribute(state, ctx, kTaskIdAttribute, &task_id, nullptr, {true, &evaluated}) !=
          0 ||
      !evaluated) {
    return 1; // a TASK_ID the debugger could not give matches no owner
  }
  if (is_object_list_empty(state, ctx, type, 0)) {
    return 1;
  }
  state.list_position = 0;
  for (;;) {
    TypedValue owner = typed_value_of(kValueUInt32);
    bool owner_evaluated = false;
    const int32_t status =
        get_attribute_value(state, ctx, linked->owner(), &owner, linked, {true, &owner_evaluated});
    if (status != 0 || !owner_evaluated) {
      break;
    }
    if (static_cast<uint32_t>(owner.payload) == static_cast<uint32_t>(task_id.payload)) {
      return 0;
    }
    if (!has_next(state, ctx, type, 0)) {
      break;
    }
    if (!list_position_ok(state.list_position + 1)) {
      trace_walk_limit(state, ctx, type);
      return 1;
    }
    ++state.list_position;
  }
  osa_trace(state, ctx, 50, "init_reference_list(): Could not find dynamic link\n");
  return 2;
}

} // namespace

WalkStateScope::WalkStateScope(AwarenessState& state, int32_t type)
    : state_(state), type_(type), list_position_(state.list_position) {
  if (const int64_t* cursor = object_cursor(state_, type_)) {
    cursor_ = *cursor;
    has_cursor_ = true;
  }
}

WalkStateScope::~WalkStateScope() {
  // Looked up again: a nested call may have remade the cursor table.
  if (int64_t* cursor = object_cursor(state_, type_); cursor != nullptr && has_cursor_) {
    *cursor = cursor_;
  }
  state_.list_position = list_position_;
}

int32_t select_object(AwarenessState& state, OSA_ServiceCntx*, int32_t type, int64_t index) {
  int64_t* cursor = object_cursor(state, type);
  if (cursor == nullptr || index < 0 || index >= object_count(state, type)) {
    return 1;
  }
  *cursor = index;
  return 0;
}

bool object_is_list(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index) {
  osa_trace(state, ctx, 50, "object_is_list(%d, %d)\n", static_cast<int>(type),
            static_cast<int>(index));
  const OrtiObject* object = type == kTypeOs ? nullptr : object_at(state, type, index);
  const bool is_list = object != nullptr && object->is_list;
  osa_trace(state, ctx, 50, "object_is_list(): %s\n", truth(is_list));
  return is_list;
}

bool is_object_valid(AwarenessState& state, OSA_ServiceCntx* ctx, OrtiObject* object) {
  if (object == nullptr) {
    return false;
  }
  if (osa_trace_wanted(state, 50)) {
    osa_trace(state, ctx, 50, "is_object_valid(%s:%s)\n", text_or_null(object->type_name),
              text_or_null(object->name));
  }
  if (!object->valid) {
    return true;
  }
  TypedValue value = typed_value_of(kValueUInt32);
  bool evaluated = false;
  const int32_t status =
      get_attribute_value(state, ctx, object->valid.get(), &value, object, {true, &evaluated});
  return status == 0 && evaluated && value.code == kValueUInt32 && value.payload != 0;
}

bool object_ready(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index) {
  osa_trace(state, ctx, 50, "object_ready(%d, %d)\n", static_cast<int>(type),
            static_cast<int>(index));
  bool ready = false;
  if (type != kTypeOs && object_type_exists(state, type)) {
    if (object_is_list(state, ctx, type, 0)) {
      // For a list the index is a list position; the list's elements are not counted.
      if (list_position_ok(index)) {
        state.list_position = index;
        ready = is_object_valid(state, ctx, object_at(state, type, 0));
      }
    } else if (index >= 0 && index < object_count(state, type)) {
      ready = is_object_valid(state, ctx, object_at(state, type, index));
    }
  }
  osa_trace(state, ctx, 50, "object_ready(): %s\n", truth(ready));
  return ready;
}

bool is_object_list_empty(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                          int64_t index) {
  osa_trace(state, ctx, 50, "is_object_list_empty(%d:%d)\n", static_cast<int>(type),
            static_cast<int>(index));
  OrtiObject* object = type == kTypeOs ? nullptr : object_at(state, type, index);
  if (object == nullptr || !object->is_list) {
    return true;
  }
  std::string first;
  if (!list_node_expression(*object, 0, &first)) {
    return true;
  }
  return !node_exists(state, ctx, *object, first, 0);
}

bool is_next_object_valid(AwarenessState& state, OSA_ServiceCntx* ctx, OrtiObject* object) {
  if (object == nullptr) {
    return false;
  }
  const int64_t k = state.list_position;
  if (osa_trace_wanted(state, 50)) {
    osa_trace(state, ctx, 50, "is_next_object_valid(%s:%s:%d)\n", text_or_null(object->type_name),
              text_or_null(object->name), static_cast<int>(k));
  }
  if (!object->is_list || k < 0 || k + 1 > kMaxListElements) { // one node ahead
    return false;
  }
  std::string node;
  if (!list_node_expression(*object, k + 1, &node)) {
    // Only a list that goes on and on makes its node text this long.
    osa_trace(state, ctx, 0,
              "The node after element %d of list %s would need an expression of more than %d "
              "characters; the walk stops there (the list in target memory may be corrupt or "
              "cyclic)\n",
              static_cast<int>(k), text_or_null(object->name), static_cast<int>(kTextLimit));
    return false;
  }
  return node_exists(state, ctx, *object, node, k + 1);
}

bool has_next(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index) {
  osa_trace(state, ctx, 50, "has_next(%d)\n", static_cast<int>(type));
  OrtiObject* object = type == kTypeOs ? nullptr : object_at(state, type, index);
  const bool next = is_next_object_valid(state, ctx, object);
  osa_trace(state, ctx, 50, "has_next(): %s\n", truth(next));
  return next;
}

int32_t object_list_init(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                         const ReferenceParent* parent) {
  state.list_position = 0;
  if (parent != nullptr) {
    return init_reference_list(state, ctx, type, parent);
  }
  if (type == kTypeOs) {
    return 0;
  }
  if (select_object(state, ctx, type, 0) != 0) {
    osa_trace(state, ctx, 0, "ObjectListInit(%d) Failed\n", static_cast<int>(type));
    return 1;
  }
  if (object_is_list(state, ctx, type, 0)) {
    if (is_object_list_empty(state, ctx, type, 0)) {
      return 1;
    }
    while (!object_ready(state, ctx, type, state.list_position)) {
      if (!has_next(state, ctx, type, 0)) {
        osa_trace(state, ctx, 50, "ObjectListInit() NONE READY\n");
        return 2;
      }
      if (!list_position_ok(state.list_position + 1)) {
        trace_walk_limit(state, ctx, type);
        return 1;
      }
      ++state.list_position;
    }
  }
  return 0;
}

int32_t object_list_next(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                         const ReferenceParent* parent) {
  if (!object_type_exists(state, type)) {
    osa_trace(state, ctx, 0, "ObjectListNext(UNKNOWN)\n");
    return 1;
  }
  if (parent != nullptr || type == kTypeOs) {
    return 2;
  }
  const int64_t* cursor = object_cursor(state, type);
  if (cursor == nullptr) {
    return 1;
  }
  const int64_t c = *cursor;
  const bool is_list = object_is_list(state, ctx, type, c);
  if (is_list && !list_position_ok(state.list_position + 1)) {
    trace_walk_limit(state, ctx, type);
    return 1;
  }
  if (is_list && has_next(state, ctx, type, c)) {
    for (;;) {
      if (!list_position_ok(state.list_position + 1)) {
        trace_walk_limit(state, ctx, type);
        return 1;
      }
      ++state.list_position;
      if (object_ready(state, ctx, type, state.list_position)) {
        osa_trace(state, ctx, 50, "ObjectListNext(id:%d, %lld) = %d\n", static_cast<int>(type),
                  static_cast<long long>(c), static_cast<int>(state.list_position));
        return 0;
      }
      if (!has_next(state, ctx, type, c)) {
        osa_trace(state, ctx, 50, "ObjectListNext() LAST READY\n");
        return 2;
      }
    }
  }
  osa_trace(state, ctx, 50, "ObjectListNext(id:%d, %lld) = %lld\n", static_cast<int>(type),
            static_cast<long long>(c), static_cast<long long>(c + 1));
  const int64_t count = object_count(state, type);
  int64_t i = c + 1;
  while (i < count && !object_ready(state, ctx, type, i)) {
    ++i;
  }
  if (i >= count) {
    osa_trace(state, ctx, 50, "ObjectListNext() LAST\n");
    return 2;
  }
  if (select_object(state, ctx, type, i) != 0) {
    osa_trace(state, ctx, 0, "ObjectListNext() FAILED\n");
    return 1;
  }
  return 0;
}

int32_t object_list_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                              int32_t attr_id, TypedValue* value) {
  if (type >= kTypeOs && type <= kTypeMessageContainer) {
    return get_object_attribute(state, ctx, type, attr_id, value, nullptr);
  }
  if (type >= kTypeVendorBase) {
    return get_custom_attribute(state, ctx, type - kTypeVendorBase, attr_id, value, nullptr);
  }
  osa_trace(state, ctx, 0, "OSA_Client_ObjectAttribute called with bad object: %d\n",
            static_cast<int>(type));
  return 1;
}

int32_t init_reference_list(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                            const ReferenceParent* parent) {
  const CacheRead read = begin_cache_read(state);
  if (parent == nullptr) {
    osa_trace(state, ctx, 0, "init_reference_list(): No parent\n");
    return 1;
  }
  // Both type ids are checked before anything is indexed with them.
  if (type < 0 || (type > kTypeMessageContainer && type < kTypeVendorBase)) {
    osa_trace(state, ctx, 0, "init_reference_list called with bad reference object: %d\n",
              static_cast<int>(type));
    return 1;
  }
  if (!object_type_exists(state, type)) {
    osa_trace(state, ctx, 0, "init_reference_list(): Failure, non-existent custom object\n");
    return 1;
  }
  const int32_t parent_type = parent->type;
  const bool parent_is_list =
      object_type_exists(state, parent_type) && object_is_list(state, ctx, parent_type, 0);
  if (parent_is_list) {
    if (parent->object_id < 1 || parent->object_id > static_cast<uint64_t>(kMaxListElements)) {
      osa_trace(state, ctx, 0, "init_reference_list(): Bad Id\n");
      return 1;
    }
    state.list_position = static_cast<int64_t>(parent->object_id) - 1;
  } else if (!object_type_exists(state, parent_type) || parent->object_id < 1 ||
             parent->object_id > static_cast<uint64_t>(object_count(state, parent_type))) {
    osa_trace(state, ctx, 0, "init_reference_list(): Bad Id\n");
    return 1;
  }

  const ReferenceListCache cached = state.reference_cache;
  if (cached.linked != nullptr && cached.type == type && cached.parent_id == parent->object_id &&
      cached.parent_type == parent_type && cached.parent_attribute == parent->attribute) {
    osa_trace(state, ctx, 50, "init_reference_list(): Success (cached)\n");
    if (cached.selects) {
      select_object(state, ctx, type, cached.selected_index);
    }
    state.list_position = cached.list_position;
    return 0;
  }
  state.reference_cache = ReferenceListCache{};

  CursorRestore restore(state, parent_type);
  if (int64_t* cursor = parent_type != kTypeOs ? object_cursor(state, parent_type) : nullptr) {
    *cursor = parent_is_list ? 0 : static_cast<int64_t>(parent->object_id) - 1;
  }
  osa_trace(state, ctx, 50,
            "init_refernce_list(objTypeId:%d, parentObjTypeId:%d, parentObjId:%lld, "
            "parentObjListId:%d)\n",
            static_cast<int>(type), static_cast<int>(parent_type),
            static_cast<long long>(parent->object_id), static_cast<int>(parent->attribute));

  TypedValue label = typed_value_of(kValueText);
  AttributeDecl* attr = nullptr;
  bool evaluated = false;
  if (get_object_attribute(state, ctx, parent_type, parent->attribute, &label, &attr,
                           {true, &evaluated}) != 0 ||
      !evaluated) {
    osa_trace(state, ctx, 0, "init_reference_list(): Failure, could not read attribute\n");
    return 1;
  }
  if (attr == nullptr || attr->kind() != kKindEnum) {
    osa_trace(state, ctx, 50, "init_reference_list(): Not an enum attribute\n");
    return 2;
  }
  const EnumElement* element = find_enum_element(*attr, label.text.c_str());
  if (element == nullptr || element->linked_object == nullptr) {
    osa_trace(state, ctx, 50, "init_reference_list(): Enum attribute has no link\n");
    return 2;
  }
  OrtiObject* linked = element->linked_object;

  const bool dynamic = linked->is_list && linked->owner() != nullptr;
  int64_t index = 0;
  if (dynamic) {
    const int32_t status = dynamic_link_position(state, ctx, type, parent_type, linked);
    if (status != 0) {
      return status;
    }
    index = state.list_position;
  } else {
    const int32_t status = static_link_index(state, ctx, type, linked, &index);
    if (status != 0) {
      return status;
    }
  }
  if (!object_ready(state, ctx, type, index)) {
    return 2;
  }
  if (!dynamic) {
    if (type == parent_type) {
      restore.keep(); // the parent's cursor gives way to the object the walk shows
    }
    if (select_object(state, ctx, type, index) != 0) {
      osa_trace(state, ctx, 0, "init_reference_list(): Failure, could not find link\n");
      return 1;
    }
  }
  ReferenceListCache found;
  found.type = type;
  found.parent_id = parent->object_id;
  found.parent_type = parent_type;
  found.parent_attribute = parent->attribute;
  found.linked = linked;
  found.selects = !dynamic;
  found.selected_index = index;
  found.list_position = state.list_position;
  keep_if_current(state, read, [&] { state.reference_cache = found; });
  osa_trace(state, ctx, 50, "init_reference_list(): Success\n");
  return 0;
}
