// Object instantiation: the parse tree of one ORTI file into its OrtiModel.
//
// parse_koil is what a loader calls after a parse that counted no error. The per-kind steps
// are public so that tests can run them one at a time; they run in a fixed order because the
// vendor-specific step takes every definition that no earlier step consumed.
#pragma once

#include "orti/model/declarations.h"
#include "orti/model/orti_model.h"
#include "orti/parser/parse_tree.h"

#include <memory>

// Builds the model of the tree, or gives none when a step failed (its messages have been
// written and no partial model is kept). extended_syntax is the parser's setting after the
// parse (an old-style file switches it on). On success the tree's definitions are marked
// processed and point at their objects, and ENUM elements point at the objects they link to;
// the tree must then live as long as the model. On failure those marks are cleared again.
std::unique_ptr<OrtiModel> parse_koil(OrtiParseTree* tree, int extended_syntax);

// The steps, in the order parse_koil runs them. Each returns success.
bool instantiate_os(OrtiLookup& lookup, OrtiModel* model);
bool instantiate_tasks(OrtiLookup& lookup, OrtiModel* model);
bool instantiate_stacks(OrtiLookup& lookup, OrtiModel* model);
bool instantiate_contexts(OrtiLookup& lookup, OrtiModel* model);
bool instantiate_alarms(OrtiLookup& lookup, OrtiModel* model);
bool instantiate_resources(OrtiLookup& lookup, OrtiModel* model);
bool instantiate_message_containers(OrtiLookup& lookup, OrtiModel* model);
bool instantiate_extensions(OrtiLookup& lookup, OrtiModel* model);

// Links the ENUM elements of every attribute that names objects, in the model's order.
void link_model_enums(OrtiLookup& lookup, OrtiModel& model);
