// The input mask check of edit fields: a function of a text and a mask with
// no state of its own. Mask characters: # a digit; 9 a digit or passed over;
// A a letter or digit; a the same or passed over; ? a letter; & and C any
// character but a control one, which passes them over; < and > turn the
// following text to lower or upper case; , . / : the thousands, decimal,
// date and time separators; \ takes the next mask character literally; ~ is
// reserved; anything else is a literal.
#pragma once
#include "foundation/String.h"

// The message of the exception that a reserved mask character raises.
inline constexpr char kReservedMaskMessage[] =
    "Invalid Mask.  The tilde character (~) is reserved for future use.";

struct MaskCheck {
  bool accepted = true;
  // The check reached a ~ in the mask (and failed there).
  bool reservedCharacter = false;
  // The longest part of the text that fits, with the case modes applied.
  string text;
  // The literal characters the mask puts after the whole text; empty when
  // the check failed.
  string suffix;
};

// Both strings are converted to UTF-8; the results are labelled UTF-8.
MaskCheck CheckInputMask(const string &text, const string &mask);
