// The areas above the runtime reach it only through hook structs they fill
// before main; in the linked program every hook is filled, and only the
// builders of classes not built yet stay empty.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "controls/DataBindingServices.h"
#include "foundation/MemoryExhaustion.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "runtime/startup/UpperAreaHooks.h"

namespace {

// Every member of a hook struct is a function pointer, so the struct is read
// as an array of them; answers the positions of the empty ones.
template <typename Hooks> std::vector<size_t> EmptyMembers(const Hooks &hooks) {
  using Member = void (*)();
  static_assert(sizeof(Hooks) % sizeof(Member) == 0);
  Member members[sizeof(Hooks) / sizeof(Member)];
  std::memcpy(members, &hooks, sizeof hooks);
  std::vector<size_t> empty;
  for (size_t i = 0; i < std::size(members); ++i)
    if (!members[i])
      empty.push_back(i);
  return empty;
}

void ExpectEveryBuilderFilledButThePendingOnes(std::span<const BuiltinClassRow> rows) {
  for (const BuiltinClassRow &row : rows)
    EXPECT_EQ(row.IsPlaceholder(), row.pending)
        << row.name << (row.pending ? " is built: make its row an area row"
                                    : " has no builder: its area did not fill the hook");
}

} // namespace

TEST(AreaHooks, EveryClassBuilderIsFilledAndOnlyThePendingOnesAreEmpty) {
  ExpectEveryBuilderFilledButThePendingOnes(ApplicationClassSteps());
  ExpectEveryBuilderFilledButThePendingOnes(ControlClassBuilders());
  EXPECT_EQ(EmptyMembers(GetBuiltinClassHooks()), std::vector<size_t>{});
}

TEST(AreaHooks, EveryServiceHookIsFilled) {
  EXPECT_EQ(EmptyMembers(GetUpperAreaHooks()), std::vector<size_t>{}) << "UpperAreaHooks";
  EXPECT_EQ(EmptyMembers(GetMemoryExhaustionHooks()), std::vector<size_t>{})
      << "MemoryExhaustionHooks";
  EXPECT_EQ(EmptyMembers(GetEditBindingHooks()), std::vector<size_t>{}) << "EditBindingHooks";
}

TEST(AreaHooks, TheWindowsAreaFillsEveryLoopHook) {
  // Start-up installs them; a test program does not start up.
  GetUpperAreaHooks().installWindowsAreaHooks();
  const std::vector<size_t> window = EmptyMembers(GetWindowHooks());
  const std::vector<size_t> pane = EmptyMembers(GetPaneHooks());
  InstallWindowHooks(nullptr);
  InstallPaneHooks(nullptr);
  EXPECT_EQ(window, std::vector<size_t>{}) << "WindowHooks";
  EXPECT_EQ(pane, std::vector<size_t>{}) << "PaneHooks";
}
