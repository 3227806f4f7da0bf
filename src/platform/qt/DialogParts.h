// Parts the program's dialogs share: lists in report style whose column widths the user's
// settings remember (by section and "Col0".."ColN"), and the OK / Abbrechen button row.
#pragma once

#include <QStringList>
#include <initializer_list>

class QBoxLayout;
class QDialog;
class QTreeWidget;
class QWidget;

// A flat list with one selectable row at a time, selected as a whole, and the column headers.
QTreeWidget* MakeReportList(QWidget* parent, const QStringList& headers);

// Sets the widths from the settings; `defaults` gives the number of columns and each default.
void RestoreColumnWidths(QTreeWidget* list, const char* section, std::initializer_list<int> defaults);
void StoreColumnWidths(QTreeWidget* list, const char* section);

// Adds "OK" (and "Abbrechen") at the bottom of `layout`, wired to the dialog's accept and reject.
void AddDialogButtons(QDialog* dialog, QBoxLayout* layout, bool withCancel = true);
