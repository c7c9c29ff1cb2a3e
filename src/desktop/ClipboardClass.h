// The Clipboard class of the language: text and pictures on the desktop's
// CLIPBOARD selection. Instances hold no state; they all work on the one
// selection and the one picture buffer of the process.
#pragma once
#include <cstdint>

#include "runtime/objects/RuntimeObject.h"

struct ObjectDefinition;
struct stringStorage;
class string;

struct ClipboardObject {
  RuntimeObject header;
  int32_t reserved;
};
static_assert(sizeof(ClipboardObject) == 28);

ObjectDefinition *ClipboardClass();
void CreateClipboardClass();

extern "C" {
void clipboardSetText(RuntimeObject *object, stringStorage *text);
stringStorage *clipboardTextGetter(RuntimeObject *object);
void clipboardTextSetter(RuntimeObject *object, int32_t index, stringStorage *text);
int32_t clipboardTextAvailable(RuntimeObject *object);
int32_t clipboardPictureAvailable(RuntimeObject *object);
// A new Picture of the picture buffer (asking the owner for a newer one on
// the way), or nil without one.
RuntimeObject *clipboardPictureGetter(RuntimeObject *object, int32_t index);
// Offers the picture's pixels; nil or a picture without an image changes
// nothing, not even the selection's owner.
void clipboardPictureSetter(RuntimeObject *object, int32_t index, RuntimeObject *picture);
void clipboardClose(RuntimeObject *object);
int32_t clipboardMacDataAvailable(RuntimeObject *object, stringStorage *macType);
stringStorage *clipboardMacData(RuntimeObject *object, stringStorage *macType);
void clipboardAddMacData(RuntimeObject *object, stringStorage *data, stringStorage *macType);
int32_t IsTextOnClipboard();
void PutStringOnClipboard(stringStorage *text);
}

// Asks the selection's owner for its picture without waiting; the answer
// fills the picture buffer when it arrives. While one request is on its way
// no other is made. Answers how many requests were made in all.
int32_t RequestClipboardPicture();
bool ClipboardPictureRequestPending();
// Takes the selection for a picture of RGB rows and makes it the picture
// buffer; false when GTK+ refuses the selection (the buffer stays).
bool OfferClipboardPicture(int32_t width, int32_t height, int32_t rowStride, const uint8_t *rows);
