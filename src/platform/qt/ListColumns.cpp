#include "platform/qt/ListColumns.h"

#include <QTreeWidget>
#include <algorithm>
#include <string>

#include "platform/Services.h"

namespace {
std::string Key(int column) { return "Col" + std::to_string(column); }
// A width from a damaged settings file must not hide a column or make it absurdly wide.
constexpr int kMinWidth = 10;
constexpr int kMaxWidth = 4000;
}  // namespace

void RestoreColumnWidths(QTreeWidget* list, const char* section, std::initializer_list<int> defaults) {
  int column = 0;
  for (const int d : defaults) {
    const int w = services().Settings().GetInt(section, Key(column), d);
    list->setColumnWidth(column, std::clamp(w, kMinWidth, kMaxWidth));
    ++column;
  }
}

void StoreColumnWidths(QTreeWidget* list, const char* section) {
  for (int column = 0; column < list->columnCount(); ++column)
    services().Settings().WriteInt(section, Key(column), list->columnWidth(column));
}
