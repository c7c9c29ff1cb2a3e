#include "desktop/KeyboardClass.h"

#include <iterator>

#include "foundation/NumberText.h"
#include "language/ClassBuilding.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "windows/GTKHelper.h"

namespace {

struct KeyNameRow {
  int32_t code;
  char name[12];
};
static_assert(sizeof(KeyNameRow) == 16);

// Searched from the top: the first row of a code gives its name.
constexpr KeyNameRow kKeyNames[] = {
    {53, "Esc"},        {48, "Tab"},         {57, "CapsLock"},     {56, "Shift"},
    {59, "Control"},    {58, "Alt"},         {55, "Win"},          {60, "Shift(R)"},
    {61, "Alt(R)"},     {62, "Control(R)"},  {36, "Enter"},        {49, "Space"},
    {52, "Enter"},      {63, "Fn"},          {51, "Backspace"},    {114, "Insert"},
    {115, "Home"},      {116, "PageUp"},     {117, "Delete"},      {119, "End"},
    {121, "PageDown"},  {122, "F1"},         {120, "F2"},          {99, "F3"},
    {118, "F4"},        {96, "F5"},          {97, "F6"},           {98, "F7"},
    {100, "F8"},        {101, "F9"},         {109, "F10"},         {103, "F11"},
    {111, "F12"},       {105, "PrintScreen"}, {107, "ScrollLock"}, {113, "Pause/Break"},
    {71, "NumLock"},    {81, "KP/"},         {75, "KP*"},          {67, "KP-"},
    {89, "KP7"},        {91, "KP8"},         {92, "KP9"},          {78, "KP-"},
    {86, "KP4"},        {87, "KP5"},         {88, "KP6"},          {69, "KP+"},
    {83, "KP1"},        {84, "KP2"},         {85, "KP3"},          {82, "KP0"},
    {65, "KP."},        {76, "Enter"},       {126, "Up"},          {123, "Left"},
    {125, "Down"},      {124, "Right"},
};
static_assert(std::size(kKeyNames) == 58);

// The two keys whose holding counts as holding a modifier: classic key codes
// for Shift, Option and Control, GDK key values (Super_L, Super_R) for
// Command, which has no classic code here.
struct ModifierKeys {
  int32_t mask, first, second;
};
constexpr ModifierKeys kModifierKeys[] = {
    {kCommandKeyMask, 65515, 65516},
    {kShiftKeyMask, 56, 60},
    {kOptionKeyMask, 58, 61},
    {kControlKeyMask, 59, 62},
};

} // namespace

string KeyNameFor(int32_t code) {
  for (const KeyNameRow &row : kKeyNames)
    if (row.code == code)
      return string(row.name);
  string name("key");
  name += ultohexa(uint32_t(code));
  return name;
}

extern "C" {

RuntimeObject *getKeyboardObject() { return CreateInstance(KeyboardClass()); }

int32_t modifierKeyGetter(RuntimeObject *, int32_t mask) {
  return (gLastModifiers & mask) != 0 ? 1 : 0;
}

int32_t asyncModifierKeyGetter(RuntimeObject *keyboard, int32_t mask) {
  for (const ModifierKeys &keys : kModifierKeys)
    if (keys.mask == mask)
      return keyboardAsyncKeyDown(keyboard, keys.first) || keyboardAsyncKeyDown(keyboard, keys.second)
                 ? 1
                 : 0;
  return 0;
}

int32_t keyboardAsyncKeyDown(RuntimeObject *, int32_t keyCode) {
  return GTKHelper::IsKeyDown(keyCode) ? 1 : 0;
}

stringStorage *keyboardKeyName(RuntimeObject *, int32_t keyCode) {
  return KeyNameFor(keyCode).ExtractStringStorage();
}

} // extern "C"

ObjectDefinition *KeyboardClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
#define MODIFIER(name, getter, mask)                                                               \
  { kConsoleAvailableFlag, name, &booleanType.type, ACCESSOR(getter), NO_ACCESSOR, mask, 0 }
  static ObjectInstanceTemplate properties[] = {
      MODIFIER("ShiftKey", modifierKeyGetter, kShiftKeyMask),
      MODIFIER("CommandKey", modifierKeyGetter, kCommandKeyMask),
      MODIFIER("ControlKey", modifierKeyGetter, kControlKeyMask),
      MODIFIER("OptionKey", modifierKeyGetter, kOptionKeyMask),
      MODIFIER("AsyncShiftKey", asyncModifierKeyGetter, kShiftKeyMask),
      MODIFIER("AsyncCommandKey", asyncModifierKeyGetter, kCommandKeyMask),
      MODIFIER("AsyncControlKey", asyncModifierKeyGetter, kControlKeyMask),
      MODIFIER("AsyncOptionKey", asyncModifierKeyGetter, kOptionKeyMask),
  };
#undef MODIFIER
  static MethodParameter keyCode[] = {{"KeyCode", &integerType.type, 0, {}, 0, {}, 0, {}}};
  static PropertyMethod methods[] = {
      {"AsyncKeyDown", &booleanType.type, keyCode, 1, {{ACCESSOR(keyboardAsyncKeyDown), {}}, {}}, 0,
       kConsoleAvailableFlag, 0},
      {"KeyName", &stringType.type, keyCode, 1, {{ACCESSOR(keyboardKeyName), {}}, {}}, 0,
       kConsoleAvailableFlag, 0},
  };
  DefineBuiltinClass(defn, {"_Keyboard", sizeof(RuntimeObject), nullptr, nullptr, false}, properties,
                     8, methods, 2);
  return &defn;
}
