/* The inert classes of other platforms as compiled code calls them, through
 * their export names: rows of entry points called on objects of the classes,
 * each with the answer it must give, or the exception (class, Message and
 * ErrorNumber) it must raise into a protected region.
 * Reports through the exit status: 42 when every row held, otherwise 128
 * plus the bits of the groups that failed:
 *   1  OLEObject members that need a server raise OLEException (also with
 *      "Visible_" and an empty member name)
 *   2  OLEObject constructors, Operator_Convert and OLEParameter fields
 *   4  RegistryItem and GetApplicationRegistryItem
 *   8  AppleEvent, the object descriptors and KeyChain
 *  16  Speak
 *  32  MDIWindow, NotePlayer, Movie, OpenURLMovie, App.DockItem and
 *      Application.MDIWindow */
#include "CompiledCode.h"
#include "class_names.h"
#include "exception_object.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void *RuntimeLookupClass(stringStorage *name);
RuntimeObject *RuntimeNewObject(void *cls);
RuntimeObject *intToVariant(int32_t value);
RuntimeObject *variantToObject(RuntimeObject *variant);

void OLEObjectProgramIDConstructor(RuntimeObject *self, stringStorage *programID);
void OLEObjectNewInstanceConstructor(RuntimeObject *self, stringStorage *programID, int32_t n);
RuntimeObject *OLEObjectInvoke(RuntimeObject *self, stringStorage *name);
void OLEObjectInvokeNoReturnValue(RuntimeObject *self, stringStorage *name);
RuntimeObject *OLEObjectInvokeWithParams(RuntimeObject *self, stringStorage *name, void *params);
void OLEObjectInvokeWithParamsNoReturnValue(RuntimeObject *self, stringStorage *name,
                                            void *params);
RuntimeObject *OLEObjectPropertyGetter(RuntimeObject *self, stringStorage *name);
void OLEObjectPropertySetter(RuntimeObject *self, stringStorage *name, RuntimeObject *value);
void OLEObjectPropertySetterWithValue(RuntimeObject *self, stringStorage *name, int32_t byValue,
                                      RuntimeObject *value);
void OLEObjectNoReturnOperatorLookup(RuntimeObject *self, stringStorage *name, void *params);
RuntimeObject *OLEObjectOperatorLookup(RuntimeObject *self, stringStorage *name, void *params);
void OLEObjectOperatorLookupSetter(RuntimeObject *self, stringStorage *name,
                                   RuntimeObject *value);
RuntimeObject *OLEObjectOperatorConvert(RuntimeObject *self);
int32_t boolGetter(RuntimeObject *object, int32_t offset);
void boolSetter(RuntimeObject *object, int32_t offset, int32_t value);
int32_t intGetter(RuntimeObject *object, int32_t offset);
void intSetter(RuntimeObject *object, int32_t offset, int32_t value);
int32_t shortGetter(RuntimeObject *object, int32_t offset);
RuntimeObject *objGetter(RuntimeObject *object, int32_t offset);
void objSetter(RuntimeObject *object, int32_t offset, RuntimeObject *value);
void RegistryItemPathCtor(RuntimeObject *self, stringStorage *path);
void RegistryItemCopyCtor(RuntimeObject *self, RuntimeObject *source);
RuntimeObject *RuntimeGetDefaultApplicationRegistryItem(void);
int32_t RegistryItemKeyCountGetter(RuntimeObject *self, int32_t);
int32_t RegistryItemFolderCountGetter(RuntimeObject *self, int32_t);
int32_t RegistryItemKeyTypeGetter(RuntimeObject *self, int32_t index);
RuntimeObject *RegistryItemAddFolder(RuntimeObject *self, stringStorage *name);
RuntimeObject *RegistryItemChild(RuntimeObject *self, stringStorage *name);
RuntimeObject *RegistryItemItem(RuntimeObject *self, int32_t index);
RuntimeObject *RegistryItemValueGetter(RuntimeObject *self, stringStorage *name);
int32_t appleEventSend(RuntimeObject *self);
stringStorage *appleEventReplyStringGetter(RuntimeObject *self, int32_t);
float appleEventReplySingleGetter(RuntimeObject *self, int32_t);
void appleEventReplyIntegerSetter(RuntimeObject *self, int32_t, int32_t value);
int32_t appleEventReplyIntegerGetter(RuntimeObject *self, int32_t);
RuntimeObject *getNamedObjectDescriptor(stringStorage *c, RuntimeObject *o, stringStorage *n);
RuntimeObject *getUniqueIDObjectDescriptor(stringStorage *c, RuntimeObject *o, int32_t id);
RuntimeObject *getIndexedObjectDescriptor(stringStorage *c, RuntimeObject *o, int32_t index);
RuntimeObject *getPropertyObjectDescriptor(RuntimeObject *o, stringStorage *p);
RuntimeObject *getOrdinalObjectDescriptor(stringStorage *c, RuntimeObject *o, stringStorage *n);
RuntimeObject *getStringComparisonObjectDescriptor(stringStorage *a, stringStorage *b,
                                                   stringStorage *c, stringStorage *d);
RuntimeObject *getTestObjectDescriptor(stringStorage *c, RuntimeObject *o, RuntimeObject *t);
RuntimeObject *getRangeObjectDescriptor(stringStorage *c, RuntimeObject *o, RuntimeObject *a,
                                        RuntimeObject *b);
stringStorage *KeyChainFindPassword(RuntimeObject *self, RuntimeObject *item);
void RuntimeSpeak(RuntimeObject *value, int32_t interrupt);
int32_t MDIWindowPosGetter(RuntimeObject *self, int32_t which);
void MDIWindowPosSetter(RuntimeObject *self, int32_t which, int32_t value);
int32_t MDIWindowVisibleGetter(RuntimeObject *self, int32_t);
void notePlayerInstrumentSetter(RuntimeObject *self, int32_t, int32_t value);
void notePlayerPlayNote(RuntimeObject *self, int32_t pitch, int32_t velocity);
int32_t movieWidthGetter(RuntimeObject *self, int32_t);
RuntimeObject *openURLMovie(stringStorage *url);
RuntimeObject *AppDockItemGetter(RuntimeObject *app, int32_t);

/* What the rows work on. */
static RuntimeObject *gOLE, *gRegistry, *gEvent, *gChain, *gMDI, *gNotes, *gMovie, *gApp;

static RuntimeObject *New(stringStorage *className) {
  return RuntimeNewObject(RuntimeLookupClass(className));
}

static int32_t TextIs(stringStorage *s, const char *text) {
  int32_t i = 0;
  if (!s)
    return !text[0];
  for (; text[i]; ++i)
    if (i >= s->length || s->buffer[1 + i] != (unsigned char)text[i])
      return 0;
  return i == s->length;
}

static void Invoke(void) { RuntimeUnlockObject(OLEObjectInvoke(gOLE, KIT_STRING("Quit"))); }
static void InvokeNoResult(void) { OLEObjectInvokeNoReturnValue(gOLE, KIT_STRING("Quit")); }
static void InvokeParams(void) {
  RuntimeUnlockObject(OLEObjectInvokeWithParams(gOLE, KIT_STRING("Open"), 0));
}
static void InvokeParamsNoResult(void) {
  OLEObjectInvokeWithParamsNoReturnValue(gOLE, KIT_STRING("Open"), 0);
}
static void PropertyGet(void) {
  RuntimeUnlockObject(OLEObjectPropertyGetter(gOLE, KIT_STRING("Visible")));
}
static void PropertySet(void) { OLEObjectPropertySetter(gOLE, KIT_STRING("Visible"), 0); }
static void PropertySetByValue(void) {
  OLEObjectPropertySetterWithValue(gOLE, KIT_STRING("Visible"), 1, 0);
}
static void Lookup(void) {
  RuntimeUnlockObject(OLEObjectOperatorLookup(gOLE, KIT_STRING("Visible_"), 0));
}
static void LookupNoResult(void) {
  OLEObjectNoReturnOperatorLookup(gOLE, KIT_STRING("Visible_"), 0);
}
static void LookupSet(void) { OLEObjectOperatorLookupSetter(gOLE, KIT_STRING("Visible_"), 0); }
static void LookupEmpty(void) { RuntimeUnlockObject(OLEObjectOperatorLookup(gOLE, 0, 0)); }
static void RegistryByPath(void) { RegistryItemPathCtor(gRegistry, KIT_STRING("HKEY_LOCAL_MACHINE")); }
static void RegistryBySource(void) { RegistryItemCopyCtor(gRegistry, gRegistry); }
static void ApplicationRegistry(void) {
  RuntimeUnlockObject(RuntimeGetDefaultApplicationRegistryItem());
}
static void SpeakObject(void) { RuntimeSpeak(gChain, 0); }

/* The calls that must raise, by row: 0 to 10 OLEException "No automation
 * server present" (1), 11 to 13 RegistryAccessErrorException, 14
 * TypeMismatchException. */
enum { kOLERows = 11, kRegistryRows = 3, kRaiseRows = 15 };

static void CallRaiseRow(int32_t row) {
  switch (row) {
  case 0: Invoke(); break;
  case 1: InvokeNoResult(); break;
  case 2: InvokeParams(); break;
  case 3: InvokeParamsNoResult(); break;
  case 4: PropertyGet(); break;
  case 5: PropertySet(); break;
  case 6: PropertySetByValue(); break;
  case 7: Lookup(); break;
  case 8: LookupNoResult(); break;
  case 9: LookupSet(); break;
  case 10: LookupEmpty(); break;
  case 11: RegistryByPath(); break;
  case 12: RegistryBySource(); break;
  case 13: ApplicationRegistry(); break;
  default: SpeakObject(); break;
  }
}

static int32_t Constructors(void) {
  OLEObjectProgramIDConstructor(gOLE, KIT_STRING("Word.Application"));
  OLEObjectNewInstanceConstructor(gOLE, KIT_STRING("Word.Application"), 1);
  return 1;
}
static int32_t ConvertGivesTheObject(void) {
  RuntimeObject *v = OLEObjectOperatorConvert(gOLE);
  RuntimeObject *inside = variantToObject(v);
  int32_t ok = inside == gOLE;
  RuntimeUnlockObject(inside);
  RuntimeUnlockObject(v);
  return ok;
}
static int32_t ParameterFieldsRoundTrip(void) {
  RuntimeObject *p = New(KIT_STRING("OLEParameter"));
  RuntimeObject *value = intToVariant(3), *back;
  int32_t ok;
  boolSetter(p, 24, 1);
  intSetter(p, 28, 2);
  intSetter(p, 32, 8);
  objSetter(p, 36, value);
  back = objGetter(p, 36);
  ok = boolGetter(p, 24) == 1 && intGetter(p, 28) == 2 && intGetter(p, 32) == 8 && back == value;
  RuntimeUnlockObject(back);
  RuntimeUnlockObject(value);
  RuntimeUnlockObject(p);
  return ok;
}
static int32_t RegistryCounts(void) {
  return RegistryItemKeyCountGetter(gRegistry, 0) == -1 &&
         RegistryItemFolderCountGetter(gRegistry, 0) == -1 &&
         RegistryItemKeyTypeGetter(gRegistry, 0) == -1;
}
static int32_t RegistryNils(void) {
  return !RegistryItemAddFolder(gRegistry, KIT_STRING("x")) &&
         !RegistryItemChild(gRegistry, KIT_STRING("x")) && !RegistryItemItem(gRegistry, 0) &&
         !RegistryItemValueGetter(gRegistry, KIT_STRING("x"));
}
static int32_t AppleEventAnswers(void) {
  appleEventReplyIntegerSetter(gEvent, 0, 9);
  intSetter(gEvent, 48, 600);
  return appleEventSend(gEvent) == 0 && !appleEventReplyStringGetter(gEvent, 0) &&
         appleEventReplySingleGetter(gEvent, 0) == 0.0f &&
         appleEventReplyIntegerGetter(gEvent, 0) == 0 && intGetter(gEvent, 48) == 600;
}
static int32_t DescriptorsAreNil(void) {
  stringStorage *s = KIT_STRING("cwin");
  return !getNamedObjectDescriptor(s, 0, s) && !getUniqueIDObjectDescriptor(s, 0, 1) &&
         !getIndexedObjectDescriptor(s, 0, 1) && !getPropertyObjectDescriptor(0, s) &&
         !getOrdinalObjectDescriptor(s, 0, s) &&
         !getStringComparisonObjectDescriptor(s, s, s, s) && !getTestObjectDescriptor(s, 0, 0) &&
         !getRangeObjectDescriptor(s, 0, 0, 0);
}
static int32_t KeyChainAnswers(void) {
  return !KeyChainFindPassword(gChain, 0) && intGetter(gChain, 24) == 0;
}
static int32_t SpeakReturns(void) {
  RuntimeObject *five = intToVariant(5);
  RuntimeSpeak(five, 0);
  RuntimeUnlockObject(five);
  return 1;
}
static int32_t MDIWindowAnswers(void) {
  int32_t fresh = MDIWindowPosGetter(gMDI, 0) == 0 && MDIWindowPosGetter(gMDI, 1) == 0 &&
                  MDIWindowPosGetter(gMDI, 2) == 0 && MDIWindowPosGetter(gMDI, 3) == 0 &&
                  shortGetter(gMDI, 40) == 64 && shortGetter(gMDI, 44) == 32000 &&
                  MDIWindowVisibleGetter(gMDI, 0) == 1;
  MDIWindowPosSetter(gMDI, 2, 100);
  MDIWindowPosSetter(gMDI, 0, 10);
  return fresh && MDIWindowPosGetter(gMDI, 0) == 10 && MDIWindowPosGetter(gMDI, 2) == 100;
}
static int32_t NotesMoviesAndDock(void) {
  notePlayerInstrumentSetter(gNotes, 0, 41);
  notePlayerPlayNote(gNotes, 60, 100);
  return intGetter(gNotes, 104) == 41 && movieWidthGetter(gMovie, 0) == 0 &&
         !openURLMovie(KIT_STRING("http://example.com/a.mov")) && !AppDockItemGetter(gApp, 0);
}
static int32_t ApplicationHasAnMDIWindow(void) {
  RuntimeObject *mdi = objGetter(gApp, 28);
  int32_t ok = mdi && ClassNameIs(mdi, "MDIWindow");
  RuntimeUnlockObject(mdi);
  return ok;
}

/* Runs the row's call in a protected region: true when it raised that
 * exception with that Message and ErrorNumber. */
static int32_t Raises(int32_t row, const char *exceptionClass, const char *message,
                      int32_t number) {
  int32_t caught = 0;
  RuntimeObject *error = 0;
  KIT_ENTER();
  KIT_TRY(error) { CallRaiseRow(row); }
  KIT_CATCH(error) {
    RuntimeExceptionObject *e = (RuntimeExceptionObject *)error;
    caught = ClassNameIs(error, exceptionClass) && TextIs(e->message, message) &&
             e->errorNumber == number;
  }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_END();
  return caught;
}

void ImageEntry(void) {
  int32_t failed = 0, row;
  gOLE = New(KIT_STRING("OLEObject"));
  gRegistry = New(KIT_STRING("RegistryItem"));
  gEvent = New(KIT_STRING("AppleEvent"));
  gChain = New(KIT_STRING("KeyChain"));
  gMDI = New(KIT_STRING("MDIWindow"));
  gNotes = New(KIT_STRING("NotePlayer"));
  gMovie = New(KIT_STRING("Movie"));
  gApp = New(KIT_STRING("Application"));
  for (row = 0; row < kRaiseRows; ++row) {
    const int32_t ole = row < kOLERows, registry = !ole && row < kOLERows + kRegistryRows;
    if (!Raises(row, ole ? "OLEException" : registry ? "RegistryAccessErrorException"
                                                      : "typeMismatchException",
                ole ? "No automation server present" : "", ole))
      failed |= KitFailedCheck(ole ? 1 : registry ? 4 : 16, "a call raises its exception");
  }
  if (!Constructors() || !ConvertGivesTheObject() || !ParameterFieldsRoundTrip())
    failed |= KitFailedCheck(2, "constructors, Operator_Convert and OLEParameter fields");
  if (!RegistryCounts() || !RegistryNils())
    failed |= KitFailedCheck(4, "registry counts -1 and nil items");
  if (!AppleEventAnswers() || !DescriptorsAreNil() || !KeyChainAnswers())
    failed |= KitFailedCheck(8, "Apple events, descriptors and the key chain");
  if (!SpeakReturns())
    failed |= KitFailedCheck(16, "Speak(5) returns");
  if (!MDIWindowAnswers() || !NotesMoviesAndDock() || !ApplicationHasAnMDIWindow())
    failed |= KitFailedCheck(32, "MDIWindow, NotePlayer, Movie, dock and the application");
  _exit(failed ? 128 | failed : 42);
}
