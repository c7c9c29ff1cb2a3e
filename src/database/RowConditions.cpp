#include "database/RowConditions.h"

#include <cstring>

#include "database/ZANTDatabase.h"
#include "foundation/ByteStrings.h"

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
  // The stored value in the form cursors hand out, then the one comparison
  // that joins use too; a BLOB compares by its bytes.
  const char *text = node->value.CString();
  int textLength = node->value.Length();
  if (field.type == kColumnLongText || field.type == kColumnLongBinary) {
    std::vector<uint8_t> bytes;
    if (!readBLOB(db, Load32(field.value), bytes)) bytes.clear();
    return ValueSatisfies(field.type, bytes.data(), int(bytes.size()), node->op, node->function, text,
                          textLength);
  }
  ColumnValue value;
  FieldColumnValue(field, value);
  return ValueSatisfies(value.type, value.data, value.length, node->op, node->function, text, textLength);
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
      int64_t n = ConditionInteger(text.CString(), text.Length());
      // A number the column cannot hold matches no row; seeking is not worth it.
      if (n < (column->type == kColumnSmallInt ? INT16_MIN : INT32_MIN) ||
          n > (column->type == kColumnSmallInt ? INT16_MAX : INT32_MAX))
        return false;
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
