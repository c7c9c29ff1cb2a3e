// Type descriptors: every parameter, result and property has one. The first
// word tells the kind; class definitions are types themselves (kind 3).
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"

enum PropertyTypeKind : int32_t {
  kSimpleTypeKind = 0, // SimplePropertyType
  kArrayTypeKind = 1,  // ArrayPropertyType
  kNamelessClassTypeKind = 2,
  kClassTypeKind = 3, // ObjectDefinition
};

struct PropertyType {
  int32_t kind;

  // "Integer", a class name, "String()" for an array; empty for other kinds.
  string GetName() const;
  // The one-letter code of link names ("s", "i", "as", "o<Timer>"); empty for
  // a kind that has none.
  string BuildLinkNameTypeCode() const;
};
static_assert(sizeof(PropertyType) == 4);

// A simple type: its name and its value conversions. Values travel as one
// 32-bit word (a number, a Boolean 0/1, float bits, or a string storage).
struct SimplePropertyType {
  PropertyType type;
  const char *name;
  // The value as text, with one reference for the caller.
  stringStorage *(*valueToText)(intptr_t value);
  // Reads a value from text; answers non-zero on success.
  int32_t (*textToValue)(stringStorage *text, intptr_t *value);
  void (*releaseValue)(intptr_t value);
  void (*retainValue)(intptr_t value);
};
static_assert(sizeof(SimplePropertyType) == 24);
static_assert(offsetof(SimplePropertyType, name) == 4);
static_assert(offsetof(SimplePropertyType, valueToText) == 8);
static_assert(offsetof(SimplePropertyType, textToValue) == 12);
static_assert(offsetof(SimplePropertyType, releaseValue) == 16);
static_assert(offsetof(SimplePropertyType, retainValue) == 20);

// An array of elementType; the third word is carried as the tables give it.
struct ArrayPropertyType {
  PropertyType type;
  PropertyType *elementType;
  int32_t dimensions;
};
static_assert(sizeof(ArrayPropertyType) == 12);
static_assert(offsetof(ArrayPropertyType, elementType) == 4);
