// The key-chain and registry classes of the language and the Speak function,
// inert on this platform: a KeyChain finds no password, every RegistryItem
// constructor raises RegistryAccessErrorException, and Speak says nothing.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct stringStorage;

struct KeyChainObject {
  RuntimeObject header;
  int32_t handle;
};
static_assert(sizeof(KeyChainObject) == 28);
static_assert(offsetof(KeyChainObject, handle) == 24);

// The five attribute strings; nothing here fills or releases them.
struct KeyChainItemObject {
  RuntimeObject header;
  stringStorage *attributes[5];
  int32_t reserved44;
};
static_assert(sizeof(KeyChainItemObject) == 48);
static_assert(offsetof(KeyChainItemObject, attributes) == 24);

constexpr int32_t kRegistryItemInstanceSize = 28;

ObjectDefinition *KeyChainClass();
ObjectDefinition *KeyChainItemClass();
ObjectDefinition *RegistryItemClass();

extern "C" {
void RegistryItemPathCtor(RuntimeObject *self, stringStorage *path);
void RegistryItemCopyCtor(RuntimeObject *self, RuntimeObject *source);
RuntimeObject *RuntimeGetDefaultApplicationRegistryItem();
RuntimeObject *GetIDERegistryKey();
void RuntimeSpeak(RuntimeObject *value, int32_t interrupt);
}
