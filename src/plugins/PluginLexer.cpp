#include "plugins/PluginLexer.h"

#include <cctype>
#include <cstring>

#include "foundation/ByteStrings.h"
#include "foundation/NumberText.h"
#include "foundation/StringMap.h"

const char *const tokentable[kKeywordCount + 1] = {
    "If",        "Sub",       "Function", "Until",     "As",        "Integer",  "End",
    "Mod",       "Dim",       "Then",     "Else",      "While",     "Wend",     "String",
    "Raise",     "For",       "Exception", "Array",    "Of",        "Not",      "Single",
    "Double",    "GoTo",      "And",      "Or",        "Nil",       "Rem",      "Next",
    "ElseIf",    "To",        "True",     "False",     "ByRef",     "Boolean",  "New",
    "Select",    "Case",      "Return",   "Self",      "Do",        "Loop",     "Exit",
    "Redim",     "downto",    "step",     "color",     "isa",       "me",       "#pragma",
    "",          "ByVal",     "",         "Const",     "#if",       "#else",    "#endif",
    "Declare",   "Private",   "Protected", "Class",    "Interface", "Implements", "Inherits",
    "Public",    "Shared",    "Namespace", "Module",   "Static",    "Event",    "Handles",
    "Each",      "In",        "Catch",    "Try",       "Finally",   "Super",    "Lib",
    "Extends",   "Assigns",   "Call",     "Is",        "AddressOf", "Delegate", "ParamArray",
    "#ElseIf",   "Break",     nullptr,
};
static_assert(sizeof(tokentable) / sizeof(tokentable[0]) == kKeywordCount + 1);

char tokenbuf[kTokenBufSize];
bool tokenTruncated = false;

namespace {

constexpr int kFirstKeyword = 257;
constexpr int kMaxStringText = kTokenBufSize - 2;
constexpr int kMaxColorDigits = 6;

const char *line = "";
int32_t lpos = 0;
unsigned char putbacks[2];
int32_t putbackcount = 0;
int32_t pendingToken = -1;
int32_t lastTokenStart = 0;
int32_t lastTokenEnd = 0;
int32_t tokenLength = 0;

StringMap<int32_t> &tokenMap() {
  static StringMap<int32_t> *map = [] {
    auto *m = new StringMap<int32_t>(128); // kept for the process
    for (int k = 0; tokentable[k]; ++k)
      if (tokentable[k][0])
        m->AddEntry(string(tokentable[k]), kFirstKeyword + k);
    return m;
  }();
  return *map;
}

bool IsBlank(int32_t c) { return c == ' ' || c == '\t'; }
bool IsLetter(int32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(int32_t c) { return c >= '0' && c <= '9'; }
bool IsIdentifierStart(int32_t c) { return IsLetter(c) || c == '_' || c == '~' || c >= 128; }
bool IsIdentifierPart(int32_t c) { return IsLetter(c) || IsDigit(c) || c == '_' || c >= 128; }
bool IsHexDigit(int32_t c) { return std::isxdigit(c) != 0; }
bool IsOctalDigit(int32_t c) { return c >= '0' && c <= '7'; }
bool IsBinaryDigit(int32_t c) { return c == '0' || c == '1'; }

void ClearToken() {
  tokenLength = 0;
  tokenbuf[0] = 0;
  tokenTruncated = false;
}

// Appends to tokenbuf, keeping it terminated; what does not fit is dropped
// and marks the token truncated.
void Store(int32_t c) {
  if (tokenLength >= kTokenBufSize - 1) {
    tokenTruncated = true;
    return;
  }
  tokenbuf[tokenLength++] = char(c);
  tokenbuf[tokenLength] = 0;
}

// Stores characters while they belong to the class; puts the first other back.
template <typename Pred>
int32_t StoreWhile(Pred belongs) {
  int32_t count = 0;
  int32_t c;
  while (belongs(c = nextchar())) {
    Store(c);
    ++count;
  }
  putback(static_cast<unsigned char>(c));
  return count;
}

// Optionally e or E, a sign and digits, c being the next character; puts c
// back when it starts no exponent. Answers true when an exponent was read.
bool ScanExponent(int32_t c) {
  if (c != 'e' && c != 'E') {
    putback(static_cast<unsigned char>(c));
    return false;
  }
  Store(c);
  const int32_t sign = nextchar();
  if (sign == '+' || sign == '-')
    Store(sign);
  else
    putback(static_cast<unsigned char>(sign));
  StoreWhile(IsDigit);
  return true;
}

// The integer classes: at most 9 digits, or 10 not above the largest int32.
int32_t IntegerOrFloating(int32_t digits) {
  if (digits > 10 || (digits == 10 && std::strcmp(tokenbuf, "2147483647") > 0))
    return kTokenFloatLiteral;
  return kTokenIntegerLiteral;
}

int32_t ScanNumber(int32_t first) {
  Store(first);
  const int32_t digits = 1 + StoreWhile(IsDigit);
  const int32_t c = nextchar();
  if (c == '.') {
    const int32_t after = nextchar();
    if (!IsDigit(after)) {
      putback('.');
      putback(static_cast<unsigned char>(after));
      return IntegerOrFloating(digits);
    }
    Store('.');
    Store(after);
    StoreWhile(IsDigit);
    ScanExponent(nextchar());
    return kTokenFloatLiteral;
  }
  if (ScanExponent(c))
    return kTokenFloatLiteral;
  return IntegerOrFloating(digits);
}

int32_t ScanDot() {
  const int32_t c = nextchar();
  if (IsDigit(c)) {
    Store('.');
    Store(c);
    StoreWhile(IsDigit);
    ScanExponent(nextchar());
    return kTokenFloatLiteral;
  }
  if (c == '.') {
    const int32_t third = nextchar();
    if (third == '.')
      return kTokenEllipsis;
    putback(static_cast<unsigned char>(third));
    return kTokenRange;
  }
  putback(static_cast<unsigned char>(c));
  return '.';
}

int32_t ScanString() {
  int32_t stored = 0;
  for (;;) {
    const int32_t c = nextchar();
    if (c == 0)
      return kTokenOpenString;
    if (c == '"') {
      const int32_t next = nextchar();
      if (next != '"') {
        putback(static_cast<unsigned char>(next));
        return kTokenStringLiteral;
      }
    }
    if (stored < kMaxStringText) {
      Store(c);
      ++stored;
    }
  }
}

int32_t ScanDirective() {
  Store('#');
  StoreWhile([](int32_t c) { return IsLetter(c) || IsDigit(c) || c == '_'; });
  static const struct {
    const char *text;
    int32_t token;
  } directives[] = {{"#pragma", kTokenPragma}, {"#if", kTokenIf},       {"#elseif", kTokenElseIf},
                    {"#else", kTokenElse},     {"#endif", kTokenEndIf}};
  for (const auto &d : directives)
    if (ustrcmpi(tokenbuf, d.text) == 0)
      return d.token;
  return '#';
}

int32_t ScanAmpersand() {
  const int32_t c = nextchar();
  const int32_t letter = std::toupper(c);
  bool (*digits)(int32_t) = nullptr;
  switch (letter) {
  case 'H':
  case 'C':
    digits = IsHexDigit;
    break;
  case 'O':
    digits = IsOctalDigit;
    break;
  case 'B':
    digits = IsBinaryDigit;
    break;
  default:
    putback(static_cast<unsigned char>(c));
    return '&';
  }
  Store('&');
  Store(letter);
  const int32_t count = StoreWhile(digits);
  if (letter != 'C')
    return kTokenIntegerLiteral;
  return count > kMaxColorDigits ? kTokenLongColorLiteral : kTokenColorLiteral;
}

// A character followed by an equals sign (or a second given character).
int32_t ScanPair(int32_t first) {
  const int32_t c = nextchar();
  if (first == ':' && c == '=')
    return kTokenColonEquals;
  if (first == '>' && c == '=')
    return kTokenGreaterEqual;
  if (first == '<' && c == '=')
    return kTokenLessEqual;
  if (first == '<' && c == '>')
    return kTokenNotEqual;
  putback(static_cast<unsigned char>(c));
  return first;
}

int32_t ScanIdentifier(int32_t first) {
  Store(first);
  StoreWhile(IsIdentifierPart);
  int32_t token = kTokenIdentifier;
  if (!tokenTruncated && tokenMap().GetEntry(string(tokenbuf), &token)) {
    if (token == kFirstKeyword + 52) // Const passes like ByVal
      token = kTokenByVal;
    return token;
  }
  if (ustrcmpi(tokenbuf, "DatabaseCursor") == 0)
    std::strcpy(tokenbuf, "RecordSet");
  else if (ustrcmpi(tokenbuf, "DatabaseCursorField") == 0)
    std::strcpy(tokenbuf, "DatabaseField");
  return kTokenIdentifier;
}

int32_t Classify(int32_t c) {
  if (c == 0)
    return kTokenEnd;
  if (c == '\'')
    return kTokenComment;
  if (c == '/') {
    const int32_t next = nextchar();
    if (next == '/')
      return kTokenComment;
    putback(static_cast<unsigned char>(next));
    return '/';
  }
  if (IsIdentifierStart(c))
    return ScanIdentifier(c);
  if (IsDigit(c))
    return ScanNumber(c);
  switch (c) {
  case '.':
    return ScanDot();
  case '"':
    return ScanString();
  case '#':
    return ScanDirective();
  case '&':
    return ScanAmpersand();
  case ':':
  case '>':
  case '<':
    return ScanPair(c);
  default:
    return c;
  }
}

} // namespace

void start_parse(const char *text) {
  line = text ? text : "";
  lpos = 0;
  putbackcount = 0;
  pendingToken = -1;
  lastTokenStart = lastTokenEnd = 0;
  ClearToken();
}

int32_t nextchar() {
  if (putbackcount > 0) {
    const unsigned char c = putbacks[0];
    putbacks[0] = putbacks[1];
    --putbackcount;
    return c;
  }
  const unsigned char c = static_cast<unsigned char>(line[lpos]);
  if (c)
    ++lpos;
  return c;
}

void putback(unsigned char c) {
  if (c == 0 || putbackcount >= 2)
    return;
  putbacks[putbackcount++] = c;
}

void putback_token(int32_t token) { pendingToken = token; }

int32_t get_token_pos() { return lpos - putbackcount; }

void last_token_span(int32_t *start, int32_t *end) {
  if (start)
    *start = lastTokenStart;
  if (end)
    *end = lastTokenEnd;
}

bool SpaceBeforeNextToken() {
  const int32_t c = nextchar();
  if (c == 0)
    return false;
  putback(static_cast<unsigned char>(c));
  return IsBlank(c);
}

void skip_to_parse_end() {
  putbackcount = 0;
  pendingToken = -1;
  lpos += int32_t(std::strlen(line + lpos));
}

int32_t yylex_ex() {
  if (pendingToken != -1) {
    const int32_t token = pendingToken;
    pendingToken = -1;
    return token;
  }
  int32_t c;
  while (IsBlank(c = nextchar())) {
  }
  putback(static_cast<unsigned char>(c));
  lastTokenStart = get_token_pos();
  ClearToken();
  const int32_t token = Classify(nextchar());
  lastTokenEnd = get_token_pos();
  return token;
}

int32_t yylex() {
  const int32_t token = yylex_ex();
  if (token != kTokenComment)
    return token;
  skip_to_parse_end();
  return kTokenEnd;
}

bool IsKeyword(const string &text) { return tokenMap().GetEntry(text, nullptr); }

int32_t numberValue(const char *text) {
  if (!text)
    return 0;
  if (text[0] != '&')
    return int32_t(uatol(text));
  const int letter = std::toupper(static_cast<unsigned char>(text[1]));
  const char *digits = text[1] ? text + 2 : text + 1;
  uint32_t value = 0;
  auto digitValue = [](char c) -> int {
    if (c >= '0' && c <= '9')
      return c - '0';
    if (c >= 'a' && c <= 'f')
      return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
      return c - 'A' + 10;
    return 99;
  };
  int base = 0;
  switch (letter) {
  case 'H':
    base = 16;
    break;
  case 'B':
    base = 2;
    break;
  case 'O':
    base = 8;
    break;
  case 'C': {
    uint32_t low = 0, top = 0;
    int count = 0;
    for (const char *p = digits; digitValue(*p) < 16; ++p, ++count) {
      if (count < kMaxColorDigits)
        low = low * 16 + uint32_t(digitValue(*p));
      else
        top = top * 16 + uint32_t(digitValue(*p));
    }
    return int32_t((low & 0xFFFFFF) | (top << 24));
  }
  default:
    return 0;
  }
  for (const char *p = digits; digitValue(*p) < base; ++p)
    value = value * uint32_t(base) + uint32_t(digitValue(*p));
  return int32_t(value);
}
