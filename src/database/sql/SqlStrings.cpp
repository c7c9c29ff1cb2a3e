#include "database/sql/SqlStrings.h"

#include "foundation/TextEncodings.h"

string sqlString(std::string_view text) {
  string result;
  result.ConstructFromBuffer(text.data(), static_cast<int>(text.size()));
  if (!result.IsEmpty())
    result.SetEncoding(kEncodingUTF8);
  return result;
}

stringStorage *sqlStorage(std::string_view text) { return sqlString(text).ExtractStringStorage(); }

std::string sqlStdString(const stringStorage *text) {
  return text ? std::string(stringStorage::CString(text), stringStorage::Length(text)) : std::string();
}

std::string sqlQuoted(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c;
    if (c == '\'')
      quoted += '\'';
  }
  return quoted + "'";
}
