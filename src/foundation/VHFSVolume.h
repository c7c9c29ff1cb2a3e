// The hierarchy of a virtual volume: folders and files with names, types,
// dates and a parent, each one file of the block store whose data begins with
// a 256-byte object header. A folder's data continues with its child list, a
// file's with its contents. The root folder is file 2.
//
// Every change is ordered so that a writer killed at any moment leaves the
// hierarchy consistent: an object is complete before it is linked, a link
// writes its entry before the count that makes it visible, a move links,
// then names the new parent, then unlinks; a delete unlinks, then frees.
// Listing shows a child only when its object names that folder as parent,
// which settles what a move cut short leaves in two lists.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/RandomAccessMechanism.h"
#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "foundation/VFSVolume.h"

class VFile;

inline constexpr char kVHFSAlertSource[] = "../Universal/VirtualVolumes/VHFS";
inline constexpr AlertSite kVHFSRootIdnumAlert{kVHFSAlertSource, 118,
                                               "kRootDirectoryIDnum == idnum"};
inline constexpr AlertSite kVHFSRefAlert{kVHFSAlertSource, 211, "ioRef"};
inline constexpr AlertSite kVHFSChildCountAlert{kVHFSAlertSource, 402, "0"};

// Four-character codes as the integers whose big-endian bytes spell them.
using VFileType = uint32_t;
inline constexpr VFileType kFolderFileType = 0x666F6C64;  // "fold"
inline constexpr VFileType kTempFileType = 0x74656D70;    // "temp"
inline constexpr VFileType kUnknownFileType = 0x3F3F3F3F; // "????"

inline constexpr uint32_t kRootDirectoryIDnum = 2;

// Object header layout (data offsets).
inline constexpr int64_t kObjectDataLengthOffset = 0;
inline constexpr int64_t kObjectTypeOffset = 8;
inline constexpr int64_t kObjectParentOffset = 12;
inline constexpr int64_t kObjectCreationDateOffset = 16;
inline constexpr int64_t kObjectModificationDateOffset = 24;
inline constexpr int64_t kObjectNameOffset = 32;
inline constexpr int kObjectNameFieldSize = 224;
inline constexpr int kMaximumNameLength = 223;
inline constexpr int64_t kChildCountOffset = 256;

// A reference to an object; type 0 names nothing.
struct VFileRef {
  uint32_t mIdnum = 0;
  string mName;
  VFileType mType = 0;
};

struct VFileInfo {
  VFileRef mRef;
  double mCreationDate = 0;
  double mModificationDate = 0;
  double mDataLength = 0;
};

class VHFSVolume {
public:
  // A new volume with an empty root; nil for a nil stream.
  static VHFSVolume *Create(RandomAccessMechanism *stream, bool ownsStream);
  VHFSVolume(RandomAccessMechanism *stream, bool ownsStream);
  VHFSVolume(const VHFSVolume &) = delete;
  VHFSVolume &operator=(const VHFSVolume &) = delete;
  virtual ~VHFSVolume(); // destroys the block store

  bool IsValid() const { return mVolume && mVolume->mValid; }
  VFileRef GetRoot();
  // Names must be new in the folder (without regard to case), and may not be
  // empty, "." or "..", nor hold "/" or a zero byte. Names are stored as
  // their first 223 bytes.
  VFileRef CreateFile(const VFileRef &folder, const string &name, VFileType type);
  VFileRef CreateDirectory(const VFileRef &folder, const string &name);
  bool DeleteFile(const VFileRef &ref);
  // Refuses a folder into itself or into its own descendant.
  bool MoveFile(const VFileRef &ref, const VFileRef &newFolder);
  bool GetChildren(const VFileRef &folder, SimpleVector<VFileRef> &children);
  VFileRef GetParent(const VFileRef &ref);
  VFileInfo GetFileInfo(const VFileRef &ref);
  bool SetFileInfo(const VFileInfo &info);
  bool SetFileName(VFileRef &ref, const string &name);
  bool SetFileType(VFileRef &ref, VFileType type);
  void LoadFileInfo(VFileRef *ref);
  bool LinkFile(const VFileRef &ref, const VFileRef &folder);
  // False, with the list unchanged, when the folder does not list the object.
  bool UnlinkFile(const VFileRef &ref, const VFileRef &folder);
  // A new stream over the file's contents, or nil.
  VFile *OpenFile(const VFileRef &ref);

  // The first 223 bytes of a name, or empty when the name is not acceptable.
  static string StoredName(const string &name);
  // Whether the folder lists a child of that name other than the object
  // except (0: none).
  bool NameTaken(const VFileRef &folder, const string &storedName, uint32_t except);
  // Whether folder is ancestor or lies below it, by parent walks.
  bool IsWithin(uint32_t folder, uint32_t ancestor);
  int64_t MaxWalkSteps() const { return mVolume ? mVolume->MaxWalkSteps() : 0; }
  VFSVolume *BlockStore() const { return mVolume; }

private:
  struct ObjectHeader {
    double mDataLength = 0;
    VFileType mType = 0;
    uint32_t mParent = 0;
    double mCreationDate = 0;
    double mModificationDate = 0;
    string mName;
  };

  explicit VHFSVolume(VFSVolume *volume) : mVolume(volume) {}
  bool BigEndianData() const;
  bool ReadObjectHeader(uint32_t idnum, ObjectHeader &header);
  // The child idnums as stored (a damaged count alerts and gives none).
  bool ReadChildList(uint32_t folder, SimpleVector<uint32_t> &ids, double &dataLength);
  bool WriteAt(uint32_t idnum, int64_t offset, const void *bytes, int32_t count);
  bool WriteLongAt(uint32_t idnum, int64_t offset, uint32_t value);
  VFileRef CreateObject(const VFileRef &folder, const string &name, VFileType type,
                        bool isFolder);

  VFSVolume *mVolume = nullptr;
};
