// Start-up and end of the editor: settings store, services, placeholder catalogue, the one
// document, the main window and the command line.
#pragma once

#include <QIcon>
#include <QStringList>
#include <QTranslator>
#include <memory>
#include <optional>

#include "platform/qt/QtImageDecoder.h"
#include "platform/qt/QtServices.h"
#include "properties/qt/QtElementDialogs.h"

class CMainFrame;
class CRecoveryManager;
class QTranslator;
class CReportDoc;

// What the command line asks for: a new layout, a file to open, or a file to print without a
// dialog (to the current printer, or to a named one) after which the program ends.
struct CommandLineInfo {
  enum class Action { open, print, printTo };
  Action action = Action::open;
  QString file;     // empty: a new layout
  QString printer;  // for printTo
  // Reads the arguments after the program name: FILE, /p FILE, /pt FILE PRINTER [DRIVER PORT];
  // the switches may also start with '-'. Empty when a switch lacks what it needs.
  static std::optional<CommandLineInfo> Parse(const QStringList& arguments);
};

class CReportApp {
 public:
  // `settingsFile`: an INI file instead of the user's settings (tests); empty for the real ones.
  explicit CReportApp(const QString& settingsFile = {});
  ~CReportApp();

  // Runs start-up; false means the program ends with `exitCode()`: the command-line file could not
  // be opened, the command line was not understood, or it asked to print and printing is done.
  bool InitInstance(const QStringList& arguments);
  int exitCode() const { return exitCode_; }
  void ExitInstance();

  // The program icon at every size it was drawn in.
  static QIcon ProgramIcon();

  CMainFrame* mainFrame() const { return frame_.get(); }
  CReportDoc* document() const { return doc_.get(); }
  int previewPages() const { return previewPages_; }
  CRecoveryManager* recovery() const { return recovery_.get(); }

 private:
  // Qt's own texts (standard buttons, file, colour, font and print dialogs) in German while this
  // application runs; nothing when Qt's German translation is not installed.
  void InstallQtGerman();

  std::unique_ptr<QtSettingsStore> settings_;
  std::unique_ptr<QTranslator> qtGerman_;
  QtMessageService messages_;
  QtClipboard clipboard_;
  QtImageDecoder images_;
  QtShellFolders folders_;
  QtWaitCursor wait_;
  QtFontList fonts_;
  QtElementDialogs dialogs_;
  std::unique_ptr<CReportDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
  std::unique_ptr<CRecoveryManager> recovery_;
  bool exited_ = false;
  int exitCode_ = 1;
  int previewPages_ = 0;
};
