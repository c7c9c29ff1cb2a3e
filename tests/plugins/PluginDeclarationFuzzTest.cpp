// Random and mutated declarations through the parser and the lexer: each
// ends in a result or a refusal with a reason, within a bounded number of
// tokens. Run under the sanitizers (make test SANITIZE=address) this also
// shows no memory fault and, through the leak check, no lost name copy.
// PLUGIN_FUZZ_INPUTS sets the number of inputs (50,000 by default; a
// million on demand).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "plugins/PluginDeclarationParser.h"
#include "plugins/PluginLexer.h"
#include "plugins/PluginLists.h"

namespace {

const char *const kSeeds[] = {
    "Function Find(name As String, ByRef pos As Integer = 0) As Boolean",
    "Sub Paint(g As Widget)",
    "Foo(ByRef x As Integer = 5, y() As String)",
    "Size(Extends w As Widget, Assigns v As Double) As Single",
    "Event Changed(Const c As color = &cFF00FF, s As String = \"a\"\"b\")",
    "Foo As Integer ' note",
    "Bar() As DatabaseCursor // note",
};

const char *const kPieces[] = {
    "(",       ")",      ",",       "=",      "As",      "ByRef",  "ByVal", "Const",  "Extends",
    "Assigns", "Sub",    "Function", "Integer", "String", "Widget", "Gadget", "()",     "...",
    "..",      ".5",     "&H",      "&CFFFFFFFF", "&b", "2147483648", "\"", "'",      "//",
    "#pragma", "#if",    ":=",      "<>",     "~x",      "\xc3\xa9", "\x80", " ",     "\t"};

std::string Mutate(std::string text, std::mt19937 &random) {
  const int steps = 1 + static_cast<int>(random() % 3);
  for (int i = 0; i < steps; ++i) {
    const size_t at = text.empty() ? 0 : random() % (text.size() + 1);
    switch (random() % 6) {
    case 0: // change a byte (never to the terminator)
      if (!text.empty())
        text[random() % text.size()] = static_cast<char>(1 + random() % 255);
      break;
    case 1:
      text.erase(at, random() % 12);
      break;
    case 2:
      text.insert(at, kPieces[random() % std::size(kPieces)]);
      break;
    case 3:
      text.resize(at);
      break;
    case 4: // a long run, past what tokenbuf holds
      text.insert(at, std::string(random() % 2 ? 2100 : 40, random() % 2 ? 'n' : '7'));
      break;
    default:
      text.insert(at, text.substr(at, random() % 20));
      break;
    }
  }
  return text;
}

std::string RandomText(std::mt19937 &random) {
  std::string text;
  for (int n = static_cast<int>(random() % 25); n > 0; --n)
    text += std::string(kPieces[random() % std::size(kPieces)]) + (random() % 2 ? " " : "");
  return text;
}

class PluginDeclarationFuzz : public testing::Test {
protected:
  PluginDeclarationFuzz() {
    mWidget.defn.className = string("Widget");
    gLoadedClassMap.AddEntry(string("Widget"), &mWidget);
  }
  ~PluginDeclarationFuzz() override { ForgetPluginRegistrations(); }
  LoadedClass mWidget;
};

TEST_F(PluginDeclarationFuzz, EveryInputEndsInAResultOrARefusal) {
  const char *setting = std::getenv("PLUGIN_FUZZ_INPUTS");
  const long inputs = setting ? std::atol(setting) : 50000;
  std::mt19937 random(45);
  long parsed = 0;
  for (long i = 0; i < inputs; ++i) {
    const std::string text = i % 4 == 0 ? RandomText(random)
                                        : Mutate(kSeeds[random() % std::size(kSeeds)], random);
    PluginDeclaration d;
    if (ParsePluginDeclaration(text.c_str(), d)) {
      ++parsed;
      ASSERT_FALSE(d.name.IsEmpty()) << text;
      ASSERT_GE(d.paramCount, 0);
      ASSERT_EQ(d.params == nullptr, d.paramCount == 0) << text;
      for (int32_t p = 0; p < d.paramCount; ++p)
        ASSERT_NE(d.params[p].type, nullptr) << text;
      FreePluginParameters(d.params, d.paramCount);
    } else {
      ASSERT_FALSE(d.reason.IsEmpty()) << text;
      ASSERT_EQ(d.params, nullptr) << text;
    }

    // The lexer alone reaches the end within one token per character.
    start_parse(text.c_str());
    size_t tokens = 0;
    while (yylex_ex() != kTokenEnd)
      ASSERT_LE(++tokens, text.size()) << text;
  }
  // The mutations keep a fair share of the inputs valid.
  EXPECT_GT(parsed, inputs / 20);
}

} // namespace
