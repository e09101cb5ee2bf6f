// Attribute evaluation: one attribute of one object turned into a value through the debugger's
// expression evaluator, with a per-attribute cache that one generation counter invalidates.
//
// A CTYPE attribute is an expression over target symbols; an ENUM attribute an expression whose
// number selects a label; a STRING attribute a text (or, for a list's _NAME, an expression that
// the debugger prints as a text). For an element of a list object, "$ITEM" in the formula
// stands for the element's expression, built from the list's _PARENT_NODE, _NEXT_NODE and
// _ITEM formulas. A debugger that cannot evaluate a formula does not fail the read: the value
// becomes "Error evaluating: <formula>" (text) or 0, is cached like a good one, and the
// caller that must tell the two apart (the plug-in's own decisions about tasks, owners and
// registers) asks for ReadFlags::evaluated.
//
//   TypedValue value = typed_value_of(kValueText);
//   if (get_attribute_value(state, ctx, task.standard[kTaskState].get(), &value, &task) == 0)
//     show(value.text);
#pragma once

#include "awareness/awareness_state.h"
#include "osa/service_context.h"
#include "osa/typed_value.h"

#include <cstdint>
#include <string>
#include <string_view>

struct ReadFlags {
  // Ignore the show-formulas switch: reads whose value the plug-in acts on need values.
  bool values_only = false;
  // Set to false when the value stands for an evaluation the debugger refused (or one that was
  // never sent because its text was too long), true otherwise.
  bool* evaluated = nullptr;
  // The core (0-based) whose element of an array attribute is read; kNoCore: the call's core
  // (see awareness/cores.h).
  uint64_t core = kNoCore;
};

// Evaluates attr into value, whose type code the caller has set (0 text, 6 32-bit, 8 float, 11
// 64-bit). list_context: the object that owns the attribute; when it is a list, the element at
// the state's list position is read. An array attribute is read at the element of the read's
// core; a core that no element serves fails the read. Returns 0 on success, 1 on failure.
//
// Cached values are kept per list position, and for an array attribute per element as well (a
// value of element k never answers a read of element j): a list element's array by position
// and element, any other array by element alone, since its value does not depend on where a
// walk stands.
int32_t get_attribute_value(AwarenessState& state, OSA_ServiceCntx* ctx, AttributeDecl* attr,
                            TypedValue* value, const OrtiObject* list_context,
                            const ReadFlags& flags = {});

// Evaluates formula in place of attr's own (a node test with its node filled in), without list
// substitution; the value is cached in attr at the list position like any other.
int32_t get_attribute_value_of_formula(AwarenessState& state, OSA_ServiceCntx* ctx,
                                       AttributeDecl* attr, const std::string& formula,
                                       TypedValue* value, const ReadFlags& flags = {});

// Writes value into a CTYPE attribute ("(formula)=value"); every cache is dropped after a
// successful write. Returns 0 on success, 1 on failure.
int32_t set_attribute_value(AwarenessState& state, OSA_ServiceCntx* ctx, AttributeDecl* attr,
                            TypedValue* value, const OrtiObject* list_context);

// Drops every cached value: attribute values (by the generation), task contexts and their
// register values, the running task, the last reference walk.
void invalidate_caches(AwarenessState& state);

// Every occurrence of pattern in text replaced by replacement.
std::string replace_all(std::string_view text, std::string_view pattern,
                        std::string_view replacement);

// The expression of node k of a list (k = 0: the _PARENT_NODE formula; k + 1: _NEXT_NODE with
// "$NODE" replaced by node k) and the expression of element k (_ITEM with "$NODE" replaced by
// node k). False, with the text built so far, as soon as the text passes kTextLimit: a
// _NEXT_NODE that holds "$NODE" twice doubles the text per element.
bool list_node_expression(const OrtiObject& list, int64_t k, std::string* out);
bool list_element_expression(const OrtiObject& list, int64_t k, std::string* out);
