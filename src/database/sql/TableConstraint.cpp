#include "database/sql/TableConstraint.h"

#include "database/DatabaseInterface.h"
#include "database/sql/SqlStrings.h"

namespace {

ZANTcolumnConstraints *NewNode(uint32_t op, uint32_t function) {
  return new ZANTcolumnConstraints{nullptr, nullptr, op, function, nullptr, nullptr};
}

} // namespace

bool BuildTableConstraint(const selectConstraint *tree, SqlError &error, ZANTcolumnConstraints *&out) {
  out = nullptr;
  if (!tree)
    return true;
  if (tree->IsLeaf()) {
    if (tree->rightKind == kSqlRightColumn)
      return error.Fail(201, "Column comparison not supported here: " + tree->rightText);
    out = NewNode(tree->op, tree->function);
    out->column = sqlStorage(tree->column);
    if (tree->op != kSqlIsNull && tree->op != kSqlIsNotNull)
      out->value = sqlStorage(tree->rightText);
    return true;
  }
  ZANTcolumnConstraints *node = NewNode(tree->op, tree->function);
  if (!BuildTableConstraint(tree->left.get(), error, node->left) ||
      !BuildTableConstraint(tree->right.get(), error, node->right)) {
    disposeZANTcolumnConstraint(node);
    return false;
  }
  out = node;
  return true;
}
