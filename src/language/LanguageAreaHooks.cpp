// What start-up calls in the language area: the builders of its classes and
// Val. Filled while the program's static objects are made, before main.
#include "language/Collection.h"
#include "language/DateClass.h"
#include "language/Dictionary.h"
#include "language/LineEndings.h"
#include "language/MemoryBlock.h"
#include "language/Random.h"
#include "language/StringToNumber.h"
#include "language/TextEncodingClasses.h"
#include "language/Variant.h"
#include "language/console/ConsoleApplication.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/UpperAreaHooks.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &classes = BuiltinClassHooksToFill();
  classes.ConsoleApplicationClass = ConsoleApplicationClass;
  classes.StdInputStreamClass = StdInputStreamClass;
  classes.StdOutputStreamClass = StdOutputStreamClass;
  classes.ServiceApplicationClass = ServiceApplicationClass;
  classes.CollectionElementClass = CollectionElementClass;
  classes.CollectionClass = CollectionClass;
  classes.DateClass = DateClass;
  classes.MemoryBlockClass = MemoryBlockClass;
  classes.VariantClass = VariantClass;
  classes.DictionaryClass = DictionaryClass;
  classes.InitBitwiseClass = InitBitwiseClass;
  classes.RandomClass = RandomClass;
  classes.EndOfLineClass = EndOfLineClass;
  classes.TextEncodingClass = TextEncodingClass;
  classes.TextConverterClass = TextConverterClass;
  classes.EncodingsClass = EncodingsClass;
  UpperAreaHooksToFill().stringVal = StringVal;
  return true;
}();

} // namespace
