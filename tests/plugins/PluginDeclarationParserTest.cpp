// Declarations of plug-in methods and events: what each gives (name,
// parameter text, parameters, return type, flags) or why it is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/PluginDeclarationParser.h"
#include "plugins/PluginLists.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

struct Param {
  std::string name;
  std::string type; // the type's name; "String()" for an array of String
  bool byRef = false;
  bool hasDefault = false;
  bool operator==(const Param &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Param &p) {
  return out << p.name << " As " << p.type << (p.byRef ? " ByRef" : "")
             << (p.hasDefault ? " =" : "");
}

std::vector<Param> Params(const PluginDeclaration &d) {
  std::vector<Param> params;
  for (int32_t i = 0; i < d.paramCount; ++i) {
    const MethodParameter &p = d.params[i];
    params.push_back({p.name, p.type ? p.type->GetName().CString() : "", p.byReference == 1,
                      p.hasDefault == 1});
  }
  return params;
}

// A plug-in class the declarations may name.
class PluginDeclarationParserTest : public testing::Test {
protected:
  PluginDeclarationParserTest() {
    mWidget.defn.className = string("Widget");
    mRecordSet.defn.className = string("RecordSet");
    gLoadedClassMap.AddEntry(string("Widget"), &mWidget);
    gLoadedClassMap.AddEntry(string("RecordSet"), &mRecordSet);
  }
  ~PluginDeclarationParserTest() override { ForgetPluginRegistrations(); }
  LoadedClass mWidget, mRecordSet;
};

TEST_F(PluginDeclarationParserTest, DeclarationsThatParse) {
  struct Case {
    const char *text;
    const char *name;
    const char *paramText;
    std::vector<Param> params;
    const char *returnName;
    PropertyType *returnType;
    bool extends = false;
    bool assigns = false;
  } cases[] = {
      {"Function Foo(x As Integer) As String", "Foo", "x As Integer", {{"x", "Integer"}}, "String",
       &stringType.type},
      {"Foo(x As Integer) As String", "Foo", "x As Integer", {{"x", "Integer"}}, "String",
       &stringType.type},
      {"Foo As Integer", "Foo", "", {}, "Integer", &integerType.type},
      {"Sub Paint", "Paint", "", {}, "", nullptr},
      {"Foo()", "Foo", "", {}, "", nullptr},
      {"Foo(ByRef x As Integer = 5, y() As String)", "Foo",
       "ByRef x As Integer = 5, y() As String",
       {{"x", "Integer", true, true}, {"y", "String()"}}, "", nullptr},
      {"Foo(ByVal a As Single, Const b As Double, c As Boolean, d As color)", "Foo",
       "ByVal a As Single, Const b As Double, c As Boolean, d As color",
       {{"a", "Single"}, {"b", "Double"}, {"c", "Boolean"}, {"d", "Color"}}, "", nullptr},
      {"Find(w As widget, c As DatabaseCursor) As WIDGET ' comment", "Find",
       "w As widget, c As DatabaseCursor", {{"w", "Widget"}, {"c", "RecordSet"}}, "WIDGET",
       &mWidget.defn.type},
      {"Foo(x As Integer,)", "Foo", "x As Integer", {{"x", "Integer"}}, "", nullptr},
      {"Foo(s As String = \"a, b\") As Boolean trailing text", "Foo", "s As String = \"a, b\"",
       {{"s", "String", false, true}}, "Boolean", &booleanType.type},
      {"Foo(Extends w As Widget, Assigns v As Integer)", "Foo",
       "Extends w As Widget, Assigns v As Integer", {{"w", "Widget"}, {"v", "Integer"}}, "",
       nullptr, true, true},
      {"Foo(a As Integer, Extends w As Widget)", "Foo", "a As Integer, Extends w As Widget",
       {{"a", "Integer"}, {"w", "Widget"}}, "", nullptr, false, false},
      {"Foo(Assigns v As Integer, a As Integer)", "Foo", "Assigns v As Integer, a As Integer",
       {{"v", "Integer"}, {"a", "Integer"}}, "", nullptr, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    PluginDeclaration d;
    ASSERT_TRUE(ParsePluginDeclaration(c.text, d)) << d.reason.CString();
    EXPECT_STREQ(d.name.CString(), c.name);
    EXPECT_STREQ(d.paramText.CString(), c.paramText);
    EXPECT_EQ(Params(d), c.params);
    EXPECT_EQ(d.params == nullptr, c.params.empty());
    EXPECT_STREQ(d.returnTypeName.CString(), c.returnName);
    EXPECT_EQ(d.returnType, c.returnType);
    EXPECT_EQ(d.extends, c.extends);
    EXPECT_EQ(d.assigns, c.assigns);
    FreePluginParameters(d.params, d.paramCount);
  }
}

TEST_F(PluginDeclarationParserTest, DeclarationsThatFailSayWhy) {
  const std::string tooLong(3000, 'n');
  const std::string longType = "Foo(x As " + tooLong + ")";
  struct Case {
    std::string text;
    const char *reason;
  } cases[] = {
      {"", "Invalid plugin method format"},
      {"Sub", "Invalid plugin method format"},
      {"Function 5()", "Invalid plugin method format"},
      {"Foo(x)", "Invalid plugin method format"},
      {"Foo(x As Integer", "Invalid plugin method format"},
      {"Foo(x As Integer; y As Integer)", "Invalid plugin method format"},
      {"Foo(ByRef ByVal x As Integer)", "Invalid plugin method format"},
      {"Foo(x(1) As Integer)", "Invalid plugin method format"},
      {"Foo(x As 5)", "Invalid plugin method format"},
      {"Foo(x As Gadget)", "Unknown type \"Gadget\""},
      {"Foo() As Gadget", "Unknown type \"Gadget\""},
      {"Foo() As 12", "Invalid return type"},
      {"Foo() As", "Invalid return type"},
      {tooLong, "Invalid plugin method format"},
      {"Foo(" + tooLong + " As Integer)", "Invalid plugin method format"},
      {longType, "Invalid plugin method format"},
      {"Foo(x As Integer = " + tooLong + ")", "Invalid plugin method format"},
  };
  for (const Case &c : cases) {
    PluginDeclaration d;
    EXPECT_FALSE(ParsePluginDeclaration(c.text.c_str(), d)) << c.text.substr(0, 40);
    EXPECT_STREQ(d.reason.CString(), c.reason) << c.text.substr(0, 40);
    EXPECT_EQ(d.params, nullptr);
    EXPECT_EQ(d.paramCount, 0);
  }
  PluginDeclaration d;
  EXPECT_FALSE(ParsePluginDeclaration(nullptr, d));
}

TEST_F(PluginDeclarationParserTest, ParameterArraysAreSizedToTheCount) {
  std::string text = "Many(";
  for (int i = 0; i < 40; ++i)
    text += (i ? ", p" : "p") + std::to_string(i) + " As Integer";
  text += ")";
  PluginDeclaration d;
  ASSERT_TRUE(ParsePluginDeclaration(text.c_str(), d));
  ASSERT_EQ(d.paramCount, 40);
  EXPECT_STREQ(d.params[39].name, "p39");
  FreePluginParameters(d.params, d.paramCount);
}

volatile int sCalled;
void function() { sCalled = 1; }
void setter() { sCalled = 2; }

TEST_F(PluginDeclarationParserTest, MethodTemplates) {
  struct Case {
    ZANTmethodDefinition definition;
    bool parses;
    int32_t kind;
    void *first, *second;
  } cases[] = {
      {{function, setter, "Size(Assigns v As Integer)"}, true, kAssignsMethod,
       reinterpret_cast<void *>(function), reinterpret_cast<void *>(setter)},
      {{function, nullptr, "Grow(Extends w As Widget)"}, true, kExtendsMethod,
       reinterpret_cast<void *>(function), nullptr},
      {{function, nullptr, "Both(Extends w As Widget, Assigns v As Integer)"}, true,
       kExtendsAssignsMethod, reinterpret_cast<void *>(function), nullptr},
      {{nullptr, nullptr, "Plain() As Double"}, true, kPlainMethod, nullptr, nullptr},
      {{function, nullptr, "Broken("}, false, 0, nullptr, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.definition.declaration);
    string name;
    PropertyMethod method;
    EXPECT_EQ(ParsePluginMethod(nullptr, name, method, c.definition), c.parses);
    if (!c.parses)
      continue;
    EXPECT_EQ(method.name, name.CString());
    EXPECT_EQ(method.methodKind, c.kind);
    EXPECT_EQ(method.implementation[0].code, c.first);
    EXPECT_EQ(method.implementation[1].code, c.second);
    FreePluginParameters(method.params, method.paramCount);
  }
}

} // namespace
