// The entry points of the StyledText and StyleRun classes that compiled code
// calls. Each StyledText entry point passes the call on to the object's
// body; a missing object or body shows the assertion alert and answers "",
// 0, False or nil without calling anything.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

extern "C" {
int32_t StyledTextGetBold(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetBold(RuntimeObject *st, int32_t start, int32_t length, int32_t value);
int32_t StyledTextGetItalic(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetItalic(RuntimeObject *st, int32_t start, int32_t length, int32_t value);
int32_t StyledTextGetUnderline(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetUnderline(RuntimeObject *st, int32_t start, int32_t length, int32_t value);
stringStorage *StyledTextGetFont(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetFont(RuntimeObject *st, int32_t start, int32_t length, stringStorage *name);
int32_t StyledTextGetSize(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetSize(RuntimeObject *st, int32_t start, int32_t length, int32_t size);
int32_t StyledTextGetColor(RuntimeObject *st, int32_t start, int32_t length);
void StyledTextSetColor(RuntimeObject *st, int32_t start, int32_t length, int32_t color);
int32_t StyledTextRunCountGetter(RuntimeObject *st);
RuntimeObject *StyledTextRunGetter(RuntimeObject *st, int32_t index);
RuntimeObject *TextRangeGetter(RuntimeObject *st, int32_t index);
void InsertStyledTextRun(RuntimeObject *st, RuntimeObject *run, int32_t index);
void AppendStyledTextRun(RuntimeObject *st, RuntimeObject *run);
void RemoveStyledTextRun(RuntimeObject *st, int32_t index);
int32_t StyledTextParagraphCountGetter(RuntimeObject *st);
RuntimeObject *StyledTextParagraphGetter(RuntimeObject *st, int32_t index);
void StyledTextSetAlignment(RuntimeObject *st, int32_t index, int32_t style);
stringStorage *StyledTextGetter(RuntimeObject *st, int32_t param);
void StyledTextSetter(RuntimeObject *st, int32_t param, stringStorage *text);
void StyleRunQVConstructor(RuntimeObject *run, stringStorage *v);

// The StyledTextPrinter's members, which print nothing on this platform.
void styledPrinterDrawBlock(RuntimeObject *printer, int32_t x, int32_t y, int32_t height);
void styledPrinterWidthSetter(RuntimeObject *printer, int32_t param, int32_t width);
int32_t styledPrinterEOF(RuntimeObject *printer, int32_t param);
void StyledTextDestructor(RuntimeObject *printer);
}
