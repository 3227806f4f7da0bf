// Column widths of list views that the user's settings remember, by section and "Col0".."ColN".
#pragma once

#include <initializer_list>

class QTreeWidget;

// Sets the widths from the settings; `defaults` gives the number of columns and each default.
void RestoreColumnWidths(QTreeWidget* list, const char* section, std::initializer_list<int> defaults);
void StoreColumnWidths(QTreeWidget* list, const char* section);
