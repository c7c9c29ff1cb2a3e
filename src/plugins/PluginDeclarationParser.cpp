#include "plugins/PluginDeclarationParser.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "plugins/PluginClasses.h"
#include "plugins/PluginLexer.h"
#include "plugins/PluginLoader.h"
#include "foundation/TextEncodings.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

constexpr char kInvalidFormat[] = "Invalid plugin method format";
constexpr char kInvalidReturnType[] = "Invalid return type";

// A parameter while the list is read: its name is a copy from new[].
struct PendingParameter {
  char *name = nullptr;
  PropertyType *type = nullptr;
  bool byReference = false;
  bool hasDefault = false;
  bool isArray = false;
};

PropertyType *BuiltinType(int32_t token) {
  switch (token) {
  case kTokenInteger:
    return &integerType.type;
  case kTokenString:
    return &stringType.type;
  case kTokenSingle:
    return &singleType.type;
  case kTokenDouble:
    return &doubleType.type;
  case kTokenBoolean:
    return &booleanType.type;
  case kTokenColor:
    return &colourType.type;
  default:
    return nullptr;
  }
}

char *CopyName(const char *text) {
  const size_t length = std::strlen(text);
  char *copy = new char[length + 1];
  std::memcpy(copy, text, length + 1);
  return copy;
}

class DeclarationReader {
public:
  DeclarationReader(const char *text, PluginDeclaration &out) : mText(text), mOut(out) {}
  ~DeclarationReader() {
    for (PendingParameter &p : mParams)
      delete[] p.name;
  }

  bool Read() {
    start_parse(mText);
    int32_t token = Next();
    if (token == kTokenSub || token == kTokenFunction)
      token = Next();
    if (token != kTokenIdentifier)
      return Fail(kInvalidFormat);
    mOut.name = string(tokenbuf);
    token = Next();
    int32_t textStart = 0, textEnd = 0;
    if (token == '(') {
      textStart = textEnd = get_token_pos();
      if (!ReadParameters(textEnd))
        return false;
      token = Next();
    }
    if (textEnd > textStart)
      mOut.paramText.ConstructFromBuffer(mText + textStart, textEnd - textStart, kEncodingASCII);
    if (token == kTokenAs && !ReadReturnType())
      return false;
    if (mTruncated)
      return Fail(kInvalidFormat);
    Finish();
    return true;
  }

private:
  // The next token; one that did not fit tokenbuf fails the declaration.
  int32_t Next() {
    const int32_t token = yylex();
    if (tokenTruncated)
      mTruncated = true;
    return token;
  }

  bool Fail(const char *reason) {
    mOut.reason = string(reason);
    return false;
  }

  bool FailUnknownType() {
    mOut.reason = string("Unknown type \"") + string(tokenbuf) + string("\"");
    return false;
  }

  // Reads a type token: a built-in type keyword or a class name.
  PropertyType *ReadType(int32_t token, bool &unknownClass) {
    unknownClass = false;
    if (PropertyType *type = BuiltinType(token))
      return type;
    if (token != kTokenIdentifier || mTruncated)
      return nullptr;
    if (ObjectDefinition *defn = FindPluginClassDefinition(tokenbuf))
      return defn->AsType();
    unknownClass = true;
    return nullptr;
  }

  bool ReadParameters(int32_t &textEnd) {
    int32_t token = Next();
    if (token == ')')
      return true;
    for (;;) {
      PendingParameter param;
      switch (token) {
      case kTokenByRef:
        param.byReference = true;
        token = Next();
        break;
      case kTokenByVal:
        token = Next();
        break;
      case kTokenExtends:
        mExtendsIndex = int32_t(mParams.size());
        token = Next();
        break;
      case kTokenAssigns:
        mAssignsIndex = int32_t(mParams.size());
        token = Next();
        break;
      default:
        break;
      }
      if (token != kTokenIdentifier || mTruncated)
        return Fail(kInvalidFormat);
      mParams.push_back(param);
      mParams.back().name = CopyName(tokenbuf);
      token = Next();
      if (token == '(') {
        if (Next() != ')')
          return Fail(kInvalidFormat);
        mParams.back().isArray = true;
        token = Next();
      }
      if (token != kTokenAs)
        return Fail(kInvalidFormat);
      bool unknownClass = false;
      PropertyType *type = ReadType(Next(), unknownClass);
      if (!type)
        return unknownClass ? FailUnknownType() : Fail(kInvalidFormat);
      mParams.back().type = type;
      last_token_span(nullptr, &textEnd);
      token = Next();
      if (token == '=') {
        Next();
        mParams.back().hasDefault = true;
        last_token_span(nullptr, &textEnd);
        token = Next();
      }
      if (token == ')')
        return true;
      if (token != ',')
        return Fail(kInvalidFormat);
      token = Next();
      if (token == ')')
        return true;
    }
  }

  bool ReadReturnType() {
    const int32_t token = Next();
    bool unknownClass = false;
    PropertyType *type = ReadType(token, unknownClass);
    if (!type)
      return unknownClass ? FailUnknownType() : Fail(kInvalidReturnType);
    mOut.returnType = type;
    mOut.returnTypeName = string(tokenbuf);
    return true;
  }

  void Finish() {
    const int32_t count = int32_t(mParams.size());
    mOut.paramCount = count;
    if (count > 0) {
      mOut.params = new MethodParameter[size_t(count)]();
      for (int32_t i = 0; i < count; ++i) {
        PendingParameter &p = mParams[size_t(i)];
        MethodParameter &param = mOut.params[i];
        param.name = p.name;
        p.name = nullptr;
        param.type = p.isArray ? &(new ArrayPropertyType{{kArrayTypeKind}, p.type, 1})->type
                               : p.type;
        param.byReference = p.byReference ? 1 : 0;
        param.hasDefault = p.hasDefault ? 1 : 0;
      }
    }
    mOut.extends = count > 0 && mExtendsIndex == 0;
    mOut.assigns = count > 0 && mAssignsIndex == count - 1;
  }

  const char *mText;
  PluginDeclaration &mOut;
  std::vector<PendingParameter> mParams;
  int32_t mExtendsIndex = -1;
  int32_t mAssignsIndex = -1;
  bool mTruncated = false;
};

} // namespace

bool ParsePluginDeclaration(const char *declaration, PluginDeclaration &out) {
  out = PluginDeclaration();
  if (!declaration) {
    out.reason = string(kInvalidFormat);
    return false;
  }
  DeclarationReader reader(declaration, out);
  if (reader.Read())
    return true;
  // The reader frees the names it still holds.
  const string reason = out.reason;
  out = PluginDeclaration();
  out.reason = reason;
  return false;
}

void FreePluginParameters(MethodParameter *params, int32_t count) {
  if (!params)
    return;
  for (int32_t i = 0; i < count; ++i) {
    delete[] params[i].name;
    if (params[i].type && params[i].type->kind == kArrayTypeKind)
      delete reinterpret_cast<ArrayPropertyType *>(params[i].type);
  }
  delete[] params;
}

void ReportRejectedDeclaration(LoadedPlugin *plugin, const char *declaration,
                               const string &reason) {
  const char *path = plugin ? plugin->path.CString() : "";
  std::fprintf(stderr, "%s in %s:\r\r%s\n", reason.CString(), path ? path : "",
               declaration ? declaration : "");
}

bool ParsePluginMethod(LoadedPlugin *plugin, string &name, PropertyMethod &method,
                       const ZANTmethodDefinition &definition) {
  method = PropertyMethod{};
  PluginDeclaration parsed;
  if (!ParsePluginDeclaration(definition.declaration, parsed)) {
    ReportRejectedDeclaration(plugin, definition.declaration, parsed.reason);
    return false;
  }
  name = parsed.name;
  method.name = name.CString();
  method.returnType = parsed.returnType;
  method.params = parsed.params;
  method.paramCount = parsed.paramCount;
  method.methodKind = (parsed.extends ? kExtendsMethod : 0) | (parsed.assigns ? kAssignsMethod : 0);
  if (definition.function)
    method.implementation[0].code = reinterpret_cast<void *>(definition.function);
  if (definition.setter)
    method.implementation[1].code = reinterpret_cast<void *>(definition.setter);
  return true;
}
