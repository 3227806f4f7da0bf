// Command identifiers of menus, toolbars and accelerators.
#pragma once

namespace cmd {
enum : int {
  fileNew = 57600, fileOpen = 57601, fileSave = 57603, fileSaveAs = 57604, filePrint = 57607, filePrintDirect = 57608,
  filePrintPreview = 57609, filePrintSetup = 57606, fileExportPdf = 32810, fileMru = 57616, appExit = 57665,
  editUndo = 57643, editRedo = 57644, editCut = 57635, editCopy = 57634, editPaste = 57637,
  toolSelect = 32772, toolText = 32773, toolLine = 32774, toolImage = 32776, toolTable = 32778,
  portrait = 32792, landscape = 32793,
  duplexDefault = 32794, duplexSimplex = 32795, duplexLong = 32796, duplexShort = 32797,
  editDelete = 32775, translations = 32789, toFront = 32780, toBack = 32781,
  alignLeft = 32791, alignCentreH = 32801, alignRight = 32799, alignTop = 32790,
  alignCentreV = 32802, alignBottom = 32800, distributeH = 32803, distributeV = 32804,
  viewToolbar = 59392, viewStatusBar = 59393, zoomIn = 32786, zoomOut = 32785,
  wholePage = 32798, snapToGrid = 32805, helperImages = 32806,
  help = 57666, about = 57664, nextPane = 57680, previousPane = 57681,
};
}  // namespace cmd
