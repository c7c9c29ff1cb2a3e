/* Folder items, text and binary streams and virtual volumes the way compiled
 * code uses them: items by relative path, in the application's folder (the
 * test runs a copy of the image from an empty private folder), streams through their export names, bytes checked
 * by reading the files back through a BinaryStream.
 * Exit status: 42 when every check held, otherwise 128 plus the bits of the
 * groups that failed:
 *    1  TextInputStream and TextOutputStream: line ends, Read after a line,
 *       PositionB, the UTF-8 tag, WriteLine with a CR LF Delimiter
 *    2  BinaryStream: byte orders, PString of 300, short reads and EOF,
 *       seeded typed values in both byte orders read back
 *    4  FolderItem: CreateTextFile and AppendToTextFile, LastErrorCode
 *    8  VirtualVolume: a new volume's Root, the file's first bytes, a plain
 *       file, Root's VirtualVolume, streams inside, the volume kept open by
 *       its items
 *   16  hostile reads: ReadLine over a folder, Read(&h7FFFFFFF) */
#include "CompiledCode.h"
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

RuntimeObject *RuntimeGetFolderItem(stringStorage *path);
RuntimeObject *FolderChild(RuntimeObject *item, stringStorage *name);
void FolderItemCreateAsFolder(RuntimeObject *item);
int32_t fileExistsGetter(RuntimeObject *item, int32_t param);
int32_t fileDirectoryGetter(RuntimeObject *item, int32_t param);
int32_t fileCountGetter(RuntimeObject *item, int32_t param);
int32_t fileSizeGetter(RuntimeObject *item, int32_t param);
int32_t FolderItemGetLastError(RuntimeObject *item, int32_t param);
void FolderItemSetLastError(RuntimeObject *item, int32_t param, int32_t code);
RuntimeObject *FolderItemOpenTextFile(RuntimeObject *item);
RuntimeObject *FolderItemAppendTextFile(RuntimeObject *item);
RuntimeObject *FolderItemCreateTextFile(RuntimeObject *item);
RuntimeObject *FolderItemOpenBinaryFile(RuntimeObject *item, int32_t readWrite);
RuntimeObject *FolderItemCreateBinaryFile(RuntimeObject *item, stringStorage *type);
RuntimeObject *FolderItemCreateVirtualVolume(RuntimeObject *item);
RuntimeObject *FolderItemOpenAsVirtualVolume(RuntimeObject *item);
RuntimeObject *folderVirtVolGetter(RuntimeObject *item, int32_t param);
RuntimeObject *VirtVolRootGetter(RuntimeObject *volume, int32_t param);

int32_t TextInputStreamGetPosition(RuntimeObject *stream, int32_t param);
void TextInputStreamSetPosition(RuntimeObject *stream, int32_t param, int32_t position);
stringStorage *TextInputStreamRead(RuntimeObject *stream, int32_t count, void *encoding);
stringStorage *TextInputStreamReadLine(RuntimeObject *stream, void *encoding);
void TextInputStreamClose(RuntimeObject *stream);
int32_t TextInputStreamEOF(RuntimeObject *stream);
void TextOutputStreamWriteLine(RuntimeObject *stream, stringStorage *line);
void TextOutputStreamWrite(RuntimeObject *stream, stringStorage *text);
void TextOutputStreamClose(RuntimeObject *stream);
void stringSetter(RuntimeObject *object, int32_t offset, stringStorage *value);
void boolSetter(RuntimeObject *object, int32_t offset, int32_t value);

int32_t BinaryStreamGetLength(RuntimeObject *stream, int32_t param);
int32_t BinaryStreamGetPosition(RuntimeObject *stream, int32_t param);
void BinaryStreamSetPosition(RuntimeObject *stream, int32_t param, int32_t position);
int32_t BinaryStreamReadByte(RuntimeObject *stream);
int32_t BinaryStreamReadShort(RuntimeObject *stream);
int32_t BinaryStreamReadLong(RuntimeObject *stream);
stringStorage *BinaryStreamReadPString(RuntimeObject *stream, void *encoding);
double BinaryStreamReadDouble(RuntimeObject *stream);
stringStorage *BinaryStreamRead(RuntimeObject *stream, int32_t count, void *encoding);
void BinaryStreamWriteByte(RuntimeObject *stream, int32_t value);
void BinaryStreamWriteShort(RuntimeObject *stream, int32_t value);
void BinaryStreamWriteLong(RuntimeObject *stream, int32_t value);
void BinaryStreamWritePString(RuntimeObject *stream, stringStorage *text);
void BinaryStreamWriteDouble(RuntimeObject *stream, double value);
void BinaryStreamClose(RuntimeObject *stream);
int32_t BinaryStreamEOF(RuntimeObject *stream);

enum {
  kDelimiterOffset = 28,    /* TextOutputStream.Delimiter */
  kLittleEndianOffset = 28, /* BinaryStream.LittleEndian */
  kENOENT = 2,
  kSeededValues = 400
};

static int32_t sFailed;

static void Fail(int32_t group, const char *what) { sFailed |= KitFailedCheck(group, what); }

/* Whether the string holds exactly these bytes (nil holds none). */
static int32_t BytesAre(stringStorage *s, const char *bytes, int32_t count) {
  int32_t i;
  if (!s)
    return count == 0;
  if (s->length != count)
    return 0;
  for (i = 0; i < count; ++i)
    if (s->buffer[1 + i] != (unsigned char)bytes[i])
      return 0;
  return 1;
}

/* Whether the string is exactly the text; the string's reference is taken. */
static int32_t TookText(stringStorage *s, const char *text) {
  int32_t same = TextIs(s, text);
  RuntimeUnlockString(s);
  return same;
}

/* Whether the file's bytes are exactly these. */
static int32_t FileHolds(RuntimeObject *item, const char *bytes, int32_t count) {
  RuntimeObject *in = FolderItemOpenBinaryFile(item, 0);
  stringStorage *all = in ? BinaryStreamRead(in, BinaryStreamGetLength(in, 0), 0) : 0;
  int32_t same = in && BytesAre(all, bytes, count);
  RuntimeUnlockString(all);
  RuntimeUnlockObject(in);
  return same;
}

/* Writes the text to a new file (a text stream, closed) and answers the item. */
static RuntimeObject *WrittenFile(stringStorage *name, stringStorage *text) {
  RuntimeObject *item = RuntimeGetFolderItem(name), *out = FolderItemCreateTextFile(item);
  if (!out)
    Fail(1, "CreateTextFile gives a stream");
  else
    TextOutputStreamWrite(out, text);
  RuntimeUnlockObject(out);
  return item;
}

static void TextStreams(void) {
  RuntimeObject *item = WrittenFile(KIT_STRING("lines.txt"), KIT_STRING("a\r\nb\n\nc")), *in, *out;
  stringStorage *line;
  in = FolderItemOpenTextFile(item);
  line = in ? TextInputStreamReadLine(in, 0) : 0;
  if (!in || !line || line->encoding != kEncodingUTF8 || !TookText(line, "a") ||
      !TookText(TextInputStreamReadLine(in, 0), "b") ||
      !TookText(TextInputStreamReadLine(in, 0), "") ||
      !TookText(TextInputStreamReadLine(in, 0), "c") || !TextInputStreamEOF(in) ||
      !TookText(TextInputStreamReadLine(in, 0), "") || !TextInputStreamEOF(in))
    Fail(1, "a CR LF b LF LF c reads a, b, \"\", c, then \"\" at EOF, tagged UTF-8");
  RuntimeUnlockObject(in);
  RuntimeUnlockObject(item);

  item = WrittenFile(KIT_STRING("read.txt"), KIT_STRING("abc\r\ndefgh"));
  in = FolderItemOpenTextFile(item);
  if (!in || !TookText(TextInputStreamReadLine(in, 0), "abc") ||
      !TookText(TextInputStreamRead(in, 3, 0), "def") || TextInputStreamGetPosition(in, 0) != 8)
    Fail(1, "Read(3) after a line reads on after the line end");
  if (in) {
    TextInputStreamSetPosition(in, 0, 3);
    if (!TookText(TextInputStreamRead(in, 2, 0), "\r\n"))
      Fail(1, "PositionB 3 reads from the fourth byte");
    TextInputStreamSetPosition(in, 0, -5);
    if (TextInputStreamGetPosition(in, 0) != 0 || !TookText(TextInputStreamRead(in, 1, 0), "a"))
      Fail(1, "PositionB -5 goes to the start");
    TextInputStreamClose(in);
  }
  RuntimeUnlockObject(in);
  RuntimeUnlockObject(item);

  item = RuntimeGetFolderItem(KIT_STRING("crlf.txt"));
  out = FolderItemCreateTextFile(item);
  if (out) {
    stringSetter(out, kDelimiterOffset, KIT_STRING("\r\n"));
    TextOutputStreamWriteLine(out, 0);
    TextOutputStreamWriteLine(out, KIT_STRING("x"));
    TextOutputStreamClose(out);
  }
  if (!out || !FileHolds(item, "\r\nx\r\n", 5))
    Fail(1, "WriteLine of \"\" and x with the Delimiter CR LF");
  RuntimeUnlockObject(out);
  RuntimeUnlockObject(item);
}

#define TEN "pppppppppp"
#define HUNDRED TEN TEN TEN TEN TEN TEN TEN TEN TEN TEN

/* A small generator of the image's own, so that the values repeat. */
static uint32_t sSeed = 43;
static uint32_t Next(void) {
  sSeed = sSeed * 1103515245u + 12345u;
  return sSeed >> 8;
}

/* Writes (reading is false) or reads back and compares the seeded values:
 * bytes, shorts, longs and doubles, each in a byte order of its own. */
static int32_t SeededValues(RuntimeObject *stream, int32_t reading) {
  int32_t i, same = 1;
  sSeed = 43;
  for (i = 0; i < kSeededValues; ++i) {
    uint32_t kind = Next() % 4, value = Next();
    boolSetter(stream, kLittleEndianOffset, (int32_t)(Next() & 1));
    switch (kind) {
    case 0:
      if (reading)
        same &= BinaryStreamReadByte(stream) == (int32_t)(value & 0xFF);
      else
        BinaryStreamWriteByte(stream, (int32_t)value);
      break;
    case 1:
      if (reading)
        same &= BinaryStreamReadShort(stream) == (int32_t)(int16_t)value;
      else
        BinaryStreamWriteShort(stream, (int32_t)value);
      break;
    case 2:
      if (reading)
        same &= BinaryStreamReadLong(stream) == (int32_t)(value * 2654435761u);
      else
        BinaryStreamWriteLong(stream, (int32_t)(value * 2654435761u));
      break;
    default: {
      /* Both stored as doubles first: the x87 registers hold more. */
      double expected = (double)(int32_t)value / 7.0, got;
      if (reading) {
        got = BinaryStreamReadDouble(stream);
        same &= got == expected;
      } else {
        BinaryStreamWriteDouble(stream, expected);
      }
      break;
    }
    }
  }
  return same;
}

static void BinaryStreams(void) {
  RuntimeObject *item = RuntimeGetFolderItem(KIT_STRING("data.bin")), *bs;
  stringStorage *text;
  static const char head[] = "\x00\x01\x01\x00\xFF\xFF\xFF\xFE\xFF\xFF\xFE";
  bs = FolderItemCreateBinaryFile(item, KIT_STRING("bin"));
  if (bs) {
    BinaryStreamWriteShort(bs, 1);
    boolSetter(bs, kLittleEndianOffset, 1);
    BinaryStreamWriteShort(bs, 1);
    boolSetter(bs, kLittleEndianOffset, 0);
    BinaryStreamWriteLong(bs, -2);
    BinaryStreamWriteByte(bs, 255);
    BinaryStreamWriteByte(bs, 0xFF);
    BinaryStreamWriteByte(bs, 0xFE);
    BinaryStreamWritePString(bs, KIT_STRING(HUNDRED HUNDRED HUNDRED));
    BinaryStreamClose(bs);
  }
  RuntimeUnlockObject(bs);
  bs = FolderItemOpenBinaryFile(item, 0);
  text = bs ? BinaryStreamRead(bs, 11, 0) : 0;
  if (!bs || !BytesAre(text, head, 11) || BinaryStreamGetLength(bs, 0) != 11 + 256)
    Fail(2, "WriteShort(1) both ways, WriteLong(-2), bytes, and a PString of 300 in 256");
  RuntimeUnlockString(text);
  if (bs) {
    BinaryStreamSetPosition(bs, 0, 0);
    if (BinaryStreamReadShort(bs) != 1 || BinaryStreamReadShort(bs) != 256 ||
        BinaryStreamReadLong(bs) != -2 || BinaryStreamReadByte(bs) != 255 ||
        BinaryStreamReadShort(bs) != -2)
      Fail(2, "the values read back big-endian; FF reads 255, FF FE reads -2");
    text = BinaryStreamReadPString(bs, 0);
    if (!text || text->length != 255 || BinaryStreamEOF(bs))
      Fail(2, "the PString reads back 255 bytes, up to the end but not past it");
    RuntimeUnlockString(text);
    BinaryStreamSetPosition(bs, 0, BinaryStreamGetLength(bs, 0) - 4);
    if (!TookText(BinaryStreamRead(bs, 10, 0), "pppp") || !BinaryStreamEOF(bs) ||
        BinaryStreamRead(bs, 10, 0) || !BinaryStreamEOF(bs))
      Fail(2, "Read(10) with 4 left gives 4, then nothing at EOF");
  }
  RuntimeUnlockObject(bs);
  RuntimeUnlockObject(item);

  item = WrittenFile(KIT_STRING("short.bin"), KIT_STRING("\x05" "ab"));
  bs = FolderItemOpenBinaryFile(item, 0);
  if (!bs || !TookText(BinaryStreamReadPString(bs, 0), "ab") || !BinaryStreamEOF(bs))
    Fail(2, "a cut PString gives what is there and ends at EOF");
  RuntimeUnlockObject(bs);
  RuntimeUnlockObject(item);

  item = RuntimeGetFolderItem(KIT_STRING("seeded.bin"));
  bs = FolderItemCreateBinaryFile(item, 0);
  if (bs) {
    SeededValues(bs, 0);
    BinaryStreamClose(bs);
  }
  RuntimeUnlockObject(bs);
  bs = FolderItemOpenBinaryFile(item, 0);
  if (!bs || !SeededValues(bs, 1) || !(BinaryStreamReadByte(bs), BinaryStreamEOF(bs)))
    Fail(2, "seeded values in both byte orders read back equal");
  RuntimeUnlockObject(bs);
  RuntimeUnlockObject(item);
}

static void FolderItems(void) {
  RuntimeObject *item = WrittenFile(KIT_STRING("old.txt"), KIT_STRING("old content")), *stream;
  stream = FolderItemCreateTextFile(item); /* an existing file starts empty */
  RuntimeUnlockObject(stream);
  if (!stream || !FileHolds(item, "", 0))
    Fail(4, "CreateTextFile empties an existing file");
  stream = FolderItemAppendTextFile(item);
  if (stream)
    TextOutputStreamWrite(stream, KIT_STRING("one"));
  RuntimeUnlockObject(stream);
  stream = FolderItemAppendTextFile(item);
  if (stream)
    TextOutputStreamWrite(stream, KIT_STRING("two"));
  RuntimeUnlockObject(stream);
  if (!FileHolds(item, "onetwo", 6))
    Fail(4, "AppendToTextFile creates, then writes after the old content");

  RuntimeUnlockObject(item);

  item = RuntimeGetFolderItem(KIT_STRING("absent"));
  FolderItemSetLastError(item, 0, 7);
  if (FolderItemGetLastError(item, 0) != 7)
    Fail(4, "LastErrorCode 7 reads 7");
  if ((stream = FolderItemOpenBinaryFile(item, 0)) || FolderItemGetLastError(item, 0) != kENOENT ||
      (stream = FolderItemOpenTextFile(item)) || fileExistsGetter(item, 0))
    Fail(4, "opening a missing file gives nil and LastErrorCode 2");
  RuntimeUnlockObject(stream);
  RuntimeUnlockObject(item);
}

static void Volumes(void) {
  RuntimeObject *item = RuntimeGetFolderItem(KIT_STRING("files.vol")), *volume, *root, *again = 0,
                *inside = 0, *stream = 0, *plain;
  stringStorage *first = 0;
  volume = FolderItemCreateVirtualVolume(item);
  root = volume ? VirtVolRootGetter(volume, 0) : 0;
  if (!volume || !root || !fileDirectoryGetter(root, 0) || fileCountGetter(root, 0) != 0)
    Fail(8, "the Root of a new volume is an empty folder");
  if (root) {
    again = folderVirtVolGetter(root, 0);
    inside = FolderChild(root, KIT_STRING("inside.txt"));
  }
  if (!again || again != volume)
    Fail(8, "Root's VirtualVolume is the volume");
  RuntimeUnlockObject(again);
  /* Once the volume and its Root are gone, the item inside keeps it open. */
  RuntimeUnlockObject(root);
  RuntimeUnlockObject(volume);
  stream = inside ? FolderItemCreateTextFile(inside) : 0;
  if (stream) {
    TextOutputStreamWriteLine(stream, KIT_STRING("kept"));
    TextOutputStreamClose(stream);
  }
  RuntimeUnlockObject(stream);
  stream = inside ? FolderItemOpenTextFile(inside) : 0;
  if (!stream || !TookText(TextInputStreamReadLine(stream, 0), "kept"))
    Fail(8, "a file written inside the volume reads back through its item");
  RuntimeUnlockObject(stream);
  RuntimeUnlockObject(inside);

  stream = FolderItemOpenBinaryFile(item, 0);
  first = stream ? BinaryStreamRead(stream, 8, 0) : 0;
  if (!BytesAre(first, "VFSv\x00\x00\x00\x03", 8))
    Fail(8, "the volume file starts with its magic and version 3");
  RuntimeUnlockString(first);
  RuntimeUnlockObject(stream);
  volume = FolderItemOpenAsVirtualVolume(item);
  root = volume ? VirtVolRootGetter(volume, 0) : 0;
  inside = root ? FolderChild(root, KIT_STRING("inside.txt")) : 0;
  stream = inside ? FolderItemOpenTextFile(inside) : 0;
  if (!stream || !TookText(TextInputStreamReadLine(stream, 0), "kept"))
    Fail(8, "the volume opens again with the file inside");
  RuntimeUnlockObject(stream);
  RuntimeUnlockObject(inside);
  RuntimeUnlockObject(root);
  RuntimeUnlockObject(volume);
  RuntimeUnlockObject(item);

  plain = WrittenFile(KIT_STRING("plain.txt"), KIT_STRING("not a volume at all, only text"));
  volume = FolderItemOpenAsVirtualVolume(plain);
  again = folderVirtVolGetter(plain, 0);
  if (volume || again || !FileHolds(plain, "not a volume at all, only text", 30))
    Fail(8, "a plain text file is no volume, its bytes unchanged; its VirtualVolume is nil");
  RuntimeUnlockObject(volume);
  RuntimeUnlockObject(again);
  RuntimeUnlockObject(plain);
}

static void HostileReads(void) {
  RuntimeObject *folder = RuntimeGetFolderItem(KIT_STRING("folder")), *stream, *item;
  stringStorage *all;
  int32_t lines = 0;
  FolderItemCreateAsFolder(folder);
  stream = FolderItemOpenTextFile(folder);
  while (stream && !TextInputStreamEOF(stream) && lines < 1000) {
    RuntimeUnlockString(TextInputStreamReadLine(stream, 0));
    ++lines;
  }
  if (lines > 1)
    Fail(16, "a While Not EOF ReadLine loop over a folder ends at once");
  RuntimeUnlockObject(stream);
  RuntimeUnlockObject(folder);

  item = WrittenFile(KIT_STRING("ten.txt"), KIT_STRING("0123456789"));
  stream = FolderItemOpenTextFile(item);
  all = stream ? TextInputStreamRead(stream, 0x7FFFFFFF, 0) : 0;
  if (!TookText(all, "0123456789") || !TextInputStreamEOF(stream))
    Fail(16, "Read(&h7FFFFFFF) of a 10-byte file gives its 10 bytes");
  RuntimeUnlockObject(stream);
  RuntimeUnlockObject(item);
}

void ImageEntry(void) {
  TextStreams();
  BinaryStreams();
  FolderItems();
  Volumes();
  HostileReads();
  _exit(sFailed ? 128 | sFailed : 42);
}
