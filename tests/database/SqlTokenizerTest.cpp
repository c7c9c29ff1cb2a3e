#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/sql/SqlTokenizer.h"

namespace {

std::vector<std::string> Tokens(const std::string &text) {
  SqlText reader(text);
  std::vector<std::string> tokens;
  for (std::string token = reader.NextToken(); !token.empty(); token = reader.NextToken())
    tokens.push_back(token);
  return tokens;
}

using List = std::vector<std::string>;

} // namespace

TEST(SqlTokenizer, SplitsStatementsIntoTokens) {
  const struct {
    std::string text;
    List tokens;
  } cases[] = {
      {"  select a", {"select", "a"}},
      {"'it''s'", {"'it's'"}},
      {"\"say \"\"hi\"\"\" x", {"\"say \"hi\"\"", "x"}},
      {"a<>b", {"a", "<>", "b"}},
      {"a<=-1", {"a", "<=", "-1"}},
      {"a>=2 a>b a<c", {"a", ">=", "2", "a", ">", "b", "a", "<", "c"}},
      {"x.y", {"x", ".", "y"}},
      {"[my col] = 1", {"my col", "=", "1"}},
      {"[open", {"open"}},
      {"'open", {"'open'"}},
      {"f(a,b)", {"f", "(", "a", ",", "b", ")"}},
      {"12.5.3abc", {"12.5.3", "abc"}},
      {"-x", {"-", "x"}},
      {"count(*)", {"count", "(", "*", ")"}},
      {"a;b", {"a;b"}},
      // Bytes from 0x80 up belong to words, also at their start.
      {"caf\xc3\xa9 = 1", {"caf\xc3\xa9", "=", "1"}},
      {"\xc3\xa9t\xc3\xa9", {"\xc3\xa9t\xc3\xa9"}},
      // Control characters and NUL are blanks.
      {std::string("a\t\n\0b", 5), {"a", "b"}},
      {"", {}},
      {"   ", {}},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Tokens(c.text), c.tokens) << c.text;
}

TEST(SqlTokenizer, ParseTokenShortensTheTextAndPushBackRereadsTheToken) {
  std::string text = "  select a";
  EXPECT_EQ(sqlParseToken(text), "select");
  EXPECT_EQ(sqlParseToken(text), "a");
  EXPECT_EQ(sqlParseToken(text), "");
  EXPECT_EQ(text, "");

  SqlText reader("[a b] c");
  EXPECT_EQ(reader.NextToken(), "a b");
  reader.PushBack();
  EXPECT_EQ(reader.NextToken(), "a b");
  EXPECT_EQ(reader.NextToken(), "c");
  EXPECT_TRUE(reader.AtEnd());
}

TEST(SqlTokenizer, ValidNamesAndIntegers) {
  for (const char *name : {"a", "Abc_1#", "my col", "caf\xc3\xa9", "\xc3\xa9t\xc3\xa9"})
    EXPECT_TRUE(sqlValidIdentifier(name)) << name;
  for (const char *name : {"", "1a", "_a", "#", "a-b", "a.b", "'a'", "a*", "(", " a"})
    EXPECT_FALSE(sqlValidIdentifier(name)) << name;
  for (const char *text : {"0", "42", "0007"})
    EXPECT_TRUE(sqlValidInteger(text)) << text;
  for (const char *text : {"", "-1", "1.5", "1a", " 1"})
    EXPECT_FALSE(sqlValidInteger(text)) << text;
}

TEST(SqlTokenizer, TrailingSemicolonsAndKeywordCase) {
  EXPECT_EQ(sqlStripTrailingSemicolons("select a;;"), "select a");
  EXPECT_EQ(sqlStripTrailingSemicolons(";"), "");
  EXPECT_TRUE(sqlEqualsIgnoringCase("SeLeCt", "select"));
  EXPECT_FALSE(sqlEqualsIgnoringCase("selects", "select"));
  // Only ASCII letters fold.
  EXPECT_FALSE(sqlEqualsIgnoringCase("\xc3\xa9", "\xc3\x89"));
  EXPECT_EQ(sqlLiteralText("'x'"), "x");
  EXPECT_EQ(sqlLiteralText("''"), "");
  EXPECT_EQ(sqlLiteralText("12"), "12");
}

TEST(SqlTokenizer, ATenMegabyteStatementIsOnePass) {
  const std::string piece = "abc, 'd''e' <= [f g] "; // five tokens
  std::string text;
  text.reserve(10 << 20);
  while (text.size() < (10u << 20))
    text += piece;
  SqlText reader(text);
  size_t count = 0;
  while (!reader.NextToken().empty())
    ++count;
  EXPECT_EQ(count, text.size() / piece.size() * 5);
}
