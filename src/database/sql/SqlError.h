// The first error met while parsing or running one SQL statement: a code
// (200 a missing expected token, 201 a bad name, operator or value, 202 and
// up for names the database does not know) and its message. The statement
// hands it to its Database once it has given up.
#pragma once
#include <cstdint>
#include <string>

struct SqlError {
  int32_t code = 0;
  std::string message;

  // Records the error unless one is already recorded; answers false so that
  // a parser can write `return error.Fail(...)`.
  bool Fail(int32_t failCode, std::string failMessage) {
    if (code == 0) {
      code = failCode;
      message = std::move(failMessage);
    }
    return false;
  }
  bool Failed() const { return code != 0; }
};
