#include "files/FolderItemImpUnix.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "files/ApplicationPaths.h"
#include "foundation/DataFile.h"
#include "foundation/DateImp.h"
#include "foundation/ProcessSpawnPosix.h"
#include "foundation/TextEncodings.h"

namespace {

constexpr size_t kLinkBufferSize = 1024;

std::string Bytes(const string &s) { return std::string(s.CString(), size_t(s.Length())); }

string ASCIIText(const std::string &text) {
  string s;
  s.ConstructFromBuffer(text.data(), int(text.size()));
  s.SetEncoding(kEncodingASCII);
  return s;
}

// The last component: one trailing "/" skipped, then back to the previous "/".
std::string NameOfPath(const std::string &path) {
  size_t end = path.size();
  if (end > 0 && path[end - 1] == '/')
    --end;
  const size_t slash = path.rfind('/', end == 0 ? 0 : end - 1);
  const size_t begin = slash == std::string::npos ? 0 : slash + 1;
  return begin < end ? path.substr(begin, end - begin) : std::string();
}

bool StatPath(const std::string &path, struct stat &info) { return stat(path.c_str(), &info) == 0; }

// Runs a program found on the search path with the arguments, waiting for it;
// true exactly when it exited with status 0.
bool RunToSuccess(const char *program, std::vector<const char *> arguments) {
  const std::string found = FindExecutableOnPath(program);
  if (found.empty())
    return false;
  arguments.insert(arguments.begin(), found.c_str());
  arguments.push_back(nullptr);
  return SpawnAndWait(arguments.data()) == 0;
}

// Broken-down local time and the Date value (seconds since 1904-01-01 local).
double DateValueOfFields(const struct tm &fields) {
  std::unique_ptr<DateImp> date(DateImp::New());
  date->SetLongField(DateImp::kYear, fields.tm_year + 1900);
  date->SetLongField(DateImp::kMonth, fields.tm_mon + 1);
  date->SetLongField(DateImp::kDay, fields.tm_mday);
  date->SetLongField(DateImp::kHour, fields.tm_hour);
  date->SetLongField(DateImp::kMinute, fields.tm_min);
  date->SetLongField(DateImp::kSecond, fields.tm_sec);
  return date->GetTotalSeconds();
}

} // namespace

double DateValueOfPosixTime(int64_t seconds) {
  const time_t t = time_t(seconds);
  struct tm fields {};
  if (!localtime_r(&t, &fields))
    return 0.0;
  return DateValueOfFields(fields);
}

int64_t PosixTimeOfDateValue(double date) {
  std::unique_ptr<DateImp> value(DateImp::New());
  value->SetTotalSeconds(std::trunc(date));
  struct tm fields {};
  fields.tm_year = int(value->GetLongField(DateImp::kYear)) - 1900;
  fields.tm_mon = int(value->GetLongField(DateImp::kMonth)) - 1;
  fields.tm_mday = int(value->GetLongField(DateImp::kDay));
  fields.tm_hour = int(value->GetLongField(DateImp::kHour));
  fields.tm_min = int(value->GetLongField(DateImp::kMinute));
  fields.tm_sec = int(value->GetLongField(DateImp::kSecond));
  fields.tm_isdst = -1;
  return int64_t(mktime(&fields));
}

FolderItemImpUnix::FolderItemImpUnix(const string &path, bool *invalid) {
  std::string full = Bytes(path);
  if (full.empty() || full[0] != '/')
    full = Bytes(StripTrailingSlash(GetApplicationPath(true))) + "/" + full;
  mPath = ASCIIText(full);
  if (full.back() != '/' && IsDirectory())
    mPath = ASCIIText(full + "/");
  if (invalid) {
    struct stat info;
    if (!StatPath(Bytes(mPath), info))
      *invalid = errno != ENOENT;
  }
}

FolderItemImpUnix::FolderItemImpUnix(const FolderItemImpUnix &other)
    : FolderItemImp(), mPath(other.mPath) {}

FolderItemImpUnix::~FolderItemImpUnix() = default;

FolderItemImpUnix *FolderItemImpUnix::WithExactPath(const string &path) {
  auto *item = new FolderItemImpUnix;
  item->mPath = path;
  item->mPath.SetEncoding(kEncodingASCII);
  return item;
}

FolderItemImpUnix *FolderItemImpUnix::GetAppFolderItem() {
  FolderItemImpUnix *item = WithExactPath(GetApplicationPath(false));
  if (!item)
    ShowAlert(kAppFolderItemAlert);
  return item;
}

FolderItemImp &FolderItemImpUnix::operator=(const FolderItemImp &other) {
  if (const_cast<FolderItemImp &>(other).IsVirtual()) {
    ShowAlert(kNotVirtualAlert);
    return *this;
  }
  if (auto *unix = dynamic_cast<const FolderItemImpUnix *>(&other))
    mPath = unix->mPath;
  return *this;
}

FolderItemImp *FolderItemImpUnix::Clone() const { return WithExactPath(mPath); }

bool FolderItemImpUnix::Exists() { return access(mPath.CString(), F_OK) == 0; }

bool FolderItemImpUnix::IsAlias() {
  struct stat info;
  return lstat(LinkPath().CString(), &info) == 0 && S_ISLNK(info.st_mode);
}

string FolderItemImpUnix::LinkPath() const {
  return mPath.Length() > 1 ? StripTrailingSlash(mPath) : mPath;
}

bool FolderItemImpUnix::IsDirectory() {
  struct stat info;
  return StatPath(Bytes(mPath), info) && S_ISDIR(info.st_mode);
}

bool FolderItemImpUnix::EndsInSlash() const {
  return mPath.Length() > 0 && mPath.CString()[mPath.Length() - 1] == '/';
}

string FolderItemImpUnix::GetName() { return ASCIIText(NameOfPath(Bytes(mPath))); }

string FolderItemImpUnix::ParentPath() {
  const std::string path = Bytes(mPath);
  const size_t cut = NameOfPath(path).size() + (EndsInSlash() ? 1 : 0);
  return ASCIIText(path.substr(0, path.size() - std::min(cut, path.size())));
}

bool FolderItemImpUnix::RenameTo(const string &newPath) {
  if (rename(mPath.CString(), newPath.CString()) != 0)
    return false;
  mPath = newPath;
  return true;
}

bool FolderItemImpUnix::SetName(const string &name) {
  std::string path = Bytes(ParentPath()) + Bytes(name);
  if (EndsInSlash())
    path += "/";
  return RenameTo(ASCIIText(path));
}

string FolderItemImpUnix::GetAbsolutePath() { return mPath; }
string FolderItemImpUnix::GetDisplayName() { return GetName(); }
bool FolderItemImpUnix::SetDisplayName(const string &name) { return SetName(name); }

bool FolderItemImpUnix::GetVisible() {
  const std::string name = NameOfPath(Bytes(mPath));
  return name.empty() || name[0] != '.';
}

bool FolderItemImpUnix::SetVisible(bool visible) {
  if (visible == GetVisible())
    return true;
  const std::string name = NameOfPath(Bytes(mPath));
  return SetName(ASCIIText(visible ? name.substr(1) : "." + name));
}

bool FolderItemImpUnix::GetLocked() {
  return access(mPath.CString(), F_OK) == 0 && access(mPath.CString(), W_OK) != 0;
}

bool FolderItemImpUnix::SetLocked(bool) { return false; }

string FolderItemImpUnix::GetSaveInfo(FolderItemImp *, eSaveInfoMode) { return ASCIIText(""); }

double FolderItemImpUnix::GetCreationDate() {
  struct stat info;
  return StatPath(Bytes(mPath), info) ? DateValueOfPosixTime(info.st_ctime) : 0.0;
}

bool FolderItemImpUnix::SetCreationDate(double) { return false; }

double FolderItemImpUnix::GetModificationDate() {
  struct stat info;
  return StatPath(Bytes(mPath), info) ? DateValueOfPosixTime(info.st_mtime) : 0.0;
}

bool FolderItemImpUnix::SetModificationDate(double date) {
  struct stat info;
  if (!StatPath(Bytes(mPath), info))
    return false;
  struct utimbuf times {};
  times.actime = info.st_atime;
  times.modtime = time_t(PosixTimeOfDateValue(date));
  return utime(mPath.CString(), &times) != -1;
}

bool FolderItemImpUnix::IsCurrentlyReadable() { return access(mPath.CString(), R_OK) == 0; }
bool FolderItemImpUnix::IsCurrentlyWriteable() { return access(mPath.CString(), W_OK) == 0; }

int64_t FolderItemImpUnix::GetLength() {
  struct stat info;
  return StatPath(Bytes(mPath), info) ? int64_t(info.st_size) : 0;
}

bool FolderItemImpUnix::SetLength(int64_t length) {
  return truncate(mPath.CString(), off_t(length)) != -1;
}

RandomAccessMechanism *FolderItemImpUnix::OpenFile(bool forReading, bool forWriting) {
  DataFile *file = DataFile::New();
  if (!file)
    return ShowAlert(kNewFileAlert), nullptr;
  const int permission =
      forReading && forWriting ? DataFile::kReadWritePermission : DataFile::kReadPermission;
  if (file->Open(mPath, permission))
    return file;
  mLastError = file->mLastError;
  delete file;
  return nullptr;
}

FolderItemImp *FolderItemImpUnix::GetParent() {
  if (mPath.Length() == 1)
    return nullptr;
  return new FolderItemImpUnix(ParentPath());
}

FolderItemImp *FolderItemImpUnix::GetSpecialFolder(uint32_t) { return nullptr; }

namespace {

// The folder's entries in directory order, "." and ".." left out.
std::vector<std::string> ListDirectoryEntries(const string &folderPath) {
  std::vector<std::string> entries;
  DIR *folder = opendir(folderPath.CString());
  if (!folder)
    return entries;
  while (const dirent *entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..")
      entries.push_back(Bytes(folderPath) + name);
  }
  closedir(folder);
  return entries;
}

} // namespace

int32_t FolderItemImpUnix::GetChildCount() { return int32_t(ListDirectoryEntries(mPath).size()); }

FolderItemImp *FolderItemImpUnix::GetChildByIndex(int32_t index, int32_t aliasDepth) {
  const std::vector<std::string> entries = ListDirectoryEntries(mPath);
  if (uint32_t(index) >= entries.size())
    return nullptr;
  FolderItemImp *child = new FolderItemImpUnix(ASCIIText(entries[size_t(index)]));
  if (aliasDepth != 0) {
    if (FolderItemImp *resolved = child->ResolveAlias(aliasDepth)) {
      delete child;
      return resolved;
    }
  }
  return child;
}

FolderItemImp *FolderItemImpUnix::GetChildByName(const string &name, int32_t) {
  if (!IsDirectory() || !Exists())
    return nullptr;
  if (name.Compare(string(".")) == 0)
    return WithExactPath(mPath);
  if (name.Compare(string("..")) == 0)
    return GetParent();
  return new FolderItemImpUnix(ASCIIText(Bytes(mPath) + Bytes(name)));
}

FolderItemImp *FolderItemImpUnix::ResolveAlias(int32_t) {
  if (!IsAlias())
    return nullptr;
  char target[kLinkBufferSize];
  const ssize_t length = readlink(LinkPath().CString(), target, sizeof target);
  // A target that fills the buffer may have been cut short: not used.
  if (length <= 0 || size_t(length) >= sizeof target)
    return nullptr;
  std::string resolved(target, size_t(length));
  // A relative target names a place beside the link, as the system reads it.
  if (resolved[0] != '/')
    resolved = Bytes(ParentPath()) + resolved;
  return new FolderItemImpUnix(ASCIIText(resolved));
}

void FolderItemImpUnix::MakeFileExecutable() {
  struct stat info;
  if (!StatPath(Bytes(mPath), info))
    return;
  // As chmod +x does: execute bits for all, less those the file-creation
  // mask withholds.
  const mode_t mask = umask(0);
  umask(mask);
  chmod(mPath.CString(), (info.st_mode & 07777) | (0111 & ~mask));
}

bool FolderItemImpUnix::CreateFolder() {
  const bool made = mkdir(mPath.CString(), 0777) == 0;
  if (!EndsInSlash())
    mPath = ASCIIText(Bytes(mPath) + "/");
  return made;
}

RandomAccessMechanism *FolderItemImpUnix::CreateFile(const string &) {
  DataFile *file = DataFile::New();
  if (!file)
    return ShowAlert(kNewFileAlert), nullptr;
  if (file->Create(mPath))
    return file;
  mLastError = file->mLastError;
  delete file;
  return nullptr;
}

bool FolderItemImpUnix::DeleteFile() {
  // A link goes itself, whatever it points to.
  const int result = IsAlias()       ? unlink(LinkPath().CString())
                     : IsDirectory() ? rmdir(mPath.CString())
                                     : remove(mPath.CString());
  return result != -1;
}

bool FolderItemImpUnix::CopyFileTo(FolderItemImp *destination) {
  if (!destination)
    return ShowAlert(kDestinationAlert);
  const std::string from = Bytes(mPath);
  const std::string to = Bytes(destination->GetAbsolutePath());
  return RunToSuccess("cp", {"--", from.c_str(), to.c_str()});
}

bool FolderItemImpUnix::MoveFileTo(FolderItemImp *destination) {
  if (!destination)
    return ShowAlert(kDestinationAlert);
  const std::string from = Bytes(mPath);
  const std::string to = Bytes(destination->GetAbsolutePath());
  return RunToSuccess("mv", {"-f", "--", from.c_str(), to.c_str()});
}

bool FolderItemImpUnix::Launch(bool) {
  const char *const arguments[] = {mPath.CString(), nullptr};
  return SpawnDetached(arguments);
}
