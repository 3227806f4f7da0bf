#include "app/MainFrame.h"

#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "app/CommandIds.h"
#include "app/IconToolBar.h"
#include "app/OpenLayoutDialog.h"
#include "app/RightPaneSplitter.h"
#include "document/Actions.h"
#include "placeholders/qt/TranslationDialog.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/WindowPlacement.h"
#include "properties/qt/PropertyView.h"
#include "view/qt/ReportPrinting.h"
#include "view/qt/ReportView.h"

namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toStdString(); }

constexpr const char* kIdleText = "Bereit";

// The arrangement of the bars: the toolbars' docking state and whether the status bar shows.
constexpr const char* kBarSection = "MainBar";
constexpr const char* kBarStateEntry = "State";
constexpr const char* kStatusBarEntry = "StatusBar";

}  // namespace

CMainFrame::CMainFrame(CReportDoc& doc, QWidget* parent)
    : QMainWindow(parent), doc_(doc), commands_(new CommandTable(this)) {
  setObjectName("MainFrame");
  splitter_ = new CRightPaneSplitter(this);
  splitter_->rightPaneWidth = services().Settings().GetInt("Eigenschaften", "Breite", 300);
  view_ = new CReportView(doc_, this, splitter_);
  printing_ = new CReportPrinting(doc_, *view_, this);
  propertyView_ = new CPropertyView(doc_, splitter_);
  splitter_->SetPanes(view_, propertyView_);
  setCentralWidget(splitter_);

  BuildCommands();
  BuildMenus();

  mainToolBar_ = new CIconToolBar("Symbolleiste", this);
  mainToolBar_->setObjectName("MainBar");
  mainToolBar_->SetButtons(CIconToolBar::MainBarButtons(), [this](int id) { return commands_->Action(id); });
  layoutToolBar_ = new CIconToolBar("Layout", this);
  layoutToolBar_->setObjectName("LayoutBar");
  layoutToolBar_->SetButtons(CIconToolBar::LayoutBarButtons(), [this](int id) { return commands_->Action(id); });
  addToolBar(Qt::TopToolBarArea, mainToolBar_);
  addToolBar(Qt::TopToolBarArea, layoutToolBar_);
  mainToolBar_->RebuildImages();
  layoutToolBar_->RebuildImages();

  BuildStatusBar();

  const std::string state = services().Settings().GetString(kBarSection, kBarStateEntry, "");
  if (!state.empty()) restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
  statusBar()->setVisible(services().Settings().GetInt(kBarSection, kStatusBarEntry, 1) != 0);

  for (int i = 1; i <= kRecentFiles; ++i) {
    const std::string f = services().Settings().GetString("Recent File List", "File" + std::to_string(i), "");
    if (!f.empty()) recentFiles_.append(Q(f));
  }
  RebuildRecentMenu();

  doc_.AddObserver(this);
  // Paste follows the clipboard, also when another program changes it. The answer is kept, so
  // that refreshing the commands never has to ask another program for its data.
  const auto followClipboard = [this] {
    clipboardOffersElements_ = doc_.CanPaste();
    commands_->UpdateOne(cmd::editPaste);
  };
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, followClipboard);
  followClipboard();
  UpdateTitle();
  commands_->UpdateAll();
}

CMainFrame::~CMainFrame() { doc_.RemoveObserver(this); }

// ---- commands ----------------------------------------------------------------------------------

void CMainFrame::BuildCommands() {
  using R = CommandTable::Rules;
  CommandTable& c = *commands_;
  const auto key = [](const char* k) { return QKeySequence(k); };

  c.Add(cmd::fileNew, "&Neu\tStrg+N", R{[this] { NewLayout(); }}, {key("Ctrl+N")},
        "Erstellt ein neues Layout\nNeu");
  c.Add(cmd::fileOpen, "Ö&ffnen...\tStrg+O", R{[this] {
          const QString path = ChooseOpenPath();
          if (!path.isEmpty()) OpenLayout(path);
        }},
        {key("Ctrl+O")}, "Öffnet ein vorhandenes Layout\nÖffnen");
  c.Add(cmd::fileSave, "S&peichern\tStrg+S", R{[this] { SaveLayout(); }}, {key("Ctrl+S")},
        "Speichert das Layout\nSpeichern");
  c.Add(cmd::fileSaveAs, "Speichern &unter...", R{[this] { SaveLayoutAs(); }}, {},
        "Speichert das Layout unter einem neuen Namen\nSpeichern unter");
  c.Add(cmd::filePrint, "&Drucken...\tStrg+P", R{[this] { printing_->Print(); }}, {key("Ctrl+P")},
        "Druckt das Layout mit Beispieldaten\nDrucken");
  c.Add(cmd::filePrintDirect, "Direkt drucken", R{[this] { printing_->PrintDirect(); }}, {},
        "Druckt das Layout ohne Rückfrage\nDirekt drucken");
  c.Add(cmd::filePrintPreview, "Sei&tenansicht", R{[this] { printing_->Preview(); }}, {},
        "Zeigt das Layout mit Beispieldaten so, wie es gedruckt wird\nSeitenansicht");
  c.Add(cmd::filePrintSetup, "Drucker&einrichtung...", R{[this] { printing_->PrinterSetup(); }}, {},
        "Wählt den Drucker und die Papiereinstellungen\nDruckereinrichtung");
  c.Add(cmd::fileExportPdf, "Als &PDF exportieren...", R{[this] { ExportPdf(); }}, {},
        "Speichert die gedruckte Seite mit Beispieldaten als PDF-Datei\nAls PDF exportieren");
  c.Add(cmd::appExit, "&Beenden", R{[this] { close(); }}, {}, "Beendet Veltrok\nBeenden");

  c.Add(cmd::editUndo, "&Rückgängig\tStrg+Z",
        R{[this] { doc_.Undo(); }, [this] { return doc_.history.CanUndo(); }, {},
          [this] { return Q(doc_.history.UndoMenuText()); }},
        {key("Ctrl+Z"), key("Alt+Backspace")}, "Macht die letzte Aktion rückgängig.\nRückgängig");
  c.Add(cmd::editRedo, "&Wiederherstellen\tStrg+Y",
        R{[this] { doc_.Redo(); }, [this] { return doc_.history.CanRedo(); }, {},
          [this] { return Q(doc_.history.RedoMenuText()); }},
        {key("Ctrl+Y"), key("Ctrl+Shift+Z")}, "Wiederholt die vorher rückgängig gemachte Aktion.\nWiederherstellen");

  const struct {
    int id;
    const char* label;
    CReportDoc::Tool slot;
    const char* prompt;
  } tools[] = {
      {cmd::toolSelect, "&Auswählen", CReportDoc::selectToolSlot, "Zum Aktivieren von Objekten\nAuswählen"},
      {cmd::toolText, "Neuer Text", CReportDoc::newTextToolSlot, "Fügt einen neuen Text ein\nText"},
      {cmd::toolLine, "Neue Linie", CReportDoc::newLineToolSlot, "Fügt eine neue Linie ein\nLinie"},
      {cmd::toolImage, "Neues Bild", CReportDoc::newImageToolSlot, "Fügt ein neues Bild ein\nBild"},
      {cmd::toolTable, "Neue Tabelle", CReportDoc::newTableToolSlot, "Fügt eine neue Tabelle ein\nTabelle"},
  };
  for (const auto& t : tools) {
    const CReportDoc::Tool slot = t.slot;
    c.Add(t.id, t.label,
          R{[this, slot] { doc_.SelectTool(slot); }, {}, [this, slot] { return doc_.IsCurrentTool(slot); }}, {},
          t.prompt);
  }

  c.Add(cmd::portrait, "Hochformat",
        R{[this] { doc_.SetOrientation(true); }, {}, [this] { return view_->IsPortraitPage(); }}, {},
        "Hochformat\nDefiniert das Layout als Hochformat");
  c.Add(cmd::landscape, "Querformat",
        R{[this] { doc_.SetOrientation(false); }, {}, [this] { return !view_->IsPortraitPage(); }}, {},
        "Querformat\nDefiniert das Layout als Querformat");
  const struct {
    int id;
    const char* label;
    const char* prompt;
  } duplex[] = {
      {cmd::duplexDefault, "&Druckervorgabe", "Beim Drucken die Einstellung des Druckers verwenden\nDruckervorgabe"},
      {cmd::duplexSimplex, "&Einseitig", "Das Layout einseitig drucken\nEinseitig"},
      {cmd::duplexLong, "Doppelseitig, &lange Kante", "Das Layout doppelseitig drucken, Bindung an der langen Kante\nDoppelseitig, lange Kante"},
      {cmd::duplexShort, "Doppelseitig, &kurze Kante", "Das Layout doppelseitig drucken, Bindung an der kurzen Kante\nDoppelseitig, kurze Kante"},
  };
  auto* duplexGroup = new QActionGroup(this);
  for (int mode = 0; mode < 4; ++mode) {
    QAction* a = c.Add(duplex[mode].id, duplex[mode].label,
                       R{[this, mode] { doc_.SetDuplexMode(mode); }, {},
                         [this, mode] { return doc_.elements.duplexMode == mode; }, {}, true},
                       {}, duplex[mode].prompt);
    duplexGroup->addAction(a);
  }

  c.Add(cmd::editDelete, "Löschen\tEntf", R{[this] { doc_.DeleteSelection(); }, [this] { return doc_.CanDelete(); }},
        {key("Delete")}, "Löscht die selektierten Elemente");
  c.Add(cmd::editCut, "&Ausschneiden\tStrg+X", R{[this] { doc_.CutSelection(); }, [this] { return doc_.CanDelete(); }},
        {key("Ctrl+X"), key("Shift+Delete")},
        "Entfernt die Markierung und überträgt sie in die Zwischenablage.\nAusschneiden");
  c.Add(cmd::editCopy, "&Kopieren\tStrg+C", R{[this] { doc_.CopySelection(); }, [this] { return doc_.CanDelete(); }},
        {key("Ctrl+C"), key("Ctrl+Insert")},
        "Kopiert die Markierung und überträgt sie in die Zwischenablage.\nKopieren");
  c.Add(cmd::editPaste, "E&infügen\tStrg+V", R{[this] { doc_.Paste(); }, [this] { return clipboardOffersElements_; }},
        {key("Ctrl+V"), key("Shift+Insert")}, "Fügt den Inhalt der Zwischenablage ein.\nEinfügen");
  c.Add(cmd::translations, "Übersetzungen", R{[this] { CCodeTranslations(this).exec(); }}, {},
        "Bearbeitet die Übersetzungen der Platzhalter\nÜbersetzungen");

  c.Add(cmd::toFront, "nach vorne bringen", R{[this] { doc_.OrderSelection(false); }, [this] { return doc_.CanDelete(); }},
        {}, "Bringt das selektierte Element nach vorne\nnach vorne bringen");
  c.Add(cmd::toBack, "nach hinten legen", R{[this] { doc_.OrderSelection(true); }, [this] { return doc_.CanDelete(); }},
        {}, "legt das selektierte Element nach hinten\nnach hinten bringen");
  const struct {
    int id;
    const char* label;
    int mode;
    const char* prompt;
  } align[] = {
      {cmd::alignLeft, "&Links", CAlignAction::left, "Richtet die ausgewählten Elemente an der linken Kante des zuletzt ausgewählten aus\nLinks ausrichten"},
      {cmd::alignCentreH, "&Horizontal zentrieren", CAlignAction::centreHorizontal, "Zentriert die ausgewählten Elemente waagrecht zum zuletzt ausgewählten\nHorizontal zentrieren"},
      {cmd::alignRight, "&Rechts", CAlignAction::right, "Richtet die ausgewählten Elemente an der rechten Kante des zuletzt ausgewählten aus\nRechts ausrichten"},
      {cmd::alignTop, "&Oben", CAlignAction::top, "Richtet die ausgewählten Elemente an der Oberkante des zuletzt ausgewählten aus\nOben ausrichten"},
      {cmd::alignCentreV, "&Vertikal zentrieren", CAlignAction::centreVertical, "Zentriert die ausgewählten Elemente senkrecht zum zuletzt ausgewählten\nVertikal zentrieren"},
      {cmd::alignBottom, "&Unten", CAlignAction::bottom, "Richtet die ausgewählten Elemente an der Unterkante des zuletzt ausgewählten aus\nUnten ausrichten"},
      {cmd::distributeH, "Horizontal &verteilen", CAlignAction::distributeHorizontal, "Verteilt die ausgewählten Elemente waagrecht mit gleichen Abständen\nHorizontal verteilen"},
      {cmd::distributeV, "Vertikal v&erteilen", CAlignAction::distributeVertical, "Verteilt die ausgewählten Elemente senkrecht mit gleichen Abständen\nVertikal verteilen"},
  };
  for (const auto& a : align) {
    const int mode = a.mode;
    const bool distribute = mode >= CAlignAction::distributeHorizontal;
    c.Add(a.id, a.label,
          R{[this, mode] { doc_.AlignSelection(mode); },
            [this, distribute] { return distribute ? doc_.CanDistribute() : doc_.CanAlign(); }},
          {}, a.prompt);
  }

  c.Add(cmd::viewToolbar, "&Symbolleiste",
        R{[this] { mainToolBar_->setVisible(!mainToolBar_->isVisible()); }, {},
          [this] { return mainToolBar_ && !mainToolBar_->isHidden(); }},
        {}, "Blendet die Symbolleiste ein oder aus\nSymbolleiste");
  c.Add(cmd::viewStatusBar, "S&tatusleiste",
        R{[this] { statusBar()->setHidden(!statusBar()->isHidden()); }, {},
          [this] { return !statusBar()->isHidden(); }},
        {}, "Blendet die Statusleiste ein oder aus\nStatusleiste");
  c.Add(cmd::zoomIn, "Ver&größern", R{[this] { view_->ZoomIn(); }, [this] { return view_->CanZoomIn(); }}, {},
        "Vergrößert die Ansicht\nVergrößern");
  c.Add(cmd::zoomOut, "Ver&kleinern", R{[this] { view_->ZoomOut(); }, [this] { return view_->CanZoomOut(); }}, {},
        "Verkleinert die Ansicht\nVerkleinern");
  c.Add(cmd::wholePage, "&Ganze Seite\tStrg+0", R{[this] { view_->WholePage(); }, [this] { return view_->CanZoomOut(); }},
        {key("Ctrl+0"), QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_0))}, "Zeigt die ganze Seite\nGanze Seite");
  c.Add(cmd::snapToGrid, "Am &Raster ausrichten",
        R{[this] { view_->ToggleSnapToGrid(); }, {}, [this] { return view_->snapToGrid; }}, {},
        "Richtet verschobene Elemente am Raster aus\nAm Raster ausrichten");
  c.Add(cmd::helperImages, "&Hilfsbilder anzeigen",
        R{[this] { doc_.SetHelperImagesVisible(!doc_.elements.showHelperImages); }, {},
          [this] { return doc_.elements.showHelperImages; }},
        {}, "Blendet die Hilfsbilder ein oder aus; sie werden nie gedruckt\nHilfsbilder anzeigen");

  c.Add(cmd::help, "&Hilfe\tF1", R{[this] { ShowHelp(); }}, {key("F1")}, "Zeigt die Hilfe\nHilfe");
  c.Add(cmd::about, "Inf&o über Veltrok...", R{[this] { ShowAbout(); }}, {},
        "Zeigt Programminformationen an\nInfo über Veltrok");
  c.Add(cmd::nextPane, "Nächster Bereich", R{[this] { focusNextChild(); }}, {key("F6")});
  c.Add(cmd::previousPane, "Voriger Bereich", R{[this] { focusPreviousChild(); }}, {key("Shift+F6")});
  addAction(c.Action(cmd::nextPane));
  addAction(c.Action(cmd::previousPane));
}

void CMainFrame::BuildMenus() {
  CommandTable& c = *commands_;
  QMenuBar* bar = menuBar();
  const auto fill = [&c](QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
      if (id == 0)
        menu->addSeparator();
      else
        menu->addAction(c.Action(id));
    }
  };
  const auto refresh = [this](QMenu* menu) {
    connect(menu, &QMenu::aboutToShow, this, [this] { commands_->UpdateAll(); });
  };

  fileMenu_ = bar->addMenu("&Datei");
  fill(fileMenu_, {cmd::fileNew, cmd::fileOpen, cmd::fileSave, cmd::fileSaveAs, 0, cmd::filePrint,
                   cmd::filePrintPreview, cmd::filePrintSetup, cmd::fileExportPdf, 0});
  recentAnchor_ = fileMenu_->addAction("Letzte Datei");
  recentAnchor_->setEnabled(false);
  fileMenu_->addSeparator();
  fileMenu_->addAction(c.Action(cmd::appExit));
  refresh(fileMenu_);

  QMenu* edit = bar->addMenu("&Bearbeiten");
  fill(edit, {cmd::editUndo, cmd::editRedo, 0, cmd::toolSelect, cmd::toolText, cmd::toolLine, cmd::toolImage,
              cmd::toolTable, 0, cmd::portrait, cmd::landscape});
  QMenu* duplex = edit->addMenu("&Doppelseitiger Druck");
  fill(duplex, {cmd::duplexDefault, cmd::duplexSimplex, cmd::duplexLong, cmd::duplexShort});
  fill(edit, {0, cmd::editDelete, cmd::editCut, cmd::editCopy, cmd::editPaste, 0, cmd::translations});
  refresh(edit);
  refresh(duplex);

  QMenu* order = bar->addMenu("Reihenfolge");
  fill(order, {cmd::toFront, cmd::toBack});
  refresh(order);

  QMenu* align = bar->addMenu("A&usrichten");
  fill(align, {cmd::alignLeft, cmd::alignCentreH, cmd::alignRight, 0, cmd::alignTop, cmd::alignCentreV,
               cmd::alignBottom, 0, cmd::distributeH, cmd::distributeV});
  refresh(align);

  QMenu* view = bar->addMenu("&Ansicht");
  fill(view, {cmd::viewToolbar, cmd::viewStatusBar, 0, cmd::zoomIn, cmd::zoomOut, cmd::wholePage, 0,
              cmd::snapToGrid, cmd::helperImages});
  refresh(view);

  QMenu* help = bar->addMenu("&?");
  fill(help, {cmd::help, 0, cmd::about});
  refresh(help);
}

void CMainFrame::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  const QFontMetrics fm(bar->font());
  coordinatePane_ = new QLabel(bar);
  coordinatePane_->setMinimumWidth(fm.horizontalAdvance("X 0000   Y 0000") + 8);
  zoomPane_ = new QLabel(bar);
  zoomPane_->setMinimumWidth(fm.horizontalAdvance("Zoom 1000 %") + 8);
  bar->addPermanentWidget(coordinatePane_);
  bar->addPermanentWidget(zoomPane_);
  // Lock-key indicators: Qt cannot read the lock state, so the panes stay in the grey of an
  // inactive indicator.
  for (const char* text : {"UF", "NUM", "RF"}) {
    auto* label = new QLabel(text, bar);
    label->setEnabled(false);
    bar->addPermanentWidget(label);
  }
  bar->showMessage(kIdleText);
  connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& m) {
    if (m.isEmpty()) bar->showMessage(kIdleText);
  });
}

// ---- status texts ------------------------------------------------------------------------------

void CMainFrame::SetCoordinateText(std::string_view text) {
  if (!coordinatePane_) return;
  coordinatePane_->setText(Q(text));
  coordinatePane_->repaint();
}

void CMainFrame::SetZoomText(std::string_view text) {
  if (!zoomPane_) return;
  zoomPane_->setText(Q(text));
  zoomPane_->repaint();
  // Every zoom change, from a command or the wheel, passes here: the zoom commands follow it.
  commands_->UpdateAll();
}

void CMainFrame::ShowStatusMessage(std::string_view text) {
  statusBar()->showMessage(text.empty() ? QString(kIdleText) : Q(text));
}

void CMainFrame::OnUpdate(CReportDoc&, int) {
  commands_->UpdateAll();
  UpdateTitle();
}

// ---- placement ---------------------------------------------------------------------------------

void CMainFrame::RestorePlacement() {
  const auto placement = WindowPlacement::Parse(services().Settings().GetString("Settings", "MainFrame", ""));
  if (!placement) {
    // First start: a window that shows the page and the pane side by side, within the screen.
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 900);
    resize(std::min(1280, screenArea.width() * 9 / 10), std::min(900, screenArea.height() * 9 / 10));
    return;
  }
  // A screen the window was on may be gone: it comes back on one that is there.
  std::vector<CRect> workAreas;
  for (const QScreen* s : QGuiApplication::screens()) {
    const QRect a = s->availableGeometry();
    workAreas.emplace_back(a.left(), a.top(), a.left() + a.width(), a.top() + a.height());
  }
  const CRect r = PlaceOnScreens(placement->normalPosition, workAreas);
  if (r.Width() > 0 && r.Height() > 0) setGeometry(r.left, r.top, r.Width(), r.Height());
  if (placement->showCmd == WindowPlacement::kShowMaximized) setWindowState(windowState() | Qt::WindowMaximized);
  if (placement->showCmd == WindowPlacement::kShowMinimized) setWindowState(windowState() | Qt::WindowMinimized);
}

void CMainFrame::SavePlacement() {
  WindowPlacement p;
  const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
  p.normalPosition = CRect(normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height());
  p.showCmd = isMaximized() ? WindowPlacement::kShowMaximized
                            : (isMinimized() ? WindowPlacement::kShowMinimized : WindowPlacement::kShowNormal);
  services().Settings().WriteString("Settings", "MainFrame", p.Format());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // Placement, bar state and pane width are kept even when the user then cancels.
  SavePlacement();
  services().Settings().WriteString(kBarSection, kBarStateEntry, saveState().toBase64().toStdString());
  services().Settings().WriteInt(kBarSection, kStatusBarEntry, statusBar()->isHidden() ? 0 : 1);
  services().Settings().WriteInt("Eigenschaften", "Breite", splitter_->rightPaneWidth);
  if (!SaveModified()) {
    event->ignore();
    return;
  }
  event->accept();
}

// ---- documents ---------------------------------------------------------------------------------

QString CMainFrame::DocumentTitle() const {
  if (doc_.PathName().empty()) return "Unbenannt";
  return QFileInfo(Q(PathToUtf8(doc_.PathName()))).fileName();
}

void CMainFrame::UpdateTitle() { setWindowTitle(DocumentTitle() + " - Veltrok"); }

bool CMainFrame::SaveModified() {
  if (!doc_.IsModified()) return true;
  const QString prompt = QString("Änderungen in %1 speichern?").arg(DocumentTitle());
  switch (services().Messages().Show(S(prompt), MessageIcon::exclamation, MessageButtons::yesNoCancel)) {
    case MessageResult::yes: return SaveLayout();
    case MessageResult::no: return true;
    default: return false;
  }
}

void CMainFrame::AfterDocumentChanged() {
  view_->OnInitialUpdate();
  UpdateTitle();
  commands_->UpdateAll();
}

bool CMainFrame::NewLayout() {
  if (!SaveModified()) return false;
  doc_.OnNewDocument();
  suggestedSavePath_.clear();
  AfterDocumentChanged();
  return true;
}

bool CMainFrame::OpenLayout(const QString& path) {
  if (!SaveModified()) return false;
  const QString absolute = QFileInfo(path).absoluteFilePath();
  if (!doc_.OnOpenDocument(PathFromUtf8(S(absolute)))) {
    commands_->UpdateAll();
    return false;
  }
  AddRecentFile(absolute);
  suggestedSavePath_.clear();
  AfterDocumentChanged();
  return true;
}

bool CMainFrame::SaveLayout() {
  if (doc_.PathName().empty()) return SaveLayoutAs();
  const bool ok = doc_.OnSaveDocument(doc_.PathName());
  if (ok) AddRecentFile(Q(PathToUtf8(doc_.PathName())));
  commands_->UpdateAll();
  if (ok) emit layoutSaved();
  return ok;
}

bool CMainFrame::SaveLayoutAs() {
  QString path = ChooseSavePath();
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += ".rep";
  if (!doc_.OnSaveDocument(PathFromUtf8(S(path)))) return false;
  AddRecentFile(QFileInfo(path).absoluteFilePath());
  suggestedSavePath_.clear();
  UpdateTitle();
  commands_->UpdateAll();
  emit layoutSaved();
  return true;
}

bool CMainFrame::RestoreLayout(const QString& copyPath, const QString& originalPath) {
  if (!SaveModified()) return false;
  if (!doc_.OnOpenDocument(PathFromUtf8(S(copyPath)))) {
    commands_->UpdateAll();
    return false;
  }
  // Never saved here: no state of the history equals the file, so even undoing every step
  // leaves the layout marked as changed.
  doc_.SetPathName({});
  doc_.savedSerial = -1;
  doc_.SetModifiedFlag(true);
  suggestedSavePath_ = originalPath;
  AfterDocumentChanged();
  ShowStatusMessage(S(originalPath.isEmpty()
                          ? QString("Ungesichertes Layout wiederhergestellt")
                          : QString("Ungesicherte Änderungen an %1 wiederhergestellt").arg(QFileInfo(originalPath).fileName())));
  return true;
}

QString CMainFrame::ChooseOpenPath() {
  const QString lastDir = Q(services().Settings().GetString("Report", "LastDir", ""));
  COpenLayoutDialog dialog(this, lastDir);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QString path = dialog.ChosenFile();
  if (path.isEmpty()) return {};
  QString folder = QFileInfo(path).absolutePath() + "/";
  services().Settings().WriteString("Report", "LastDir", S(folder.left(259)));
  return path;
}

bool CMainFrame::ExportPdf() {
  const QString path = ChoosePdfPath();
  return !path.isEmpty() && ExportPdfTo(path);
}

bool CMainFrame::ExportPdfTo(const QString& path) {
  // The same print path as the command line's pdf: what is exported is what is printed.
  if (!WriteLayoutPdf(doc_.elements, path)) {
    services().Messages().Show("Die PDF-Datei konnte nicht geschrieben werden.", MessageIcon::exclamation,
                               MessageButtons::ok);
    return false;
  }
  ShowStatusMessage(S(QString("PDF-Datei %1 geschrieben").arg(QFileInfo(path).fileName())));
  return true;
}

QString CMainFrame::ChoosePdfPath() {
  // The folder of the last export is offered again; the name follows the layout's.
  const QString lastDir = Q(services().Settings().GetString("Report", "PdfDir", ""));
  QString name = doc_.PathName().empty() ? QString("Unbenannt")
                                         : QFileInfo(Q(PathToUtf8(doc_.PathName()))).completeBaseName();
  QFileDialog dialog(this, "Als PDF exportieren");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter("PDF-Dateien (*.pdf)");
  dialog.setDefaultSuffix("pdf");
  if (!lastDir.isEmpty()) dialog.setDirectory(lastDir);
  dialog.selectFile(name + ".pdf");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString path = dialog.selectedFiles().front();
  services().Settings().WriteString("Report", "PdfDir", S(QFileInfo(path).absolutePath()));
  return path;
}

QString CMainFrame::ChooseSavePath() {
  QFileDialog dialog(this, "Speichern unter");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter("Layout Datei (*.rep)");
  dialog.setDefaultSuffix("rep");
  QString proposed = Q(PathToUtf8(doc_.PathName()));
  if (proposed.isEmpty()) proposed = suggestedSavePath_.isEmpty() ? QString("Unbenannt.rep") : suggestedSavePath_;
  dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void CMainFrame::ShowAbout() {
  QMessageBox box(this);
  box.setWindowTitle("Info über Veltrok");
  box.setIconPixmap(windowIcon().pixmap(48, 48));
  box.setText("Veltrok Version 2.0");
  box.setInformativeText("Layout-Editor für die Ergebnislisten der Regattaverwaltung");
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

void CMainFrame::ShowHelp() {
  QMessageBox box(this);
  box.setWindowTitle("Hilfe");
  box.setIcon(QMessageBox::Information);
  box.setText("Veltrok bearbeitet die Drucklayouts der Regattaverwaltung.");
  box.setInformativeText(
      "Texte können Platzhalter wie [Name] oder [Lauf01] enthalten; beim Drucken werden sie "
      "durch die Werte der Teilnehmer ersetzt. Tabellen werden Zeile für Zeile mit einem "
      "Teilnehmer je Zeile gefüllt.\n\n"
      "Tasten:\n"
      "Strg+N neu, Strg+O öffnen, Strg+S speichern\n"
      "Strg+Z rückgängig, Strg+Y wiederherstellen\n"
      "Strg+X ausschneiden, Strg+C kopieren, Strg+V einfügen\n"
      "Entf löscht die ausgewählten Elemente, Esc hebt die Auswahl auf\n"
      "Pfeiltasten verschieben die Auswahl um 1, mit Umschalt um 10\n"
      "Beim Ziehen: Umschalt hält die Richtung, Alt setzt das Raster aus\n"
      "Strg+0 zeigt die ganze Seite, das Mausrad vergrößert und verkleinert\n"
      "F6 / Umschalt+F6 wechseln zwischen Seite und Eigenschaften");
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

// ---- recent files ------------------------------------------------------------------------------

void CMainFrame::AddRecentFile(const QString& path) {
  recentFiles_.removeAll(path);
  recentFiles_.prepend(path);
  while (recentFiles_.size() > kRecentFiles) recentFiles_.removeLast();
  for (int i = 0; i < kRecentFiles; ++i)
    services().Settings().WriteString("Recent File List", "File" + std::to_string(i + 1),
                                      i < recentFiles_.size() ? S(recentFiles_.at(i)) : "");
  RebuildRecentMenu();
}

void CMainFrame::RebuildRecentMenu() {
  for (QAction* a : recentActions_) {
    fileMenu_->removeAction(a);
    a->deleteLater();
  }
  recentActions_.clear();
  recentAnchor_->setVisible(recentFiles_.isEmpty());
  int n = 0;
  for (const QString& path : recentFiles_) {
    ++n;
    // At most 30 characters of the path are shown: the file name and as much folder as fits.
    QString shown = path;
    if (shown.size() > 30) shown = "..." + shown.right(27);
    auto* a = new QAction(QString("&%1 %2").arg(n).arg(shown), this);
    a->setStatusTip(path);
    connect(a, &QAction::triggered, this, [this, path] { OpenLayout(path); });
    fileMenu_->insertAction(recentAnchor_, a);
    recentActions_.append(a);
  }
}
