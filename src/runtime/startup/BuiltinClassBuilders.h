// Every builder that start-up calls to register the built-in language
// classes, in the two fixed orders of BuiltinClassRegistration.h. Each row
// names its step, where its builder comes from and what it does:
//   RUNTIME  defined in the runtime and called directly;
//   AREA     defined by an area above the runtime, which fills its member of
//            BuiltinClassHooks at start-up (a test checks that every member
//            is filled in the linked program);
//   PENDING  not built yet: its place in the order registers nothing (listed
//            in src/PENDING.md). The area that builds it turns the row into
//            an AREA row and fills the member.
//   CLASS      returns one definition (built on its first call), which the
//              registration passes to addIntrinsicClass; nil registers nothing;
//   REGISTRAR  registers its own classes.
#pragma once

struct ObjectDefinition;

// CreateApplicationClass, in the order of its 19 steps.
#define APPLICATION_CLASS_STEPS(ROW) \
  ROW(1, AREA, CLASS, NetworkInterfaceClass) \
  ROW(1, AREA, CLASS, QTInstallStatusClass) \
  ROW(1, AREA, CLASS, SystemClass) \
  ROW(2, RUNTIME, CLASS, ReadableInterface) \
  ROW(2, RUNTIME, CLASS, WriteableInterface) \
  ROW(3, AREA, CLASS, ConsoleApplicationClass) \
  ROW(3, AREA, CLASS, StdInputStreamClass) \
  ROW(3, AREA, CLASS, StdOutputStreamClass) \
  ROW(3, AREA, CLASS, ServiceApplicationClass) \
  ROW(4, AREA, CLASS, RegistryItemClass) \
  ROW(5, RUNTIME, CLASS, ThreadClass) \
  ROW(5, RUNTIME, CLASS, SemaphoreClass) \
  ROW(5, RUNTIME, CLASS, CriticalSectionClass) \
  ROW(6, AREA, CLASS, CollectionElementClass) \
  ROW(6, AREA, CLASS, CollectionClass) \
  ROW(6, AREA, CLASS, DateClass) \
  ROW(7, AREA, REGISTRAR, CreateDatabaseClasses) \
  ROW(8, AREA, REGISTRAR, CreateDataBindClasses) \
  ROW(9, AREA, CLASS, MemoryBlockClass) \
  ROW(9, AREA, CLASS, VariantClass) \
  ROW(9, AREA, CLASS, DictionaryClass) \
  ROW(9, AREA, CLASS, VirtVolClass) \
  ROW(10, AREA, REGISTRAR, CreateTextInputStreamClass) \
  ROW(10, AREA, REGISTRAR, CreateTextOutputStreamClass) \
  ROW(10, AREA, REGISTRAR, CreateBinaryStreamClass) \
  ROW(10, AREA, REGISTRAR, CreateResourceForkClass) \
  ROW(11, AREA, REGISTRAR, InitBitwiseClass) \
  ROW(12, AREA, CLASS, RandomClass) \
  ROW(12, AREA, CLASS, EndOfLineClass) \
  ROW(12, AREA, CLASS, KeyboardClass) \
  ROW(12, AREA, CLASS, FolderItemClass) \
  ROW(12, AREA, CLASS, TextEncodingClass) \
  ROW(12, AREA, CLASS, TextConverterClass) \
  ROW(12, AREA, CLASS, EncodingsClass) \
  ROW(12, RUNTIME, CLASS, RuntimeDebugClass) \
  ROW(12, RUNTIME, CLASS, ObjectCursorClass) \
  ROW(13, AREA, REGISTRAR, CreateObject2DClasses) \
  ROW(13, AREA, REGISTRAR, InitStyledTextClass) \
  ROW(13, RUNTIME, REGISTRAR, AddRuntimeExceptions) \
  ROW(14, AREA, CLASS, QuitMenuItemClass) \
  ROW(14, AREA, CLASS, PrefsMenuItemClass) \
  ROW(14, AREA, CLASS, AppleMenuItemClass) \
  ROW(15, AREA, REGISTRAR, CreateClipboardClass) \
  ROW(15, AREA, REGISTRAR, InitFolderItemDialogClasses) \
  ROW(16, AREA, CLASS, MDIWindowClass) \
  ROW(16, AREA, REGISTRAR, InitMenuClasses) \
  ROW(16, AREA, REGISTRAR, InitMessageDialogClasses) \
  ROW(17, AREA, CLASS, KeyChainClass) \
  ROW(17, AREA, CLASS, KeyChainItemClass) \
  ROW(17, AREA, CLASS, OLEObjectClass) \
  ROW(17, AREA, CLASS, OLEParameterClass) \
  ROW(17, AREA, REGISTRAR, RegisterAppleEventClasses) \
  ROW(18, AREA, CLASS, DockItemClass) \
  ROW(18, AREA, CLASS, DragItemClass) \
  ROW(18, AREA, CLASS, ScreenClass) \
  ROW(19, RUNTIME, CLASS, ApplicationClass)

// CreateControlClasses, in its order of 55.
#define CONTROL_CLASS_BUILDERS(ROW) \
  ROW(0, AREA, CLASS, SocketCoreClass) \
  ROW(0, AREA, CLASS, TCPSocketClass) \
  ROW(0, AREA, CLASS, UDPSocketClass) \
  ROW(0, AREA, CLASS, DatagramClassLookup) \
  ROW(0, AREA, CLASS, ServerSocketClass) \
  ROW(0, AREA, CLASS, OldSocketClass) \
  ROW(0, AREA, CLASS, IPCSocketClass) \
  ROW(0, AREA, CLASS, ObjectClass) \
  ROW(0, RUNTIME, CLASS, TimerClass) \
  ROW(0, AREA, REGISTRAR, InitPictureClass) \
  ROW(0, AREA, CLASS, GraphicsClass) \
  ROW(0, AREA, CLASS, RGBSurfaceClass) \
  ROW(0, AREA, CLASS, SerialControlClass) \
  ROW(0, AREA, CLASS, SerialPortClass) \
  ROW(0, AREA, CLASS, DatabaseQueryClass) \
  ROW(0, AREA, CLASS, ControlClass) \
  ROW(0, AREA, CLASS, RectControlClass) \
  ROW(0, AREA, CLASS, ListSelectionProviderClass) \
  ROW(0, AREA, CLASS, ListColumnClass) \
  ROW(0, AREA, CLASS, ListboxClass) \
  ROW(0, AREA, CLASS, ListboxActionClass) \
  ROW(0, AREA, CLASS, ListColumnValueProviderClass) \
  ROW(0, AREA, CLASS, CanvasClass) \
  ROW(0, AREA, CLASS, StaticTextClass) \
  ROW(0, AREA, CLASS, ContextualMenuClass) \
  ROW(0, AREA, CLASS, ScrollBarClass) \
  ROW(0, AREA, CLASS, SliderClass) \
  ROW(0, AREA, CLASS, WindowBaseClass) \
  ROW(0, AREA, CLASS, GroupBoxClass) \
  ROW(0, AREA, CLASS, LineClass) \
  ROW(0, AREA, CLASS, OvalClass) \
  ROW(0, AREA, CLASS, RoundRectClass) \
  ROW(0, AREA, CLASS, RectangleClass) \
  ROW(0, AREA, CLASS, EditClass) \
  ROW(0, AREA, CLASS, PagePanelClass) \
  ROW(0, AREA, CLASS, OLEContainerClass) \
  ROW(0, AREA, CLASS, PopupRowTagClass) \
  ROW(0, AREA, CLASS, ProgressBarClass) \
  ROW(0, AREA, CLASS, PaneChildInterface) \
  ROW(0, AREA, CLASS, PrinterSetupClass) \
  ROW(0, AREA, CLASS, MoviePlayerClass) \
  ROW(0, AREA, CLASS, MoviePlayerActionClass) \
  ROW(0, AREA, CLASS, PushButtonClass) \
  ROW(0, AREA, CLASS, CheckBoxClass) \
  ROW(0, AREA, CLASS, RadioButtonClass) \
  ROW(0, AREA, CLASS, PopupMenuClass) \
  ROW(0, AREA, CLASS, ComboBoxClass) \
  ROW(0, AREA, CLASS, NotePlayerClass) \
  ROW(0, AREA, CLASS, MovieClass) \
  ROW(0, AREA, CLASS, SoundClass) \
  ROW(0, AREA, CLASS, StyledTextPrinterClass) \
  ROW(0, AREA, CLASS, TabPanelClass) \
  ROW(0, AREA, CLASS, MouseCursorClass) \
  ROW(0, AREA, CLASS, DataControlActionClass) \
  ROW(0, AREA, CLASS, DataControlClass)

#define BUILTIN_BUILDER_TYPE_CLASS(name) ObjectDefinition *(*name)()
#define BUILTIN_BUILDER_TYPE_REGISTRAR(name) void (*name)()

// The runtime's own builders.
#define BUILTIN_RUNTIME_DECLARATION_CLASS(name) ObjectDefinition *name();
#define BUILTIN_RUNTIME_DECLARATION_REGISTRAR(name) void name();
#define BUILTIN_DECLARATION_RUNTIME(shape, name) BUILTIN_RUNTIME_DECLARATION_##shape(name)
#define BUILTIN_DECLARATION_AREA(shape, name)
#define BUILTIN_DECLARATION_PENDING(shape, name)
#define BUILTIN_DECLARATION(step, kind, shape, name) BUILTIN_DECLARATION_##kind(shape, name)
APPLICATION_CLASS_STEPS(BUILTIN_DECLARATION)
CONTROL_CLASS_BUILDERS(BUILTIN_DECLARATION)
#undef BUILTIN_DECLARATION

// The builders of the areas above the runtime, one member each.
#define BUILTIN_MEMBER_RUNTIME(shape, name)
#define BUILTIN_MEMBER_AREA(shape, name) BUILTIN_BUILDER_TYPE_##shape(name);
#define BUILTIN_MEMBER_PENDING(shape, name)
#define BUILTIN_MEMBER(step, kind, shape, name) BUILTIN_MEMBER_##kind(shape, name)
struct BuiltinClassHooks {
  APPLICATION_CLASS_STEPS(BUILTIN_MEMBER)
  CONTROL_CLASS_BUILDERS(BUILTIN_MEMBER)
};
#undef BUILTIN_MEMBER

// Filled by each area at start-up, before anything is registered.
BuiltinClassHooks &BuiltinClassHooksToFill();
const BuiltinClassHooks &GetBuiltinClassHooks();

// The definition a builder returns, or nil when there is none yet.
inline ObjectDefinition *BuiltinClassOrNil(ObjectDefinition *(*builder)()) {
  return builder ? builder() : nullptr;
}
