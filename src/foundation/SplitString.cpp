// Splitting UTF-8 text at a separator character.
#include "foundation/SplitString.h"

#include "foundation/TextEncodings.h"

namespace {

void AppendPiece(const unsigned char *start, const unsigned char *end,
                 SimpleVector<string> &pieces) {
  string piece;
  piece.ConstructFromBuffer(reinterpret_cast<const char *>(start), static_cast<int>(end - start));
  if (!piece.IsEmpty())
    piece.SetEncoding(kEncodingUTF8);
  pieces.push_back(piece);
}

} // namespace

void SplitString(const string &text, unsigned long separator, SimpleVector<string> &pieces) {
  pieces.resize(0);
  if (separator > 255)
    ShowAlert(kSplitSeparatorAlert);

  const unsigned char *p = reinterpret_cast<const unsigned char *>(text.CString());
  const unsigned char *end = p + text.Length();
  const unsigned char *pieceStart = p;
  while (p < end) {
    const unsigned char *characterStart = p;
    if (UTF8DecodeAndAdvance(&p, end) == separator) {
      AppendPiece(pieceStart, characterStart, pieces);
      pieceStart = p;
    }
  }
  if (pieceStart < end)
    AppendPiece(pieceStart, end, pieces);
}
