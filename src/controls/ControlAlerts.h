// The checks of the control base and of the compiled-window entry points, as
// the alert shows them.
#pragma once
#include "foundation/AssertionAlert.h"

inline constexpr char kControlAlertSource[] = "../Common/runctl";
inline constexpr AlertSite kCloseWindowAlert{kControlAlertSource, 412, "ctl->m_view"};
inline constexpr AlertSite kTabPanelIndexWindowAlert{kControlAlertSource, 288, "m_view"};
inline constexpr AlertSite kMenuHandlerSelfAlert{kControlAlertSource, 1204, "self"};
inline constexpr AlertSite kMenuHandlerNameAlert{kControlAlertSource, 1205, "name"};
inline constexpr AlertSite kPropertyIndexAlert{kControlAlertSource, 1526,
                                               "destIndex < propTableCount"};
inline constexpr AlertSite kReadOnlyPropertyAlert{kControlAlertSource, 1530,
                                                  "destProperty->setter"};
inline constexpr AlertSite kPropertyTypeAlert{kControlAlertSource, 1581, "0"};
inline constexpr AlertSite kTruncatedPropertiesAlert{kControlAlertSource, 1590,
                                                     "offset + size <= length"};
inline constexpr AlertSite kEventTargetAlert{kControlAlertSource, 1620, "target"};
inline constexpr AlertSite kEventTargetClassAlert{kControlAlertSource, 1621, "target->classPtr"};
inline constexpr AlertSite kEventVectorAlert{kControlAlertSource, 1633,
                                             "NULL == target->eventTable[ctr].vector"};
inline constexpr AlertSite kSelfVarAlert{kControlAlertSource, 1660, "selfVar"};
inline constexpr AlertSite kMeVarAlert{kControlAlertSource, 1661, "meVar"};
inline constexpr AlertSite kPaneChildVtableAlert{kControlAlertSource, 1675, "vtable"};
inline constexpr AlertSite kNotAControlAlert{kControlAlertSource, 1680, "0"};
inline constexpr AlertSite kContainerChainAlert{kControlAlertSource, 1712, "0"};
