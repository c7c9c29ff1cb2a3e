/* A debug build as the language's compiler makes one: DebugRuntimeInit
 * first, RuntimeDebuggerEntry with the line's index at the start of every
 * line, a Break, raised exceptions, and RuntimeDebuggerShutdown at the end.
 * Its data section starts with the record below, whose fields the debugger
 * peer (tests/debugger/debug_peer.py) finds from the TOC reply and the field
 * offsets, and writes into. The exit status is the record's `result`, which
 * the peer sets. With DEBUG_PEER_TCP in the environment the link is TCP to
 * 127.0.0.2; otherwise it is the local socket.
 *
 * Lines:  1 first line of ImageEntry     20, 21 Middle     10, 11 Inner
 *         2 after Middle    (Break)   3 after the Break   8 in a protected
 *         region   4 after a raise
 *         5 after the EndException   6 after the frees   7 the last line */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);
KIT_LIBRARY_FUNCTION(getenv, "libc.so.6");
char *getenv(const char *name);

void DebugRuntimeInit(void);
void RemoteDebuggerStartup(stringStorage *address);
void RuntimeDebuggerEntry(int32_t line);
void RuntimeDebuggerBreak(void);
void RuntimeDebuggerShutdown(void);
void *RuntimeNewClass(void *base, int32_t methods, int32_t interfaces, int32_t events,
                      int32_t staticMethods, int32_t properties);
void *RuntimeLookupClass(stringStorage *name);
RuntimeObject *RuntimeNewObject(void *runtimeClass);
RuntimeObject *stringToVariant(stringStorage *value);
void *CreateArray(int32_t dimensions, int32_t elementType, ...);
void RuntimeUnlockArray(void *array);

typedef struct Probe {
  int32_t magic;            /*  0: 0x44424744 */
  int32_t word;             /*  4: 0x12345678 */
  int32_t result;           /*  8: the exit status */
  int32_t byteCell;         /* 12: 0x5A */
  double real;              /* 16: 1.5 */
  stringStorage *text;      /* 24: "hello" */
  RuntimeObject *object;    /* 28: a ProbeObject */
  RuntimeObject *variant;   /* 32: the String variant "hi" */
  RuntimeObject *nothing;   /* 36: nil */
  void *array;              /* 40: Integer array (2, 3) */
  int32_t watchedObject;    /* 44: the address of an object freed at line 6 */
  int32_t watchedArray;     /* 48: the address of an array freed at line 6 */
  int32_t sameArray;        /* 52: 1 when a later array got the same address */
  int32_t freedObject;      /* 56: an object already freed (stale) */
  int32_t stepsSeen;        /* 60: the lines run, one bit each, as the program saw them */
} Probe;

Probe gProbe = {0x44424744};

/* ProbeObject: the header, then an Integer (24), a Single (28), a Double
 * (32), a String (40) and an Object (44). */
enum { kNameField = 1, kInstanceSizeField = 3 };

static void *NamedClass(stringStorage *name, int32_t instanceSize) {
  void *cls = RuntimeNewClass(0, 0, 0, 0, 0, 0);
  ((int32_t *)cls)[kInstanceSizeField] = instanceSize;
  ((stringStorage **)cls)[kNameField] = name;
  return cls;
}

void Inner(void) {
  RuntimeDebuggerEntry(10);
  gProbe.stepsSeen |= 1 << 10;
  RuntimeDebuggerEntry(11);
}

void Middle(void) {
  RuntimeDebuggerEntry(20);
  Inner();
  RuntimeDebuggerEntry(21);
}

/* Line 8 inside a protected region: an exception raised while the program
 * stands there (by a getter the debugger calls) lands in this handler. */
static void Guarded(void) {
  RuntimeObject *error = 0;
  KIT_ENTER();
  KIT_TRY(error) {
    RuntimeDebuggerEntry(8);
    gProbe.stepsSeen |= 1 << 28;
  }
  KIT_CATCH(error) { gProbe.stepsSeen |= 1 << 29; }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_END();
}

static void Raise(RuntimeObject *exception) {
  RuntimeObject *error = 0;
  KIT_ENTER();
  KIT_TRY(error) { RuntimeRaiseException(exception); }
  KIT_CATCH(error) { gProbe.stepsSeen |= 1 << 30; }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(error);
  KIT_END();
}

void ImageEntry(void) {
  RuntimeObject *exception, *watched;
  void *doomed, *later;
  char *fields;
  void *errorClass;
  DebugRuntimeInit();
  errorClass = NamedClass(KIT_STRING("ProbeError"), sizeof(RuntimeObject));
  if (getenv("DEBUG_PEER_TCP"))
    RemoteDebuggerStartup(KIT_STRING("127.0.0.2"));
  gProbe.word = 0x12345678;
  gProbe.byteCell = 0x5A;
  gProbe.real = 1.5;
  gProbe.text = RuntimeLockString(KIT_STRING("hello"));
  gProbe.object = RuntimeNewObject(NamedClass(KIT_STRING("ProbeObject"), 48));
  gProbe.variant = stringToVariant(KIT_STRING("hi"));
  gProbe.array = CreateArray(2, 0, 2, 3);
  fields = (char *)gProbe.object;
  *(int32_t *)(fields + 24) = 77;
  *(float *)(fields + 28) = 2.5f;
  *(double *)(fields + 32) = 1.5;
  *(stringStorage **)(fields + 40) = RuntimeLockString(KIT_STRING("hello"));
  RuntimeLockObject(gProbe.variant);
  *(RuntimeObject **)(fields + 44) = gProbe.variant;
  watched = RuntimeNewObject(errorClass);
  gProbe.watchedObject = (int32_t)watched;
  exception = RuntimeNewObject(errorClass); /* freed at once: a stale address */
  gProbe.freedObject = (int32_t)exception;
  RuntimeUnlockObject(exception);
  doomed = CreateArray(1, 0, 4);
  gProbe.watchedArray = (int32_t)doomed;

  RuntimeDebuggerEntry(1);
  Middle();
  RuntimeDebuggerEntry(2);
  RuntimeDebuggerBreak();
  RuntimeDebuggerEntry(3);
  Guarded();
  exception = RuntimeNewObject(errorClass);
  Raise(exception);
  RuntimeUnlockObject(exception);
  RuntimeDebuggerEntry(4);
  exception = RuntimeNewObject(RuntimeLookupClass(KIT_STRING("EndException")));
  Raise(exception);
  RuntimeUnlockObject(exception);
  RuntimeDebuggerEntry(5);
  RuntimeUnlockObject(watched);
  RuntimeUnlockArray(doomed);
  later = CreateArray(1, 0, 4);
  gProbe.sameArray = (int32_t)later == gProbe.watchedArray;
  RuntimeUnlockArray(later);
  RuntimeDebuggerEntry(6);
  RuntimeDebuggerEntry(7);
  RuntimeDebuggerShutdown();
  _exit(gProbe.result);
}
