// The main window: menus, two toolbars, status bar and the splitter with the editor view and the
// property pane. It also holds the window side of documents: open and save dialogs, the save
// prompt, the title and the recent files.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "app/CommandTable.h"
#include "document/ReportDoc.h"
#include "view/StatusTexts.h"

class QLabel;
class CIconToolBar;
class CPropertyView;
class CReportPrinting;
class CReportView;
class CRightPaneSplitter;

class CMainFrame : public QMainWindow, public StatusTexts, public DocumentObserver {
  Q_OBJECT
 public:
  static constexpr int kRecentFiles = 4;

  explicit CMainFrame(CReportDoc& doc, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // StatusTexts
  void SetCoordinateText(std::string_view text) override;
  void SetZoomText(std::string_view text) override;
  void ShowStatusMessage(std::string_view text) override;
  // DocumentObserver
  void OnUpdate(CReportDoc& doc, int hint) override;

  // Applies the stored placement (before the window is first shown).
  void RestorePlacement();
  void SavePlacement();

  // Document commands. Each returns false when it did not happen (cancelled or failed).
  bool NewLayout();
  bool OpenLayout(const QString& path);
  bool SaveLayout();
  bool SaveLayoutAs();
  // "Als PDF exportieren...": the printed page with the sample data into a PDF file. False when
  // cancelled or the file could not be written (the user has been told).
  bool ExportPdf();
  bool ExportPdfTo(const QString& path);
  // Opens a recovery copy as a layout with unsaved changes and no file yet; saving asks for a
  // name, offering `originalPath` (the file the changes belong to).
  bool RestoreLayout(const QString& copyPath, const QString& originalPath);
  // Asks "Änderungen in %1 speichern?" for a modified layout; false = cancel.
  bool SaveModified();
  QString DocumentTitle() const;
  void UpdateTitle();

  CommandTable& commands() { return *commands_; }
  CReportView* view() const { return view_; }
  CPropertyView* propertyView() const { return propertyView_; }
  CReportPrinting* printing() const { return printing_; }
  CRightPaneSplitter* splitter() const { return splitter_; }
  CIconToolBar* mainToolBar() const { return mainToolBar_; }
  CIconToolBar* layoutToolBar() const { return layoutToolBar_; }
  QLabel* coordinatePane() const { return coordinatePane_; }
  QLabel* zoomPane() const { return zoomPane_; }
  const QStringList& recentFiles() const { return recentFiles_; }

 signals:
  // The layout was written to its file (Save, Save As).
  void layoutSaved();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The dialogs, as hooks so that tests can answer them.
  virtual QString ChooseOpenPath();
  virtual QString ChooseSavePath();
  virtual QString ChoosePdfPath();
  virtual void ShowAbout();
  virtual void ShowHelp();

 private:
  void BuildCommands();
  void BuildMenus();
  void BuildStatusBar();
  void AddRecentFile(const QString& path);
  void RebuildRecentMenu();
  void AfterDocumentChanged();

  CReportDoc& doc_;
  CommandTable* commands_;
  CReportView* view_ = nullptr;
  CPropertyView* propertyView_ = nullptr;
  CReportPrinting* printing_ = nullptr;
  CRightPaneSplitter* splitter_ = nullptr;
  CIconToolBar* mainToolBar_ = nullptr;
  CIconToolBar* layoutToolBar_ = nullptr;
  QLabel* coordinatePane_ = nullptr;
  QLabel* zoomPane_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* recentAnchor_ = nullptr;
  QList<QAction*> recentActions_;
  QStringList recentFiles_;
  QString suggestedSavePath_;  // a restored layout's original file, offered by Save As
  bool clipboardOffersElements_ = false;
};
