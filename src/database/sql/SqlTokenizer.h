// Tokens of the runtime's SQL text, taken one at a time off the front of a
// statement. The text is read in place: each token advances a position, so a
// statement of any length costs one pass.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

class SqlText {
public:
  explicit SqlText(std::string_view text) : mText(text) {}

  // Removes and answers the next token; the empty string at the end.
  std::string NextToken();
  // Returns the last token taken, so that the next call answers it again.
  void PushBack() { mPosition = mTokenStart; }
  // True when only blanks are left.
  bool AtEnd() const;
  // The text from the current position on.
  std::string_view Rest() const { return mText.substr(mPosition); }

private:
  std::string_view mText;
  size_t mPosition = 0;
  size_t mTokenStart = 0;
};

// The statement text without its trailing ";" characters.
std::string_view sqlStripTrailingSemicolons(std::string_view text);

// Removes and answers the next token of text (the text is shortened).
std::string sqlParseToken(std::string &text);

// A name: a letter or a byte from 0x80 up, then letters, digits, "#", "_",
// spaces and bytes from 0x80 up.
bool sqlValidIdentifier(std::string_view name);
// A non-empty run of the digits 0 to 9.
bool sqlValidInteger(std::string_view text);

// Keywords and names compare without regard to ASCII case.
bool sqlEqualsIgnoringCase(std::string_view a, std::string_view b);

// True for a token that opens with a single or a double quote.
bool sqlIsQuoted(std::string_view token);
// A quoted token without its first and last characters; the token itself
// otherwise.
std::string sqlLiteralText(const std::string &token);
