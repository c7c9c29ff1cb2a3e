#include "database/sql/SqlTokenizer.h"

namespace {

bool IsBlank(unsigned char c) { return c <= 32; }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Characters that go on a word: everything printable but blanks, "(", ")",
// ",", ".", "<", "=" and ">"; bytes from 0x80 up belong to words too.
bool ContinuesWord(unsigned char c) {
  if (c >= 0x80)
    return true;
  return (c >= 0x21 && c <= 0x27) || c == '*' || c == '+' || c == '-' || (c >= 0x2F && c <= 0x3B) ||
         (c >= 0x3F && c <= 0x7F);
}

unsigned char FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

} // namespace

std::string SqlText::NextToken() {
  const size_t length = mText.size();
  size_t at = mPosition;
  while (at < length && IsBlank(static_cast<unsigned char>(mText[at])))
    ++at;
  mTokenStart = at;
  if (at >= length) {
    mPosition = at;
    return std::string();
  }
  const char first = mText[at];
  std::string token;
  switch (first) {
  case '(':
  case ')':
  case ',':
  case '.':
  case '=':
    token.assign(1, first);
    ++at;
    break;
  case '<':
    ++at;
    if (at < length && (mText[at] == '=' || mText[at] == '>'))
      ++at;
    token.assign(mText.substr(mTokenStart, at - mTokenStart));
    break;
  case '>':
    ++at;
    if (at < length && mText[at] == '=')
      ++at;
    token.assign(mText.substr(mTokenStart, at - mTokenStart));
    break;
  case '\'':
  case '"':
    // Up to the next unpaired quote of the same kind; a doubled quote stands
    // for one. The token keeps one quote at each end, also when the text
    // ended before the closing one.
    token.push_back(first);
    ++at;
    while (at < length) {
      if (mText[at] == first) {
        if (at + 1 < length && mText[at + 1] == first) {
          token.push_back(first);
          at += 2;
          continue;
        }
        ++at;
        break;
      }
      token.push_back(mText[at]);
      ++at;
    }
    token.push_back(first);
    break;
  case '[': {
    const size_t close = mText.find(']', at + 1);
    const size_t end = close == std::string_view::npos ? length : close;
    token.assign(mText.substr(at + 1, end - at - 1));
    at = close == std::string_view::npos ? length : close + 1;
    break;
  }
  default:
    if (first == '-' || IsDigit(static_cast<unsigned char>(first))) {
      ++at;
      while (at < length && (IsDigit(static_cast<unsigned char>(mText[at])) || mText[at] == '.'))
        ++at;
    } else {
      ++at;
      while (at < length && ContinuesWord(static_cast<unsigned char>(mText[at])))
        ++at;
    }
    token.assign(mText.substr(mTokenStart, at - mTokenStart));
    break;
  }
  mPosition = at;
  return token;
}

bool SqlText::AtEnd() const {
  for (size_t at = mPosition; at < mText.size(); ++at)
    if (!IsBlank(static_cast<unsigned char>(mText[at])))
      return false;
  return true;
}

std::string_view sqlStripTrailingSemicolons(std::string_view text) {
  while (!text.empty() && text.back() == ';')
    text.remove_suffix(1);
  return text;
}

std::string sqlParseToken(std::string &text) {
  SqlText reader(text);
  std::string token = reader.NextToken();
  text = std::string(reader.Rest());
  return token;
}

bool sqlValidIdentifier(std::string_view name) {
  if (name.empty())
    return false;
  const unsigned char first = static_cast<unsigned char>(name[0]);
  if (!IsAsciiLetter(first) && first < 0x80)
    return false;
  for (size_t i = 1; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (!IsAsciiLetter(c) && !IsDigit(c) && c != '#' && c != '_' && c != ' ' && c < 0x80)
      return false;
  }
  return true;
}

bool sqlValidInteger(std::string_view text) {
  if (text.empty())
    return false;
  for (char c : text)
    if (!IsDigit(static_cast<unsigned char>(c)))
      return false;
  return true;
}

bool sqlEqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

bool sqlIsQuoted(std::string_view token) { return !token.empty() && (token[0] == '\'' || token[0] == '"'); }

std::string sqlLiteralText(const std::string &token) {
  if (!sqlIsQuoted(token))
    return token;
  return token.size() >= 2 ? token.substr(1, token.size() - 2) : std::string();
}
