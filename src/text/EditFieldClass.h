// The EditField class of the language: its class table, the "CreatePane"
// handler that makes the edit pane from the stored properties, and the
// accessors compiled code and the data control call.
#pragma once
#include <cstdint>

#include "text/RuntimeEditRouter.h"

struct ObjectDefinition;
struct ObjectHook;
struct RuntimeObject;
struct stringStorage;

ObjectDefinition *EditClass();
// The declaration that fires the event.
const ObjectHook *EditEventHook(EditEvent event);

void EditCreatePane(RuntimeObject *object);
void RuntimeEditDestructor(RuntimeObject *object);

extern "C" {
stringStorage *editTextGetter(RuntimeObject *object, int32_t param);
void editTextSetter(RuntimeObject *object, int32_t param, stringStorage *text);
void editSetString(RuntimeObject *object, stringStorage *text);
stringStorage *editTextStyleDataGetter(RuntimeObject *object, int32_t param);
int32_t editBorderGetter(RuntimeObject *object, int32_t param);
void editBorderSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editMultiLineGetter(RuntimeObject *object, int32_t param);
void editMultiLineSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editReadOnlyGetter(RuntimeObject *object, int32_t param);
void editReadOnlySetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editPasswordGetter(RuntimeObject *object, int32_t param);
void editPasswordSetter(RuntimeObject *object, int32_t param, int32_t value);
void editTextColorSetter(RuntimeObject *object, int32_t param, int32_t color);
void editBackColorSetter(RuntimeObject *object, int32_t param, int32_t color);
int32_t editScrollBarGetter(RuntimeObject *object, int32_t param);
void editScrollBarSetter(RuntimeObject *object, int32_t param, int32_t value);
stringStorage *editTextFontGetter(RuntimeObject *object, int32_t param);
void editTextFontSetter(RuntimeObject *object, int32_t param, stringStorage *name);
int32_t editTextSizeGetter(RuntimeObject *object, int32_t param);
void editTextSizeSetter(RuntimeObject *object, int32_t param, int32_t size);
int32_t editBoldGetter(RuntimeObject *object, int32_t param);
void editBoldSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editItalicGetter(RuntimeObject *object, int32_t param);
void editItalicSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editUnderlineGetter(RuntimeObject *object, int32_t param);
void editUnderlineSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelStartGetter(RuntimeObject *object, int32_t param);
void editSelStartSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelLengthGetter(RuntimeObject *object, int32_t param);
void editSelLengthSetter(RuntimeObject *object, int32_t param, int32_t value);
stringStorage *editSelTextGetter(RuntimeObject *object, int32_t param);
void editSelTextSetter(RuntimeObject *object, int32_t param, stringStorage *text);
int32_t editLimitTextGetter(RuntimeObject *object, int32_t param);
void editLimitTextSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelBoldGetter(RuntimeObject *object, int32_t param);
void editSelBoldSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelUnderlineGetter(RuntimeObject *object, int32_t param);
void editSelUnderlineSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelItalicGetter(RuntimeObject *object, int32_t param);
void editSelItalicSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelOutlineGetter(RuntimeObject *object, int32_t param);
void editSelOutlineSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelShadowGetter(RuntimeObject *object, int32_t param);
void editSelShadowSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelCondenseGetter(RuntimeObject *object, int32_t param);
void editSelCondenseSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelExtendGetter(RuntimeObject *object, int32_t param);
void editSelExtendSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t editSelPlainGetter(RuntimeObject *object, int32_t param);
void editSelPlainSetter(RuntimeObject *object, int32_t param, int32_t value);
stringStorage *editSelTextFontGetter(RuntimeObject *object, int32_t param);
void editSelTextFontSetter(RuntimeObject *object, int32_t param, stringStorage *name);
int32_t editSelTextSizeGetter(RuntimeObject *object, int32_t param);
void editSelTextSizeSetter(RuntimeObject *object, int32_t param, int32_t size);
int32_t editSelTextColorGetter(RuntimeObject *object, int32_t param);
void editSelTextColorSetter(RuntimeObject *object, int32_t param, int32_t color);
stringStorage *EditDataSourceGetter(RuntimeObject *object, int32_t param);
void EditDataSourceSetter(RuntimeObject *object, int32_t param, stringStorage *name);
void EditDataFieldSetter(RuntimeObject *object, int32_t param, stringStorage *name);
void EditAlignmentSetter(RuntimeObject *object, int32_t param, int32_t value);
int32_t EditSelAlignmentGetter(RuntimeObject *object, int32_t param);
void EditSelAlignmentSetter(RuntimeObject *object, int32_t param, int32_t value);
void EditMaskSetter(RuntimeObject *object, int32_t param, stringStorage *mask);
RuntimeObject *StyledTextObjectGetter(RuntimeObject *object, int32_t param);
void StyledTextObjectSetter(RuntimeObject *object, int32_t param, RuntimeObject *styledText);

void editToggleSelectionBold(RuntimeObject *object);
void editToggleSelectionUnderline(RuntimeObject *object);
void editToggleSelectionItalic(RuntimeObject *object);
void editToggleSelectionShadow(RuntimeObject *object);
void editToggleSelectionOutline(RuntimeObject *object);
void editToggleSelectionCondense(RuntimeObject *object);
void editToggleSelectionExtend(RuntimeObject *object);
void editSetTextAndStyle(RuntimeObject *object, stringStorage *text, stringStorage *style);
RuntimeObject *editStyleTextPrinter(RuntimeObject *object, RuntimeObject *graphics,
                                    int32_t width);
int32_t editScrollPositionGetter(RuntimeObject *object);
void editScrollPositionSetter(RuntimeObject *object, int32_t value);
int32_t EditScrollPositionXGetter(RuntimeObject *object);
void EditScrollPositionXSetter(RuntimeObject *object, int32_t value);
int32_t editLineNumAtCharPos(RuntimeObject *object, int32_t position);
int32_t editCharPosAtLineNum(RuntimeObject *object, int32_t line);
int32_t editCharPosAtXY(RuntimeObject *object, int32_t x, int32_t y);
int32_t editInsertionPosAtXY(RuntimeObject *object, int32_t x, int32_t y);
void editCopyToClipboard(RuntimeObject *object);
void editPasteFromClipboard(RuntimeObject *object);

// Data binding with a source object: follow it, reload from it, commit to it.
void editBindValue(RuntimeObject *object, RuntimeObject *source);
void editReload(RuntimeObject *object);
void editCommit(RuntimeObject *object);
}

// Where the field keeps the data source it follows (not counted).
RuntimeObject **EditBoundSourceSlot(RuntimeObject *field);
