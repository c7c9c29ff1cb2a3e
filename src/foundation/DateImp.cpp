#include "foundation/DateImp.h"

#include <memory>

DateImp::~DateImp() = default;

double DateImp::CurrentTotalSeconds() {
  std::unique_ptr<DateImp> now(New());
  return now->GetTotalSeconds();
}
