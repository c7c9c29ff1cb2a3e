// The declaration lexer: token classes, the text each leaves in tokenbuf,
// token spans, put-back and the literal values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/PluginLexer.h"

namespace {

struct Token {
  int32_t token;
  std::string text;
  bool operator==(const Token &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Token &t) {
  return out << "{" << t.token << ", \"" << t.text << "\"}";
}

// Every token of the text up to the end, with the text tokenbuf holds.
std::vector<Token> Tokens(const char *text) {
  std::vector<Token> tokens;
  start_parse(text);
  for (int guard = 0; guard < 100; ++guard) {
    const int32_t token = yylex();
    if (token == kTokenEnd)
      break;
    tokens.push_back({token, tokenbuf});
  }
  return tokens;
}

TEST(PluginLexer, TokenClasses) {
  struct Case {
    const char *text;
    std::vector<Token> tokens;
  } cases[] = {
      {"Sub Function as INTEGER", {{258, "Sub"}, {259, "Function"}, {261, "as"}, {262, "INTEGER"}}},
      {"ByVal Const ByRef", {{307, "ByVal"}, {307, "Const"}, {289, "ByRef"}}},
      {"Extends Assigns color Break", {{334, "Extends"}, {335, "Assigns"}, {302, "color"}, {342, "Break"}}},
      {"_x1 ~Tilde a~b", {{400, "_x1"}, {400, "~Tilde"}, {400, "a"}, {400, "~b"}}},
      {"\xC3\xA9t\xC3\xA9", {{400, "\xC3\xA9t\xC3\xA9"}}},
      {"DatabaseCursor databasecursorfield", {{400, "RecordSet"}, {400, "DatabaseField"}}},
      {"123456789 2147483647 2147483648 99999999999",
       {{401, "123456789"}, {401, "2147483647"}, {409, "2147483648"}, {409, "99999999999"}}},
      {"1.5 2e10 3E-2 .5 7.", {{409, "1.5"}, {409, "2e10"}, {409, "3E-2"}, {409, ".5"}, {401, "7"}, {46, ""}}},
      {"&hFF &o17 &b101 &H", {{401, "&HFF"}, {401, "&O17"}, {401, "&B101"}, {401, "&H"}}},
      {"&cFF00FF &CFF00FF00 &x", {{410, "&CFF00FF"}, {602, "&CFF00FF00"}, {38, ""}, {400, "x"}}},
      {"... .. .", {{407, ""}, {408, ""}, {46, ""}}},
      {"\"a\"\"b\" \"open", {{402, "a\"b"}, {601, "open"}}},
      {"#pragma #IF #ElseIf #else #endif #other", {{305, "#pragma"}, {310, "#IF"}, {341, "#ElseIf"},
                                                   {311, "#else"}, {312, "#endif"}, {35, "#other"}}},
      {":= >= <= <> : > < = / ( ) ,", {{403, ""}, {404, ""}, {405, ""}, {406, ""}, {58, ""}, {62, ""},
                                       {60, ""}, {61, ""}, {47, ""}, {40, ""}, {41, ""}, {44, ""}}},
      {"x ' comment", {{400, "x"}}},
      {"x // comment", {{400, "x"}}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Tokens(c.text), c.tokens) << c.text;
}

TEST(PluginLexer, CommentsAndEmptyKeywords) {
  start_parse("'rest");
  EXPECT_EQ(yylex_ex(), kTokenComment);
  start_parse("'rest");
  EXPECT_EQ(yylex(), kTokenEnd);
  EXPECT_EQ(get_token_pos(), 5);
  EXPECT_TRUE(IsKeyword(string("bYrEf")));
  EXPECT_TRUE(IsKeyword(string("#pragma")));
  EXPECT_FALSE(IsKeyword(string("")));
  EXPECT_FALSE(IsKeyword(string("Widget")));
  EXPECT_EQ(tokentable[49][0], 0);
  EXPECT_EQ(tokentable[51][0], 0);
  EXPECT_EQ(tokentable[kKeywordCount], nullptr);
}

TEST(PluginLexer, SpansPositionsAndPutBack) {
  start_parse("  Foo (x)");
  EXPECT_EQ(yylex(), kTokenIdentifier);
  int32_t start = -1, end = -1;
  last_token_span(&start, &end);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 5);
  EXPECT_TRUE(SpaceBeforeNextToken());
  EXPECT_EQ(get_token_pos(), 5);
  EXPECT_EQ(yylex(), '(');
  EXPECT_FALSE(SpaceBeforeNextToken());
  putback_token(kTokenAs);
  EXPECT_EQ(yylex(), kTokenAs);
  EXPECT_EQ(yylex(), kTokenIdentifier);
  skip_to_parse_end();
  EXPECT_EQ(yylex(), kTokenEnd);
  EXPECT_FALSE(SpaceBeforeNextToken());

  // Put-back characters come back first in, first out; a third is ignored.
  start_parse("z");
  putback('a');
  putback('b');
  putback('c');
  putback(0);
  EXPECT_EQ(get_token_pos(), -2);
  EXPECT_EQ(nextchar(), 'a');
  EXPECT_EQ(nextchar(), 'b');
  EXPECT_EQ(nextchar(), 'z');
  EXPECT_EQ(nextchar(), 0);
  EXPECT_EQ(nextchar(), 0);
}

TEST(PluginLexer, LongTokensAreCutAndMarked) {
  const std::string identifier(5000, 'a');
  start_parse(identifier.c_str());
  EXPECT_EQ(yylex(), kTokenIdentifier);
  EXPECT_TRUE(tokenTruncated);
  EXPECT_EQ(std::string(tokenbuf).size(), size_t(kTokenBufSize - 1));
  EXPECT_EQ(yylex(), kTokenEnd);

  const std::string number(3000, '7');
  start_parse(number.c_str());
  EXPECT_EQ(yylex(), kTokenFloatLiteral);
  EXPECT_TRUE(tokenTruncated);

  // String literals keep 2,046 characters and drop the rest.
  const std::string literal = "\"" + std::string(3000, 's') + "\"";
  start_parse(literal.c_str());
  EXPECT_EQ(yylex(), kTokenStringLiteral);
  EXPECT_FALSE(tokenTruncated);
  EXPECT_EQ(std::string(tokenbuf).size(), 2046u);

  start_parse("short");
  EXPECT_EQ(yylex(), kTokenIdentifier);
  EXPECT_FALSE(tokenTruncated);
}

TEST(PluginLexer, NumberValues) {
  struct Case {
    const char *text;
    int32_t value;
  } cases[] = {
      {"0", 0},
      {"2147483647", 2147483647},
      {"-12", -12},
      {"&HFF", 255},
      {"&hff", 255},
      {"&HFFFFFFFF", -1},
      {"&O17", 15},
      {"&B101", 5},
      {"&CFF00FF", 0xFF00FF},
      {"&C12345678", 0x78123456},
      {"&C", 0},
      {"&X1", 0},
      {"&", 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(numberValue(c.text), c.value) << c.text;
}

} // namespace
