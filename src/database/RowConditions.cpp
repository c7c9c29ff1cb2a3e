#include "database/RowConditions.h"

#include <cstring>

#include "database/ZANTDatabase.h"
#include "foundation/ByteStrings.h"
#include "language/StringToNumber.h"

using namespace dbformat;

std::unique_ptr<qvDatabaseConstraint> CopyConstraint(const ZANTcolumnConstraints *node) {
  if (!node) return nullptr;
  auto copy = std::make_unique<qvDatabaseConstraint>();
  copy->left = CopyConstraint(node->left);
  copy->right = CopyConstraint(node->right);
  copy->op = node->op;
  copy->function = node->function;
  copy->column = string::Borrow(node->column);
  copy->value = string::Borrow(node->value);
  return copy;
}

bool ResolveConstraint(qvDatabaseConstraint *node, const ZANTTable *table) {
  if (!node) return true;
  if (node->op == kConstraintAnd || node->op == kConstraintOr)
    return ResolveConstraint(node->left.get(), table) && ResolveConstraint(node->right.get(), table);
  if (node->op > kConstraintIsNotNull) return true;
  for (const ZANTColumn &column : table->columns) {
    if (SameName(column.name, node->column)) {
      node->number = column.number;
      node->type = int16_t(column.type);
      return true;
    }
  }
  return false;
}

bool LikeMatch(const uint8_t *value, int valueLength, const uint8_t *pattern, int patternLength) {
  // Greedy matching with one resumption point: the last "%" seen. Each "%"
  // retires the earlier one, so no branch is explored twice.
  int v = 0, p = 0, starP = -1, starV = 0;
  while (v < valueLength) {
    if (p < patternLength && (pattern[p] == '_' || (pattern[p] != '%' && pattern[p] == value[v]))) {
      v++, p++;
    } else if (p < patternLength && pattern[p] == '%') {
      starP = p++;
      starV = v;
    } else if (starP >= 0) {
      p = starP + 1;
      v = ++starV;
    } else {
      return false;
    }
  }
  while (p < patternLength && pattern[p] == '%') p++;
  return p == patternLength;
}

namespace {
template <typename T>
bool Compare(uint32_t op, T a, T b) {
  switch (op) {
  case kConstraintEqual: return a == b;
  case kConstraintLess: return a < b;
  case kConstraintGreater: return a > b;
  case kConstraintLessOrEqual: return a <= b;
  case kConstraintGreaterOrEqual: return a >= b;
  case kConstraintNotEqual: return a != b;
  default: return false;
  }
}

int CompareBytes(const uint8_t *a, int aLength, const uint8_t *b, int bLength) {
  int common = aLength < bLength ? aLength : bLength;
  int order = common ? std::memcmp(a, b, size_t(common)) : 0;
  if (order) return order;
  return aLength - bLength;
}

bool CompareText(const qvDatabaseConstraint *node, std::vector<uint8_t> text) {
  if (node->function == kConstraintFunctionUpper)
    for (uint8_t &c : text) c = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
  else if (node->function == kConstraintFunctionLower)
    for (uint8_t &c : text) c = uint8_t(c >= 'A' && c <= 'Z' ? c + 32 : c);
  const auto *pattern = reinterpret_cast<const uint8_t *>(node->value.CString());
  int patternLength = node->value.Length();
  if (node->op == kConstraintLike || node->op == kConstraintNotLike) {
    bool match = LikeMatch(text.data(), int(text.size()), pattern, patternLength);
    return node->op == kConstraintLike ? match : !match;
  }
  return Compare(node->op, CompareBytes(text.data(), int(text.size()), pattern, patternLength), 0);
}

bool CompareParts(uint32_t op, const uint8_t *stored, const int16_t wanted[3]) {
  for (int i = 0; i < 3; i++) {
    int16_t have = int16_t(Load16(stored + 2 * i));
    if (have != wanted[i] || i == 2) return Compare<int>(op, have, wanted[i]);
  }
  return false;
}
} // namespace

bool EvaluateConstraint(const qvDatabaseConstraint *node, qvdbDatabase *db, const uint8_t *record,
                        int length) {
  if (!node) return true;
  if (node->op == kConstraintAnd)
    return EvaluateConstraint(node->left.get(), db, record, length) &&
           EvaluateConstraint(node->right.get(), db, record, length);
  if (node->op == kConstraintOr)
    return EvaluateConstraint(node->left.get(), db, record, length) ||
           EvaluateConstraint(node->right.get(), db, record, length);
  if (node->op > kConstraintIsNotNull || node->number < 0) return false;
  FieldRef field;
  if (!FindField(record, length, node->number, field)) return false;
  if (node->op == kConstraintIsNull) return field.type == 0;
  if (node->op == kConstraintIsNotNull) return field.type != 0;
  const char *text = node->value.CString();
  int textLength = node->value.Length();
  bool textOperator = node->op == kConstraintLike || node->op == kConstraintNotLike;
  switch (field.type) {
  case kColumnSmallInt:
  case kColumnInteger: {
    if (textOperator) return false;
    int32_t stored = field.type == kColumnSmallInt ? int16_t(Load16(field.value))
                                                   : int32_t(Load32(field.value));
    return Compare(node->op, stored, DecimalValue(text, textLength));
  }
  case kColumnFloat:
  case kColumnDouble: {
    if (textOperator) return false;
    double stored;
    if (field.type == kColumnFloat) {
      uint32_t bits = Load32(field.value);
      float single;
      std::memcpy(&single, &bits, 4);
      stored = single;
    } else {
      uint64_t bits = Load64(field.value);
      std::memcpy(&stored, &bits, 8);
    }
    return Compare(node->op, stored, StringVal(node->value.Storage()));
  }
  case kColumnDate:
  case kColumnTime: {
    if (textOperator) return false;
    int16_t wanted[3] = {};
    bool ok = field.type == kColumnDate ? ParseDateText(text, textLength, wanted)
                                        : ParseTimeText(text, textLength, wanted);
    if (!ok) wanted[0] = wanted[1] = wanted[2] = 0;
    return CompareParts(node->op, field.value, wanted);
  }
  case kColumnText:
  case kColumnBinary: {
    int n = int(Load32(field.value));
    return CompareText(node, std::vector<uint8_t>(field.value + 4, field.value + 4 + n));
  }
  case kColumnLongText:
  case kColumnLongBinary: {
    std::vector<uint8_t> bytes;
    if (!readBLOB(db, Load32(field.value), bytes)) bytes.clear();
    return CompareText(node, std::move(bytes));
  }
  default: return false;
  }
}

namespace {
// Collects the plain "=" leaves that every row must satisfy: those joined to
// the root by "and" only. Other leaves are still evaluated on each row.
bool EqualityLeaves(const qvDatabaseConstraint *node, std::vector<const qvDatabaseConstraint *> &out) {
  if (!node) return true;
  if (node->op == kConstraintAnd)
    return EqualityLeaves(node->left.get(), out) && EqualityLeaves(node->right.get(), out);
  if (node->op == kConstraintOr) return true;
  if (node->op == kConstraintEqual && node->function == kConstraintFunctionNone) out.push_back(node);
  return true;
}
} // namespace

bool SeekKeyFromConstraint(const qvDatabaseConstraint *node, const ZANTTable *table,
                           std::vector<uint8_t> &key) {
  if (!node || table->primaryKeyCount == 0) return false;
  std::vector<const qvDatabaseConstraint *> leaves;
  if (!EqualityLeaves(node, leaves)) return false;
  auto keyBuffer = std::make_unique<KeyBuffer>();
  KeyBuffer &buffer = *keyBuffer;
  for (int k = 0; k < table->primaryKeyCount; k++) {
    const ZANTColumn *column = table->Column(table->primaryKey[k]);
    if (!column) return false;
    const qvDatabaseConstraint *leaf = nullptr;
    for (const qvDatabaseConstraint *l : leaves)
      if (l->number == column->number) leaf = l;
    if (!leaf) return false;
    uint8_t value[8];
    FieldRef field;
    field.value = value;
    string text = leaf->value;
    std::vector<uint8_t> textBytes;
    if (column->type == kColumnInteger || column->type == kColumnSmallInt) {
      int32_t n = DecimalValue(text.CString(), text.Length());
      // A number a smallint cannot hold matches no row; seeking is not worth it.
      if (column->type == kColumnSmallInt && (n < -32768 || n > 32767)) return false;
      field.type = uint8_t(column->type);
      if (column->type == kColumnSmallInt) Store16(value, uint32_t(n));
      else Store32(value, uint32_t(n));
    } else if (column->type == kColumnText) {
      textBytes.resize(size_t(4 + text.Length()));
      Store32(textBytes.data(), uint32_t(text.Length()));
      if (text.Length()) std::memcpy(textBytes.data() + 4, text.CString(), size_t(text.Length()));
      field.type = kColumnText;
      field.value = textBytes.data();
      if (text.Length() > kBlockDataSize) return false;
    } else {
      return false;
    }
    buffer.bytes[buffer.length++] = 1;
    field.size = column->type == kColumnText ? 4 + text.Length() : (column->type == kColumnSmallInt ? 2 : 4);
    if (!AppendKeyForm(buffer, field)) return false;
  }
  key.assign(buffer.bytes, buffer.bytes + buffer.length);
  return true;
}
