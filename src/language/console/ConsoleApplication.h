// The classes of console programs: ConsoleApplication, ServiceApplication and
// the standard streams, with the global functions Print, Input, stdin, stdout
// and stderr. The classes exist so that console programs link and run; their
// input and output are inert on this platform: output is dropped, input reads
// as empty, and the streams report neither end of file nor errors.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/String.h"
#include "runtime/application/ConsoleApplicationObject.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct TextEncodingObject;

inline constexpr AlertSite kNilServiceObjectAlert{"../Common/ConsoleApplication", 0, "obj"};

struct ConsoleApplicationObject {
  RuntimeObject header;
  int32_t reserved; // 0
};
static_assert(sizeof(ConsoleApplicationObject) == 28);

constexpr int32_t kServiceApplicationInstanceSize = 88;

struct StandardInputStreamObject {
  RuntimeObject header;
  int32_t reserved;
};
static_assert(sizeof(StandardInputStreamObject) == 28);

struct StandardOutputStreamObject {
  RuntimeObject header;
  // Set: WriteLine prints to the console; clear (every new stream): to the
  // error output with an end of line appended.
  uint8_t toConsole;
  uint8_t reserved[3];
};
static_assert(sizeof(StandardOutputStreamObject) == 28);
static_assert(offsetof(StandardOutputStreamObject, toConsole) == 24);

ObjectDefinition *ConsoleApplicationClass();
ObjectDefinition *ServiceApplicationClass();
ObjectDefinition *StdInputStreamClass();
ObjectDefinition *StdOutputStreamClass();

// Fire the service events on an object (nothing in the system calls them on
// this platform); a nil object shows the alert.
void FireServicePause(RuntimeObject *app);
void FireServiceContinue(RuntimeObject *app);

extern "C" {
void RuntimeConsolePrint(stringStorage *message);
void RuntimeConsolePrintError(stringStorage *message);
stringStorage *RuntimeConsoleInput();
stringStorage *RuntimeConsoleInputAmount(int32_t count);
RuntimeObject *RuntimeGetStdIn();
RuntimeObject *RuntimeGetStdOut();
RuntimeObject *RuntimeGetStdErr();
stringStorage *RuntimeStdInputReadLine(RuntimeObject *stream);
stringStorage *RuntimeStdInputRead(RuntimeObject *stream, int32_t count,
                                   TextEncodingObject *encoding);
int32_t RuntimeStdInputEof(RuntimeObject *stream);
int32_t RuntimeStdInputError(RuntimeObject *stream);
void RuntimeStdOutputStreamWriteLine(RuntimeObject *stream, stringStorage *message);
void RuntimeStdOutputStreamWrite(RuntimeObject *stream, stringStorage *message);
void RuntimeStdOutFlush(RuntimeObject *stream);
int32_t RuntimeStdOutputError(RuntimeObject *stream);
RuntimeObject *ServiceApplicationInitializer(RuntimeObject *app);
void ServiceApplicationQuit(RuntimeObject *app, int32_t ignored);
}
