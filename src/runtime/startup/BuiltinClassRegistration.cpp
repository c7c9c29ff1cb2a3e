#include "runtime/startup/BuiltinClassRegistration.h"

#include "runtime/objects/ClassRegistry.h"
#include "runtime/startup/BuiltinClassBuilders.h"

uint8_t gOKtoCreateObjects = 0;

namespace {

#define CLASS(step, builder)                                                                       \
  { step, #builder, builder, nullptr }
#define REGISTRAR(step, builder)                                                                   \
  { step, #builder, nullptr, builder }

const BuiltinClassRow kApplicationClassSteps[] = {
    CLASS(1, NetworkInterfaceClass),
    CLASS(1, QTInstallStatusClass),
    CLASS(1, SystemClass),
    CLASS(2, ReadableInterface),
    CLASS(2, WriteableInterface),
    CLASS(3, ConsoleApplicationClass),
    CLASS(3, StdInputStreamClass),
    CLASS(3, StdOutputStreamClass),
    CLASS(3, ServiceApplicationClass),
    CLASS(4, RegistryItemClass),
    CLASS(5, ThreadClass),
    CLASS(5, SemaphoreClass),
    CLASS(5, CriticalSectionClass),
    CLASS(6, CollectionElementClass),
    CLASS(6, CollectionClass),
    CLASS(6, DateClass),
    REGISTRAR(7, CreateDatabaseClasses),
    REGISTRAR(8, CreateDataBindClasses),
    CLASS(9, MemoryBlockClass),
    CLASS(9, VariantClass),
    CLASS(9, DictionaryClass),
    CLASS(9, VirtVolClass),
    REGISTRAR(10, CreateTextInputStreamClass),
    REGISTRAR(10, CreateTextOutputStreamClass),
    REGISTRAR(10, CreateBinaryStreamClass),
    REGISTRAR(10, CreateResourceForkClass),
    REGISTRAR(11, InitBitwiseClass),
    CLASS(12, RandomClass),
    CLASS(12, EndOfLineClass),
    CLASS(12, KeyboardClass),
    CLASS(12, FolderItemClass),
    CLASS(12, TextEncodingClass),
    CLASS(12, TextConverterClass),
    CLASS(12, EncodingsClass),
    CLASS(12, RuntimeDebugClass),
    CLASS(12, ObjectCursorClass),
    REGISTRAR(13, CreateObject2DClasses),
    REGISTRAR(13, InitStyledTextClass),
    REGISTRAR(13, AddRuntimeExceptions),
    CLASS(14, QuitMenuItemClass),
    CLASS(14, PrefsMenuItemClass),
    CLASS(14, AppleMenuItemClass),
    REGISTRAR(15, CreateClipboardClass),
    REGISTRAR(15, InitFolderItemDialogClasses),
    CLASS(16, MDIWindowClass),
    REGISTRAR(16, InitMenuClasses),
    REGISTRAR(16, InitMessageDialogClasses),
    CLASS(17, KeyChainClass),
    CLASS(17, KeyChainItemClass),
    CLASS(17, OLEObjectClass),
    CLASS(17, OLEParameterClass),
    REGISTRAR(17, RegisterAppleEventClasses),
    CLASS(18, DockItemClass),
    CLASS(18, DragItemClass),
    CLASS(18, ScreenClass),
    CLASS(19, ApplicationClass),
};

const BuiltinClassRow kControlClassBuilders[] = {
    CLASS(0, SocketCoreClass),
    CLASS(0, TCPSocketClass),
    CLASS(0, UDPSocketClass),
    CLASS(0, DatagramClassLookup),
    CLASS(0, ServerSocketClass),
    CLASS(0, OldSocketClass),
    CLASS(0, IPCSocketClass),
    CLASS(0, ObjectClass),
    CLASS(0, TimerClass),
    REGISTRAR(0, InitPictureClass),
    CLASS(0, GraphicsClass),
    CLASS(0, RGBSurfaceClass),
    CLASS(0, SerialControlClass),
    CLASS(0, SerialPortClass),
    CLASS(0, DatabaseQueryClass),
    CLASS(0, ControlClass),
    CLASS(0, RectControlClass),
    CLASS(0, ListSelectionProviderClass),
    CLASS(0, ListColumnClass),
    CLASS(0, ListboxClass),
    CLASS(0, ListboxActionClass),
    CLASS(0, ListColumnValueProviderClass),
    CLASS(0, CanvasClass),
    CLASS(0, StaticTextClass),
    CLASS(0, ContextualMenuClass),
    CLASS(0, ScrollBarClass),
    CLASS(0, SliderClass),
    CLASS(0, WindowBaseClass),
    CLASS(0, GroupBoxClass),
    CLASS(0, LineClass),
    CLASS(0, OvalClass),
    CLASS(0, RoundRectClass),
    CLASS(0, RectangleClass),
    CLASS(0, EditClass),
    CLASS(0, PagePanelClass),
    CLASS(0, OLEContainerClass),
    CLASS(0, PopupRowTagClass),
    CLASS(0, ProgressBarClass),
    CLASS(0, PaneChildInterface),
    CLASS(0, PrinterSetupClass),
    CLASS(0, MoviePlayerClass),
    CLASS(0, MoviePlayerActionClass),
    CLASS(0, PushButtonClass),
    CLASS(0, CheckBoxClass),
    CLASS(0, RadioButtonClass),
    CLASS(0, PopupMenuClass),
    CLASS(0, ComboBoxClass),
    CLASS(0, NotePlayerClass),
    CLASS(0, MovieClass),
    CLASS(0, SoundClass),
    CLASS(0, StyledTextPrinterClass),
    CLASS(0, TabPanelClass),
    CLASS(0, MouseCursorClass),
    CLASS(0, DataControlActionClass),
    CLASS(0, DataControlClass),
};

#undef CLASS
#undef REGISTRAR

} // namespace

std::span<const BuiltinClassRow> ApplicationClassSteps() { return kApplicationClassSteps; }
std::span<const BuiltinClassRow> ControlClassBuilders() { return kControlClassBuilders; }

void RunBuiltinClassRows(std::span<const BuiltinClassRow> rows) {
  for (const BuiltinClassRow &row : rows) {
    if (row.registrar) {
      row.registrar();
    } else if (row.classBuilder) {
      if (ObjectDefinition *defn = row.classBuilder())
        addIntrinsicClass(defn);
    }
  }
}

void CreateApplicationClass() {
  RunBuiltinClassRows(ApplicationClassSteps());
  gOKtoCreateObjects = 1;
}

void CreateControlClasses() { RunBuiltinClassRows(ControlClassBuilders()); }
