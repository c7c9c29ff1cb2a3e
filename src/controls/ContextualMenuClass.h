// The ContextualMenu control: a control without a pane that pops up rows of
// text at the pointer and reports the chosen row through its Action event.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"

struct CMMContext;

struct ContextualMenuObject {
  RuntimeControl control;
  uint8_t useCMM; // handed to the popup, which does not use it
  uint8_t align101[3];
  CMMContext *context; // the rows; nil until the first row or Open; owned
};
constexpr int32_t kContextualMenuInstanceSize = 108;
static_assert(sizeof(ContextualMenuObject) == kContextualMenuInstanceSize);
static_assert(offsetof(ContextualMenuObject, useCMM) == 100);
static_assert(offsetof(ContextualMenuObject, context) == 104);

ObjectDefinition *ContextualMenuClass();
extern ObjectHookTemplate contextualMenuHooks[1];

extern "C" {
void contextualMenuResetContent(RuntimeObject *self);
void contextualMenuAddRow(RuntimeObject *self, stringStorage *text);
void contextualMenuAddSeparator(RuntimeObject *self);
void contextualMenuOpen(RuntimeObject *self);
void RuntimeContextualMenuDestructor(RuntimeObject *self);
}
