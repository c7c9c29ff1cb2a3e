// The lexer of the language's tokens that reads the declarations plug-ins
// give for their methods and events. Its state is global: one text is
// scanned at a time, on the main thread.
#pragma once
#include <cstdint>

#include "foundation/String.h"

// Token numbers beyond the keywords (a keyword at index k of tokentable is
// 257 + k) and the single characters (their own codes).
enum PluginToken : int32_t {
  kTokenEnd = -1,
  kTokenSub = 258,
  kTokenFunction = 259,
  kTokenAs = 261,
  kTokenInteger = 262,
  kTokenString = 270,
  kTokenSingle = 277,
  kTokenDouble = 278,
  kTokenComment = 283,
  kTokenByRef = 289,
  kTokenBoolean = 290,
  kTokenColor = 302,
  kTokenPragma = 305,
  kTokenByVal = 307, // also Const
  kTokenIf = 310,
  kTokenElse = 311,
  kTokenEndIf = 312,
  kTokenExtends = 334,
  kTokenAssigns = 335,
  kTokenElseIf = 341,
  kTokenIdentifier = 400,
  kTokenIntegerLiteral = 401,
  kTokenStringLiteral = 402,
  kTokenColonEquals = 403,
  kTokenGreaterEqual = 404,
  kTokenLessEqual = 405,
  kTokenNotEqual = 406,
  kTokenEllipsis = 407,
  kTokenRange = 408,
  kTokenFloatLiteral = 409,
  kTokenColorLiteral = 410,
  kTokenOpenString = 601,
  kTokenLongColorLiteral = 602,
};

constexpr int kTokenBufSize = 2048;
constexpr int kKeywordCount = 86;

// The keyword texts, index k being token 257 + k, then a null entry. The two
// empty entries (306 and 308) are no keywords.
extern const char *const tokentable[kKeywordCount + 1];
// The text of the last identifier, number, string or directive token.
extern char tokenbuf[kTokenBufSize];
// Set when the last identifier or number was longer than tokenbuf holds; its
// text is cut there.
extern bool tokenTruncated;

void start_parse(const char *text);
// The next token; a comment skips the rest of the text and gives -1.
int32_t yylex();
// The next token; a comment gives 283.
int32_t yylex_ex();
// Pushes a character back (ignored for 0 and when 2 are pushed back already);
// they come back first in, first out.
void putback(unsigned char c);
// The next character, put-back ones first; 0 at the end.
int32_t nextchar();
// The next token request answers this token.
void putback_token(int32_t token);
int32_t get_token_pos();
void last_token_span(int32_t *start, int32_t *end);
// True when the next character is a blank or tab (it is put back).
bool SpaceBeforeNextToken();
void skip_to_parse_end();
bool IsKeyword(const string &text);
// The integer value of a literal's text: decimal, or &H, &O, &B, &C forms.
int32_t numberValue(const char *text);
