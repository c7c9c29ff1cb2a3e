// What a DataControl does with one control bound to it, by the control's
// kind: the column it names, showing a column's value, blanking, telling a
// change, and the text written back or inserted. A ListBox (kind 2) is
// registered but not filled: its class does not yet exist in this area.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct RuntimeObject;

// The name in the control's DataField (empty for none or an unknown kind).
std::string BoundDataField(RuntimeObject *control, int32_t kind);

// Shows the column's text (nullopt: the record set has no such column);
// blocked makes an edit field read-only and disables lists and check boxes.
void BoundShow(RuntimeObject *control, int32_t kind, const std::optional<std::string> &column,
               bool blocked);

// Empty text and caption, no selection, an unchecked box.
void BoundBlank(RuntimeObject *control, int32_t kind);

// The text to write into the column when the control differs from it, or
// nullopt when it does not (a text compared with case; a check box against
// "true" and "false" without regard to case).
std::optional<std::string> BoundChange(RuntimeObject *control, int32_t kind,
                                       const std::string &column);

// The control's value as a new record's column: its text or caption, a
// list's selected text, or "true"/"false" for a check box.
std::string BoundRecordText(RuntimeObject *control, int32_t kind);
