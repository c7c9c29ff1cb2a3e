#include <cstring>
#include <iterator>
#include <string>

#include <gtk/gtk.h>

#include "desktop/ClipboardClaim.h"
#include "desktop/ClipboardClass.h"
#include "desktop/ClipboardPictureBuffer.h"
#include "desktop/ClipboardWait.h"
#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "graphics/GraphicsServices.h"
#include "language/ClassBuilding.h"
#include "language/StringReplace.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/RuntimeObject.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "windows/GTKHelper.h"

namespace {

// The PIXMAP target: GDK's predefined atom 20.
GdkAtom PixmapTarget() { return GDK_TARGET_PIXMAP; }

bool sRequestPending = false;
int32_t sRequestsMade = 0;

void ServePicture(GtkClipboard *, GtkSelectionData *data, guint, gpointer) {
  const uint8_t *buffer = ClipboardPictureBuffer();
  if (!buffer)
    return;
  ClipboardPictureHeader header;
  memcpy(&header, buffer, sizeof header);
  gtk_selection_data_set(data, PixmapTarget(), 8, buffer, header.totalSize);
}

void ClearPicture(GtkClipboard *, gpointer) { ClearClipboardPictureBuffer(); }

// Only a reply whose header tells the truth is kept: other X clients answer
// the PIXMAP target with a 4-byte pixmap id, and a lying header must not make
// anyone read past the reply.
// The reply carries the number of its request: one to a request given up
// on (below) is dropped, the reply to the newer request stands.
void PictureReplied(GtkClipboard *, GtkSelectionData *data, gpointer request) {
  if (GPOINTER_TO_INT(request) != sRequestsMade)
    return;
  sRequestPending = false;
  if (data && data->length > 0)
    AdoptClipboardPictureReply(data->data, data->length);
}

// An owner that leaves before it answers never will, and GTK+ gives up on
// the request only after half a minute: until then no picture would be asked
// for. A change of owner gives the request up, so the next one goes out.
void PictureOwnerChanged(GtkClipboard *, GdkEvent *, gpointer) { sRequestPending = false; }

void WatchOwnerForPictures(GtkClipboard *clipboard) {
  static bool watching = false;
  if (watching)
    return;
  watching = true;
  gdk_display_request_selection_notification(gdk_display_get_default(), GDK_SELECTION_CLIPBOARD);
  g_signal_connect(clipboard, "owner-change", G_CALLBACK(PictureOwnerChanged), nullptr);
}

// A text the program offers: its UTF-8 bytes and their count.
struct OfferedText {
  gchar *bytes;
  gsize length;
};

// UTF8_STRING goes out whole, to its length (GTK+'s own text offer stops at
// a zero byte); the other text targets are converted by GTK+.
void ServeText(GtkClipboard *, GtkSelectionData *data, guint, gpointer owned) {
  auto *text = static_cast<OfferedText *>(owned);
  if (data->target == gdk_atom_intern_static_string("UTF8_STRING"))
    gtk_selection_data_set(data, data->target, 8, reinterpret_cast<const guchar *>(text->bytes),
                           gint(text->length));
  else
    gtk_selection_data_set_text(data, text->bytes, gint(text->length));
}

void ClearText(GtkClipboard *, gpointer owned) {
  auto *text = static_cast<OfferedText *>(owned);
  g_free(text->bytes);
  delete text;
}

void OfferText(GtkClipboard *clipboard, const char *bytes, gsize length) {
  GtkTargetList *list = gtk_target_list_new(nullptr, 0);
  gtk_target_list_add_text_targets(list, 0);
  gint count = 0;
  GtkTargetEntry *targets = gtk_target_table_new_from_list(list, &count);
  auto *text = new OfferedText{static_cast<gchar *>(g_malloc(length + 1)), length};
  if (length)
    memcpy(text->bytes, bytes, length);
  text->bytes[length] = '\0';
  if (!ClaimClipboard([&] {
        return gtk_clipboard_set_with_data(clipboard, targets, guint(count), ServeText, ClearText,
                                           text) != FALSE;
      }))
    ClearText(clipboard, text);
  gtk_target_table_free(targets, count);
  gtk_target_list_unref(list);
}

// The text's UTF-8 form for the clipboard. A zero byte stays the character
// U+0000 (the toolkit's conversion, made for widgets, replaces it), so each
// stretch between zero bytes is converted on its own; UTF-16 text has zero
// bytes inside its characters and is converted whole.
std::string ClipboardUTF8(stringStorage *text) {
  string given = string::Borrow(text);
  const char *bytes = given.CString();
  const int length = given.Length();
  std::string out;
  int start = 0;
  for (;;) {
    const void *zero = IsUTF16Family(given.Encoding())
                           ? nullptr
                           : memchr(bytes + start, 0, size_t(length - start));
    const int end = zero ? int(static_cast<const char *>(zero) - bytes) : length;
    string stretch;
    stretch.ConstructFromBuffer(bytes + start, end - start);
    stretch.SetEncoding(given.Encoding());
    string utf8 = GTKHelper::ToUTF8(stretch);
    out.append(utf8.CString(), size_t(utf8.Length()));
    if (!zero)
      return out;
    out += '\0';
    start = end + 1;
  }
}

void *Code(auto function) { return reinterpret_cast<void *>(function); }

#define CLIPBOARD_METHOD(name, function, result, params, count)                                    \
  { name, result, params, count, {{Code(function), #function, {}}, {}}, 0, 0, 0 }

// clang-format off
ObjectInstanceTemplate ClipboardInstances[] = {
    {0, "Text", &stringType.type, Code(clipboardTextGetter), "clipboardTextGetter",
     Code(clipboardTextSetter), "clipboardTextSetter", 0, 0},
    // Its type, the Picture class, is filled in when the class is built.
    {0, "Picture", nullptr, Code(clipboardPictureGetter), "clipboardPictureGetter",
     Code(clipboardPictureSetter), "clipboardPictureSetter", 0, 0},
};

MethodParameter sTextParams[] = {{"text", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sMacTypeParams[] = {{"macType", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sMacDataParams[] = {{"data", &stringType.type, 0, {}, 0, {}, 0, {}},
                                    {"macType", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod ClipboardMethods[] = {
    CLIPBOARD_METHOD("SetText", clipboardSetText, nullptr, sTextParams, 1),
    CLIPBOARD_METHOD("Close", clipboardClose, nullptr, nullptr, 0),
    CLIPBOARD_METHOD("TextAvailable", clipboardTextAvailable, &booleanType.type, nullptr, 0),
    CLIPBOARD_METHOD("PictureAvailable", clipboardPictureAvailable, &booleanType.type, nullptr, 0),
    CLIPBOARD_METHOD("MacDataAvailable", clipboardMacDataAvailable, &booleanType.type,
                     sMacTypeParams, 1),
    CLIPBOARD_METHOD("MacData", clipboardMacData, &stringType.type, sMacTypeParams, 1),
    CLIPBOARD_METHOD("AddMacData", clipboardAddMacData, nullptr, sMacDataParams, 2),
};
// clang-format on

} // namespace

ObjectDefinition *ClipboardClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  ClipboardInstances[1].type = PictureClass()->AsType();
  DefineBuiltinClass(defn, {"Clipboard", sizeof(ClipboardObject), nullptr, clipboardClose, true},
                     ClipboardInstances, std::size(ClipboardInstances), ClipboardMethods,
                     std::size(ClipboardMethods));
  defn.consoleSafe = 0;
  return &defn;
}

void CreateClipboardClass() { addIntrinsicClass(ClipboardClass()); }

void clipboardSetText(RuntimeObject *, stringStorage *text) {
  GtkClipboard *clipboard = GTKHelper::GetClipboard();
  if (!clipboard)
    return;
  // GTK+ refuses text that is not UTF-8, so convert by the tag and repair.
  std::string utf8 = ClipboardUTF8(text);
  OfferText(clipboard, utf8.data(), utf8.size());
}

stringStorage *clipboardTextGetter(RuntimeObject *) {
  GtkClipboard *clipboard = GTKHelper::GetClipboard();
  if (!clipboard)
    return nullptr;
  // The whole text, to its length: a zero byte inside it is a character.
  gsize length = 0;
  gchar *text = WaitForClipboardText(clipboard, &length);
  if (!text)
    return nullptr;
  string result;
  result.ConstructFromBuffer(text, static_cast<int>(length));
  result.SetEncoding(kEncodingUTF8);
  g_free(text);
  return result.ExtractStringStorage();
}

void clipboardTextSetter(RuntimeObject *object, int32_t, stringStorage *text) {
  clipboardSetText(object, text);
}

int32_t clipboardTextAvailable(RuntimeObject *) {
  GtkClipboard *clipboard = GTKHelper::GetClipboard();
  return clipboard && WaitForClipboardTextTargets(clipboard) ? 1 : 0;
}

int32_t RequestClipboardPicture() {
  GtkClipboard *clipboard = GTKHelper::GetClipboard();
  if (clipboard && !sRequestPending) {
    WatchOwnerForPictures(clipboard);
    sRequestPending = true;
    ++sRequestsMade;
    gtk_clipboard_request_contents(clipboard, PixmapTarget(), PictureReplied,
                                   GINT_TO_POINTER(sRequestsMade));
  }
  return sRequestsMade;
}

bool ClipboardPictureRequestPending() { return sRequestPending; }

int32_t clipboardPictureAvailable(RuntimeObject *) {
  RequestClipboardPicture();
  return ClipboardPictureBuffer() ? 1 : 0;
}

// Offers a picture on the selection: the buffer answers every request for
// the PIXMAP target until another owner takes the selection.
bool OfferClipboardPicture(int32_t width, int32_t height, int32_t rowStride,
                           const uint8_t *rows) {
  GtkClipboard *clipboard = GTKHelper::GetClipboard();
  if (!clipboard)
    return false;
  GtkTargetEntry target = {gdk_atom_name(PixmapTarget()), 0, 0};
  const bool owned = ClaimClipboard([&] {
    return gtk_clipboard_set_with_data(clipboard, &target, 1, ServePicture, ClearPicture,
                                       nullptr) != FALSE;
  });
  g_free(target.target);
  if (!owned)
    return false;
  SetClipboardPictureBuffer(width, height, rowStride, rows);
  return true;
}

void clipboardClose(RuntimeObject *) {}

int32_t clipboardMacDataAvailable(RuntimeObject *, stringStorage *) { return 0; }

stringStorage *clipboardMacData(RuntimeObject *, stringStorage *) { return nullptr; }

void clipboardAddMacData(RuntimeObject *, stringStorage *, stringStorage *) {}

int32_t IsTextOnClipboard() {
  RuntimeObject *clipboard = CreateInstance(ClipboardClass());
  int32_t available = clipboardTextAvailable(clipboard);
  RuntimeUnlockObject(clipboard);
  return available;
}

void PutStringOnClipboard(stringStorage *text) {
  RuntimeObject *clipboard = CreateInstance(ClipboardClass());
  // A lone CR becomes CR LF; a CR LF pair stays one line end.
  string withLineFeeds = replaceAll(string::Borrow(text), string("\r"), string("\r\n"));
  string lineEnds = replaceAll(withLineFeeds, string("\r\n\n"), string("\r\n"));
  clipboardSetText(clipboard, lineEnds.Storage());
  RuntimeUnlockObject(clipboard);
}
