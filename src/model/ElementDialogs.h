// The dialogs of the element types, as a service: the elements hand over a copy of their values
// and take them back on OK. The Qt dialogs implement it; tests install a scripted one.
#pragma once

#include <string>

#include "platform/LogFont.h"
#include "platform/Types.h"

class CFormTable;

struct TextDialogValues {
  std::string text;
  LOGFONTA font;            // the element's font description
  double pointSize = 0;     // the size chosen in the dialog, in points
  bool fontChosen = false;  // the user picked a font: its size replaces the element's height
  int alignment = 0;
  COLORREF color = 0;
};

struct LineDialogValues {
  CPoint from;
  CPoint to;
  COLORREF color = 0;
};

struct ImageDialogValues {
  std::string fileName;
  int pixelWidth = 0;
  int pixelHeight = 0;
  int displayWidth = 0;
  int displayHeight = 0;
  bool helper = false;
};

class ElementDialogService {
 public:
  virtual ~ElementDialogService() = default;
  // Each returns true when the user confirmed with OK; the values are then the dialog's.
  virtual bool RunTextDialog(TextDialogValues& values) = 0;
  virtual bool RunLineDialog(LineDialogValues& values) = 0;
  virtual bool RunImageDialog(ImageDialogValues& values) = 0;
  // Edits the working copy of a table in place.
  virtual bool RunTableDialog(CFormTable& workingCopy) = 0;
};

// The installed dialogs; without a window system every dialog is confirmed with the values as
// they were shown.
ElementDialogService& ElementDialogs();
