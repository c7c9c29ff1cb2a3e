// The Apple-event family of the language, inert on this platform: six
// classes whose getters answer 0, nil or 0.0 and whose setters do nothing;
// only AppleEvent's Timeout is kept.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct AppleEventObject {
  RuntimeObject header;
  int32_t reserved[6];
  int32_t timeout;
};
static_assert(sizeof(AppleEventObject) == 52);
static_assert(offsetof(AppleEventObject, timeout) == 48);

constexpr int32_t kAppleEventDescriptorSize = 52; // record, list, object specifier
constexpr int32_t kAppleEventTemplateSize = 40;
constexpr int32_t kAppleEventTargetSize = 276;

ObjectDefinition *AppleEventClass();
ObjectDefinition *AppleEventRecordClass();
ObjectDefinition *AppleEventDescListClass();
ObjectDefinition *AppleEventObjectSpecifierClass();
ObjectDefinition *AppleEventTemplateClass();
ObjectDefinition *AppleEventTargetClass();
// Registers the six classes.
void RegisterAppleEventClasses();
