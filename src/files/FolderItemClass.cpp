#include "files/FolderItemClass.h"
#include "runtime/objects/ClassTables.h"

#include <cstring>
#include <iterator>

#include "files/FileStreamObjects.h"
#include "files/FileTypes.h"
#include "files/FolderItemImpUnix.h"
#include "files/VirtualVolumeObject.h"
#include "foundation/NumberText.h"
#include "foundation/TextEncodings.h"
#include "language/DateClass.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

constexpr int32_t kPropertyFlags = 5;
constexpr int32_t kAllButBit3 = -9;

// Special-folder selectors: four-character codes read big-endian.
constexpr int32_t kDesktopSelector = 0x6465736B;     // desk
constexpr int32_t kTrashSelector = 0x74727368;       // trsh
constexpr int32_t kSharedTrashSelector = 0x656D7074; // empt
constexpr int32_t kTemporarySelector = 0x74656D70;   // temp

FolderItemObject *Fields(RuntimeObject *object) {
  return reinterpret_cast<FolderItemObject *>(object);
}

// The implementation that a member forwards to; nil for a nil object.
FolderItemImp *Imp(RuntimeObject *object) { return object ? Fields(object)->mImp : nullptr; }

// The implementation a method or setter needs; its absence is a failed check.
FolderItemImp *RequiredImp(RuntimeObject *object) {
  FolderItemImp *imp = Imp(object);
  if (!imp)
    ShowAlert(kEntryImpAlert);
  return imp;
}

void ReplaceImp(RuntimeObject *object, FolderItemImp *imp) {
  delete Fields(object)->mImp;
  Fields(object)->mImp = imp;
}

stringStorage *StringResult(const string &text) { return text.ExtractStringStorage(); }
int32_t Flag(bool value) { return value ? 1 : 0; }

// What the item answers, or the empty value of that type (nil, 0) when the
// object has no item; nothing is called then.
template <typename Ask>
auto Answer(RuntimeObject *object, Ask ask) {
  FolderItemImp *imp = Imp(object);
  using Result = decltype(ask(*imp));
  return imp ? ask(*imp) : Result{};
}

RuntimeObject *Wrapped(RuntimeObject *like, FolderItemImp *imp) {
  return imp ? NewFolderItemLike(like, imp) : nullptr;
}

double TotalSecondsOf(RuntimeObject *date) { return dateTotalSecondsGetter(date, 0); }

void RaiseNilObject() { RaiseExceptionClass(NilObjectExceptionClass()); }

void FolderItemConstructor(RuntimeObject *object) {
  Fields(object)->mImp = new FolderItemImpUnix(string());
}

void FolderItemDestructor(RuntimeObject *object) { ReplaceImp(object, nullptr); }

#define PROPERTY(name, type, getter, setter, param, mask)                                          \
  {                                                                                                \
    kPropertyFlags, name, type, EntryCode(getter), #getter, EntryCode(setter), #setter, param,     \
        mask                                                                                       \
  }
#define READ_ONLY(name, type, getter, param, mask)                                                 \
  { kPropertyFlags, name, type, EntryCode(getter), #getter, nullptr, nullptr, param, mask }
#define METHOD_WITH(name, returnType, params, count, function, flags, mask)                        \
  { name, returnType, params, count, {{EntryCode(function), #function, {}}, {}}, 0, flags, mask }
#define METHOD(name, returnType, params, count, function)                                          \
  METHOD_WITH(name, returnType, params, count, function, kConsoleAvailableFlag, 0)

// clang-format off
// Rows whose types are classes get them when the class is built.
ObjectInstanceTemplate FolderItemProperties[] = {
    READ_ONLY("AbsolutePath", &stringType.type, fileAbsolutePathGetter, 0, 0),
    READ_ONLY("Count", &integerType.type, fileCountGetter, 0, 0),
    PROPERTY("Name", &stringType.type, fileNameGetter, fileNameSetter, 0, 0),
    READ_ONLY("DisplayName", &stringType.type, FileDisplayNameGetter, 0, 0),
    READ_ONLY("Length", &integerType.type, fileSizeGetter, 0, 0),
    READ_ONLY("ResourceForkLength", &integerType.type, fileRFSizeGetter, 0, kAllButBit3),
    PROPERTY("ExtensionVisible", &booleanType.type, FileExtensionVisibleGetter,
             FileExtensionVisibleSetter, 0, kAllButBit3),
    PROPERTY("Locked", &booleanType.type, fileLockedGetter, fileLockedSetter, 0, 0),
    READ_ONLY("Exists", &booleanType.type, fileExistsGetter, 0, 0),
    READ_ONLY("Alias", &booleanType.type, fileAliasGetter, 0, 0),
    PROPERTY("Visible", &booleanType.type, fileVisibleGetter, fileVisibleSetter, 0, 0),
    READ_ONLY("Directory", &booleanType.type, fileDirectoryGetter, 0, 0),
    READ_ONLY("Type", &stringType.type, fileTypeGetter, 0, 0),
    READ_ONLY("Parent", nullptr, folderParentGetter, 0, 0),
    PROPERTY("CreationDate", nullptr, folderGetCreation, folderSetCreation, 0, 0),
    PROPERTY("ModificationDate", nullptr, folderGetModified, folderSetModified, 0, 0),
    PROPERTY("MacType", &stringType.type, fileMacTypeGetter, fileMacTypeSetter, 0, kAllButBit3),
    PROPERTY("MacCreator", &stringType.type, fileMacCreatorGetter, fileMacCreatorSetter, 0,
             kAllButBit3),
    READ_ONLY("DesktopFolder", nullptr, folderFindFolder, kDesktopSelector, 0),
    READ_ONLY("TrashFolder", nullptr, folderFindFolder, kTrashSelector, 0),
    READ_ONLY("SharedTrashFolder", nullptr, folderFindFolder, kSharedTrashSelector, 0),
    READ_ONLY("TemporaryFolder", nullptr, folderFindFolder, kTemporarySelector, 0),
    READ_ONLY("VirtualVolume", nullptr, folderVirtVolGetter, 0, 0),
    READ_ONLY("IsReadable", &booleanType.type, FolderItemIsCurrentlyReadable, 0, 0),
    READ_ONLY("IsWriteable", &booleanType.type, FolderItemIsCurrentlyWriteable, 0, 0),
    PROPERTY("LastErrorCode", &integerType.type, FolderItemGetLastError, FolderItemSetLastError,
             0, 0),
    READ_ONLY("MacVRefNum", &integerType.type, fileVRefNumGetter, 0, kAllButBit3),
    READ_ONLY("MacDirID", &integerType.type, fileDirIDGetter, 0, kAllButBit3),
};
static_assert(std::size(FolderItemProperties) == 28);

MethodParameter sPathParams[] = {{"Path", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sSourceParams[] = {{"Source", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sIndexParams[] = {{"Index", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sNameParams[] = {{"Name", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sReadWriteParams[] = {{"ReadWrite", &booleanType.type, 0, {}, 1, {}, 0, {}}};
MethodParameter sTypeParams[] = {{"Type", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sFieldParams[] = {{"Field", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sActivateParams[] = {{"Activate", &booleanType.type, 0, {}, 1, {}, 1, {}}};
MethodParameter sDestinationParams[] = {{"Destination", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sPictureParams[] = {
    {"Image", nullptr, 0, {}, 0, {}, 0, {}},
    {"Format", &integerType.type, 0, {}, 1, {}, 0, {}},
};
MethodParameter sSaveInfoParams[] = {
    {"RelativeTo", nullptr, 0, {}, 0, {}, 0, {}},
    {"Mode", &integerType.type, 0, {}, 1, {}, 0, {}},
};
MethodParameter sRelativeParams[] = {{"SaveInfo", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod FolderItemMethods[] = {
    METHOD("FolderItem", nullptr, nullptr, 0, FolderItemPathCtorNoParams),
    METHOD("FolderItem", nullptr, sPathParams, 1, FolderItemPathCtor),
    METHOD("FolderItem", nullptr, sSourceParams, 1, FolderItemCopyCtor),
    METHOD("Item", nullptr, sIndexParams, 1, FolderItemItem),
    METHOD("TrueItem", nullptr, sIndexParams, 1, FolderItemTrueItem),
    METHOD("Child", nullptr, sNameParams, 1, FolderChild),
    METHOD("TrueChild", nullptr, sNameParams, 1, FolderTrueChild),
    METHOD("OpenAsTextFile", nullptr, nullptr, 0, FolderItemOpenTextFile),
    METHOD("AppendToTextFile", nullptr, nullptr, 0, FolderItemAppendTextFile),
    METHOD("CreateTextFile", nullptr, nullptr, 0, FolderItemCreateTextFile),
    METHOD("CreateVirtualVolume", nullptr, nullptr, 0, FolderItemCreateVirtualVolume),
    METHOD("OpenAsVirtualVolume", nullptr, nullptr, 0, FolderItemOpenAsVirtualVolume),
    METHOD("OpenAsBinaryFile", nullptr, sReadWriteParams, 1, FolderItemOpenBinaryFile),
    METHOD("CreateBinaryFile", nullptr, sTypeParams, 1, FolderItemCreateBinaryFile),
    METHOD_WITH("OpenResourceFork", nullptr, nullptr, 0, folderOpenResourceFork,
                kConsoleAvailableFlag, kAllButBit3),
    METHOD_WITH("CreateResourceFork", nullptr, sTypeParams, 1, folderCreateResourceFork,
                kConsoleAvailableFlag, kAllButBit3),
    METHOD("OpenAsPicture", nullptr, nullptr, 0, FolderItemOpenImage),
    METHOD("OpenAsVectorPicture", nullptr, nullptr, 0, FolderItemOpenVectorImage),
    METHOD_WITH("OpenAsSound", nullptr, nullptr, 0, FolderItemOpenSound, 0, 0),
    METHOD_WITH("OpenAsMovie", nullptr, nullptr, 0, FolderItemOpenMovie, 0, 0),
    METHOD_WITH("OpenResourceMovie", nullptr, sIndexParams, 1, FolderItemOpenResourceMovie, 0, 0),
    METHOD_WITH("OpenStyledEditField", nullptr, sFieldParams, 1, FolderItemOpenStyledEditField, 0,
                0),
    METHOD_WITH("SaveStyledEditField", nullptr, sFieldParams, 1, FolderItemSaveStyledEditField, 0,
                0),
    METHOD("Delete", nullptr, nullptr, 0, FolderItemDelete),
    METHOD("CreateAsFolder", nullptr, nullptr, 0, FolderItemCreateAsFolder),
    METHOD_WITH("Launch", nullptr, sActivateParams, 1, FolderItemLaunch, 0, 0),
    METHOD("CopyFileTo", nullptr, sDestinationParams, 1, FolderItemCopyFileTo),
    METHOD("MoveFileTo", nullptr, sDestinationParams, 1, FolderItemMoveFileTo),
    METHOD("SaveAsPicture", nullptr, sPictureParams, 2, FolderItemSaveAsPicture),
    METHOD("SaveAsJPEG", nullptr, sPictureParams, 1, FolderItemSaveAsJPEG),
    METHOD("GetSaveInfo", &stringType.type, sSaveInfoParams, 2, FolderItemGetSaveInfo),
    METHOD("GetRelative", nullptr, sRelativeParams, 1, FolderItemGetRelative),
    METHOD("_MakeFileExecutable", nullptr, nullptr, 0, FolderItemImpMakeFileExecutable),
};
static_assert(std::size(FolderItemMethods) == 33);

ObjectConstantTemplate FolderItemConstants[] = {
    {0, "DestDoesNotExistError", 1, "100"}, {0, "FileNotFound", 1, "101"},
    {0, "AccessDenied", 1, "102"},          {0, "NotEnoughMemory", 1, "103"},
    {0, "FileInUse", 1, "104"},             {0, "InvalidName", 1, "105"},
    {0, "SaveInfoDefaultMode", 1, "0"},     {0, "SaveInfoRelativeMode", 1, "1"},
    {0, "SaveInfoAbsoluteMode", 1, "2"},    {0, "SaveAsMostCompatible", 1, "0"},
    {0, "SaveAsMostComplete", 1, "1"},      {0, "SaveAsDefault", 1, "2"},
    {0, "SaveAsDefaultVector", 1, "3"},     {0, "SaveAsDefaultRaster", 1, "4"},
    {0, "SaveAsMactintoshPICT", 1, "100"},  {0, "SaveAsMactintoshRasterPICT", 1, "250"},
    {0, "SaveAsWindowsWMF", 1, "300"},      {0, "SaveAsWindowsEMF", 1, "301"},
    {0, "SaveAsWindowsBMP", 1, "350"},
};
static_assert(std::size(FolderItemConstants) == 19);
// clang-format on

// The class-typed rows: FolderItem itself, Date from the language library,
// and the classes of areas that may not be linked (stand-ins by name).
void FillClassTypes(ObjectDefinition *self) {
  PropertyType *folderItem = self->AsType();
  PropertyType *date = ForeignClassType(DateClass, "Date");
  FolderItemProperties[13].type = folderItem;
  FolderItemProperties[14].type = date;
  FolderItemProperties[15].type = date;
  for (int i = 18; i <= 21; ++i)
    FolderItemProperties[i].type = folderItem;
  FolderItemProperties[22].type = VirtVolClass()->AsType();
  sSourceParams[0].type = folderItem;
  sDestinationParams[0].type = folderItem;
  sSaveInfoParams[0].type = folderItem;
  sFieldParams[0].type = ForeignClassType(nullptr, "EditField");
  sPictureParams[0].type = ForeignClassType(nullptr, "Picture");
  struct Result {
    int method;
    ObjectDefinition *(*builder)(); // nil: a class of another area, by name
    const char *className;
  };
  static const Result results[] = {
      {3, FolderItemClass, nullptr},        {4, FolderItemClass, nullptr},
      {5, FolderItemClass, nullptr},        {6, FolderItemClass, nullptr},
      {7, TextInputStreamClass, nullptr},   {8, TextOutputStreamClass, nullptr},
      {9, TextOutputStreamClass, nullptr},  {10, VirtVolClass, nullptr},
      {11, VirtVolClass, nullptr},          {12, BinaryStreamClass, nullptr},
      {13, BinaryStreamClass, nullptr},     {14, ResourceForkClass, nullptr},
      {15, ResourceForkClass, nullptr},     {16, nullptr, "Picture"},
      {17, nullptr, "Picture"},             {18, nullptr, "Sound"},
      {19, nullptr, "Movie"},               {20, nullptr, "Movie"},
      {31, FolderItemClass, nullptr},
  };
  for (const Result &result : results)
    FolderItemMethods[result.method].returnType =
        result.builder == FolderItemClass ? folderItem
                                          : ForeignClassType(result.builder, result.className);
}

// Copies up to four bytes of the Mac Roman text over four blanks.
bool CodeOfText(stringStorage *text, uint32_t *code) {
  const string value = string::Borrow(text);
  if (value.IsEmpty())
    return false;
  *code = StringToMacType(value);
  return true;
}

} // namespace

ObjectDefinition *FolderItemClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("FolderItem");
  defn.objectSize = sizeof(FolderItemObject);
  defn.constructor = FolderItemConstructor;
  defn.destructor = FolderItemDestructor;
  defn.staticTables = 1;
  defn.newAllowed = 1;
  defn.consoleSafe = 1;
  FillClassTypes(&defn);
  defn.SetPropertyListHead(FillInstances(FolderItemProperties, std::size(FolderItemProperties)));
  defn.methods = FillMethods(FolderItemMethods, std::size(FolderItemMethods));
  FillConstants(&defn, FolderItemConstants, std::size(FolderItemConstants));
  return &defn;
}

FolderItemImp *FolderItemImpOf(RuntimeObject *object) {
  RuntimeClass *cls = LookupObjectDefinition(FolderItemClass());
  return object && RuntimeObjectIsa(object, cls) ? Fields(object)->mImp : nullptr;
}

RuntimeObject *NewFolderItemWithImp(FolderItemImp *imp) {
  RuntimeObject *object = CreateInstance(FolderItemClass());
  if (!object) {
    delete imp;
    return nullptr;
  }
  ReplaceImp(object, imp);
  return object;
}

RuntimeObject *NewFolderItemLike(RuntimeObject *like, FolderItemImp *imp) {
  RuntimeClass *cls = like ? RuntimeClassOf(like) : nullptr;
  RuntimeObject *object = cls ? RuntimeNewObject(cls) : CreateInstance(FolderItemClass());
  if (!object) {
    delete imp;
    return nullptr;
  }
  ReplaceImp(object, imp);
  return object;
}

bool SetFolderItemPath(RuntimeObject *object, const string &path, bool resolve) {
  ReplaceImp(object, nullptr);
  bool invalid = false;
  ReplaceImp(object, new FolderItemImpUnix(path, &invalid));
  if (invalid)
    return false;
  if (resolve)
    if (FolderItemImp *resolved = Fields(object)->mImp->ResolveAlias(kFollowAliases))
      ReplaceImp(object, resolved);
  return true;
}

// Path and name texts: a zero byte would cut what the system sees short, so
// that the item would name another file.
bool IsValidPathText(const string &path) {
  if (path.IsEmpty())
    return true;
  const string utf8 = path.GetUTF8String();
  const char *bytes = utf8.CString();
  for (int i = 0; i < utf8.Length(); ++i)
    if (bytes[i] == 0)
      return false;
  return true;
}

RuntimeObject *FolderItemForPath(const string &path, bool resolve) {
  if (FolderItemImp::IsSaveInfoString(path))
    return nullptr; // saved item information is not understood here
  if (!IsValidPathText(path))
    return nullptr;
  RuntimeObject *object = CreateInstance(FolderItemClass());
  if (!object)
    return nullptr;
  if (!SetFolderItemPath(object, path, resolve)) {
    RuntimeUnlockObject(object);
    return nullptr;
  }
  return object;
}

// The start-up's OpenDocument items and Application.ExecutableFile.
RuntimeObject *NewFolderItemForPath(const char *path) {
  return NewFolderItemWithImp(new FolderItemImpUnix(string(path ? path : "")));
}

RuntimeObject *NewAppFolderItem() {
  return NewFolderItemWithImp(FolderItemImpUnix::GetAppFolderItem());
}

extern "C" {

stringStorage *fileAbsolutePathGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return StringResult(i.GetAbsolutePath()); });
}

int32_t fileCountGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return i.GetChildCount(); });
}

stringStorage *fileNameGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return StringResult(i.GetName()); });
}

void fileNameSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  // A zero byte would end the name the system sees early: refused.
  if (FolderItemImp *imp = RequiredImp(object))
    if (IsValidPathText(string::Borrow(name)))
      imp->SetName(string::Borrow(name));
}

stringStorage *FileDisplayNameGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return StringResult(i.GetDisplayName()); });
}

int32_t fileSizeGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return int32_t(i.GetLength()); });
}

int32_t fileRFSizeGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return int32_t(i.GetResourceForkLength()); });
}

int32_t FileExtensionVisibleGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return Flag(i.GetExtensionVisible()); });
}

void FileExtensionVisibleSetter(RuntimeObject *object, int32_t, int32_t visible) {
  if (FolderItemImp *imp = RequiredImp(object))
    imp->SetExtensionVisible(visible != 0);
}

int32_t fileLockedGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return Flag(i.GetLocked()); });
}

void fileLockedSetter(RuntimeObject *object, int32_t, int32_t locked) {
  if (FolderItemImp *imp = RequiredImp(object))
    imp->SetLocked(locked != 0);
}

int32_t fileExistsGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return Flag(i.Exists()); });
}

int32_t fileAliasGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return Flag(i.IsAlias()); });
}

int32_t fileVisibleGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return Flag(i.GetVisible()); });
}

void fileVisibleSetter(RuntimeObject *object, int32_t, int32_t visible) {
  if (FolderItemImp *imp = Imp(object))
    imp->SetVisible(visible != 0);
}

int32_t fileDirectoryGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return Flag(i.IsDirectory()); });
}

stringStorage *fileTypeGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return StringResult(i.GetTypeString()); });
}

RuntimeObject *folderParentGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [object](FolderItemImp &i) { return Wrapped(object, i.GetParent()); });
}

RuntimeObject *folderGetCreation(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return NewDate(i.GetCreationDate()); });
}

void folderSetCreation(RuntimeObject *object, int32_t, RuntimeObject *date) {
  FolderItemImp *imp = RequiredImp(object);
  if (imp && date)
    imp->SetCreationDate(TotalSecondsOf(date));
}

RuntimeObject *folderGetModified(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return NewDate(i.GetModificationDate()); });
}

void folderSetModified(RuntimeObject *object, int32_t, RuntimeObject *date) {
  FolderItemImp *imp = RequiredImp(object);
  if (imp && date)
    imp->SetModificationDate(TotalSecondsOf(date));
}

stringStorage *fileMacTypeGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) {
    return StringResult(FourCharCodeToString(i.GetFourCharType()));
  });
}

void fileMacTypeSetter(RuntimeObject *object, int32_t, stringStorage *text) {
  uint32_t code = 0;
  FolderItemImp *imp = Imp(object);
  if (imp && CodeOfText(text, &code))
    imp->SetFourCharType(code);
}

stringStorage *fileMacCreatorGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) {
    return StringResult(FourCharCodeToString(i.GetFourCharCreator()));
  });
}

void fileMacCreatorSetter(RuntimeObject *object, int32_t, stringStorage *text) {
  uint32_t code = 0;
  FolderItemImp *imp = Imp(object);
  if (imp && CodeOfText(text, &code))
    imp->SetFourCharCreator(code);
}

RuntimeObject *folderFindFolder(RuntimeObject *object, int32_t selector) {
  return Answer(object, [object, selector](FolderItemImp &i) {
    return Wrapped(object, i.GetSpecialFolder(uint32_t(selector)));
  });
}

int32_t FolderItemIsCurrentlyReadable(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return Flag(i.IsCurrentlyReadable()); });
}

int32_t FolderItemIsCurrentlyWriteable(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return Flag(i.IsCurrentlyWriteable()); });
}

int32_t FolderItemGetLastError(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return i.mLastError; });
}

void FolderItemSetLastError(RuntimeObject *object, int32_t, int32_t code) {
  FolderItemImp *imp = Imp(object);
  if (!imp)
    return RaiseNilObject();
  imp->mLastError = code;
}

int32_t fileVRefNumGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return i.GetVRefNum(); });
}

int32_t fileDirIDGetter(RuntimeObject *object, int32_t) {
  return Answer(object, [](FolderItemImp &i) { return i.GetDirID(); });
}

void FolderItemPathCtorNoParams(RuntimeObject *object) {
  SetFolderItemPath(object, string(), true);
}

void FolderItemPathCtor(RuntimeObject *object, stringStorage *path) {
  RuntimeObject *made = FolderItemForPath(string::Borrow(path), true);
  if (!made)
    return RaiseExceptionClassWMessage(UnsupportedFormatExceptionClass(),
                                       string(kInvalidFolderItemPathMessage), 0);
  ReplaceImp(object, Fields(made)->mImp);
  Fields(made)->mImp = nullptr;
  RuntimeUnlockObject(made);
}

void FolderItemCopyCtor(RuntimeObject *object, RuntimeObject *source) {
  FolderItemImp *sourceImp = Imp(source);
  if (!sourceImp)
    return RaiseNilObject();
  ReplaceImp(object, sourceImp->Clone());
}

RuntimeObject *FolderItemItem(RuntimeObject *object, int32_t index) {
  FolderItemImp *imp = RequiredImp(object);
  return imp ? Wrapped(object, imp->GetChildByIndex(index - 1, kFollowAliases)) : nullptr;
}

RuntimeObject *FolderItemTrueItem(RuntimeObject *object, int32_t index) {
  FolderItemImp *imp = RequiredImp(object);
  return imp ? Wrapped(object, imp->GetChildByIndex(index - 1, 0)) : nullptr;
}

RuntimeObject *FolderChild(RuntimeObject *object, stringStorage *name) {
  FolderItemImp *imp = RequiredImp(object);
  if (!imp || !IsValidPathText(string::Borrow(name)))
    return nullptr;
  return Wrapped(object, imp->GetChildByName(string::Borrow(name), kFollowAliases));
}

RuntimeObject *FolderTrueChild(RuntimeObject *object, stringStorage *name) {
  FolderItemImp *imp = RequiredImp(object);
  if (!imp || !IsValidPathText(string::Borrow(name)))
    return nullptr;
  return Wrapped(object, imp->GetChildByName(string::Borrow(name), 0));
}

RuntimeObject *FolderItemOpenImage(RuntimeObject *object) {
  FolderItemImp *imp = RequiredImp(object);
  return imp ? imp->OpenAsImage(kOpenPictureRaster) : nullptr;
}

RuntimeObject *FolderItemOpenVectorImage(RuntimeObject *object) {
  FolderItemImp *imp = RequiredImp(object);
  return imp ? imp->OpenAsImage(kOpenPictureVector) : nullptr;
}

RuntimeObject *FolderItemOpenSound(RuntimeObject *object) {
  FolderItemImp *imp = RequiredImp(object);
  return imp ? imp->OpenAsSound() : nullptr;
}

RuntimeObject *FolderItemOpenMovie(RuntimeObject *object) {
  FolderItemImp *imp = RequiredImp(object);
  return imp ? imp->OpenAsMovie() : nullptr;
}

RuntimeObject *FolderItemOpenResourceMovie(RuntimeObject *object, int32_t) {
  RequiredImp(object);
  return nullptr;
}

void FolderItemOpenStyledEditField(RuntimeObject *object, RuntimeObject *field) {
  if (FolderItemImp *imp = RequiredImp(object))
    imp->OpenAsStyledEditField(field);
}

void FolderItemSaveStyledEditField(RuntimeObject *object, RuntimeObject *field) {
  if (FolderItemImp *imp = RequiredImp(object))
    imp->SaveAsStyledEditField(field);
}

void FolderItemDelete(RuntimeObject *object) {
  if (FolderItemImp *imp = RequiredImp(object))
    imp->DeleteFile();
}

void FolderItemCreateAsFolder(RuntimeObject *object) {
  if (FolderItemImp *imp = RequiredImp(object))
    imp->CreateFolder();
}

void FolderItemLaunch(RuntimeObject *object, int32_t) {
  if (FolderItemImp *imp = RequiredImp(object))
    imp->Launch(true);
}

namespace {

using Transfer = bool (FolderItemImp::*)(FolderItemImp *);

void TransferTo(RuntimeObject *object, RuntimeObject *destination, Transfer transfer) {
  FolderItemImp *imp = RequiredImp(object);
  if (!imp)
    return;
  if (!destination)
    return RaiseNilObject();
  FolderItemImp *target = Imp(destination);
  if (!target)
    return void(ShowAlert(kDestinationImpAlert));
  (imp->*transfer)(target);
}

} // namespace

void FolderItemCopyFileTo(RuntimeObject *object, RuntimeObject *destination) {
  TransferTo(object, destination, &FolderItemImp::CopyFileTo);
}

void FolderItemMoveFileTo(RuntimeObject *object, RuntimeObject *destination) {
  TransferTo(object, destination, &FolderItemImp::MoveFileTo);
}

void FolderItemSaveAsPicture(RuntimeObject *object, RuntimeObject *image, int32_t format) {
  FolderItemImp *imp = RequiredImp(object);
  if (!imp)
    return;
  if (!image)
    return RaiseNilObject();
  imp->SaveAsPicture(image, ePictureFormat(format));
}

void FolderItemSaveAsJPEG(RuntimeObject *object, RuntimeObject *image) {
  FolderItemImp *imp = RequiredImp(object);
  if (!imp)
    return;
  if (!image)
    return RaiseNilObject();
  imp->SaveAsJPEG(image);
}

stringStorage *FolderItemGetSaveInfo(RuntimeObject *object, RuntimeObject *relativeTo,
                                     int32_t mode) {
  FolderItemImp *imp = RequiredImp(object);
  return imp ? StringResult(imp->GetSaveInfo(Imp(relativeTo), eSaveInfoMode(mode))) : nullptr;
}

RuntimeObject *FolderItemGetRelative(RuntimeObject *object, stringStorage *saveInfo) {
  FolderItemImp *imp = Imp(object);
  if (!imp)
    return RaiseNilObject(), nullptr;
  FolderItemImp *found =
      FolderItemImpUnix::ConstructFromSaveInfoString(string::Borrow(saveInfo), imp);
  return found ? NewFolderItemWithImp(found) : nullptr;
}

void FolderItemImpMakeFileExecutable(RuntimeObject *object) {
  if (FolderItemImp *imp = RequiredImp(object))
    imp->MakeFileExecutable();
}

RuntimeObject *RuntimeGetFolderItem(stringStorage *path) {
  return FolderItemForPath(string::Borrow(path), true);
}

RuntimeObject *RuntimeGetTrueFolderItem(stringStorage *path) {
  return FolderItemForPath(string::Borrow(path), false);
}

FolderItemImp *FolderItemGetImp(RuntimeObject *object) { return Imp(object); }

RuntimeObject *FolderItemFromPath(const char *path) {
  RuntimeObject *object = CreateInstance(FolderItemClass());
  if (object && !SetFolderItemPath(object, string(path ? path : ""), true)) {
    RuntimeUnlockObject(object);
    return nullptr;
  }
  return object;
}

stringStorage *ZANTpathFromFolderItem(RuntimeObject *object) {
  return fileAbsolutePathGetter(object, 0);
}

int32_t ZANTPathFromFolderItem(char *buffer, RuntimeObject *object) {
  // The caller's buffer is PATH_MAX bytes: a longer path is refused rather
  // than written past its end.
  constexpr int kLongestPath = 4095;
  FolderItemImp *imp = Imp(object);
  if (!imp || !buffer)
    return 0;
  const string path = imp->GetAbsolutePath();
  if (path.Length() > kLongestPath)
    return 0;
  std::memcpy(buffer, path.CString(), size_t(path.Length()) + 1);
  return 1;
}

} // extern "C"
