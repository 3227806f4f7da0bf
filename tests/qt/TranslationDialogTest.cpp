// The dialog "Übersetzungen": live edits of the catalogue, OK saving with its warning, Escape
// keeping the edits without saving, and the menu command and start-up of the editor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/ReportApp.h"
#include "placeholders/Catalogue.h"
#include "placeholders/TranslationFile.h"
#include "placeholders/qt/TranslationDialog.h"
#include "support/Bytes.h"
#include "support/FakeServices.h"

namespace fs = std::filesystem;

namespace {

const CCode& Entry(const std::string& code) {
  for (const CCode& c : placeholderCatalogue())
    if (c.code == code) return c;
  static CCode none;
  ADD_FAILURE() << code;
  return none;
}

class Translations : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    BuildCatalogue();
    folders.appData = fs::path(dir.path().toStdString()) / "appdata";
    scope.With<SettingsStore>(&settings).With<MessageService>(&messages).With<ShellFolders>(&folders);
  }
  void TearDown() override { FreeCatalogue(); }

  QTemporaryDir dir;
  FakeSettings settings;
  FakeMessages messages;
  FakeFolders folders;
  ScopedServices scope;
};

TEST_F(Translations, OpensOnTheFirstRowAndEditsTheCatalogueAsTheUserTypes) {
  CCodeTranslations dialog;
  dialog.show();
  QTreeWidget* list = dialog.codeList();
  ASSERT_EQ(list->topLevelItemCount(), 85);
  EXPECT_EQ(list->headerItem()->text(0), "OriginalCode");
  EXPECT_EQ(list->headerItem()->text(1), QString::fromUtf8("Übersetzung"));
  EXPECT_EQ(list->headerItem()->text(2), QString::fromUtf8("Erklärung"));
  EXPECT_EQ(list->topLevelItem(4)->text(0), QString::fromUtf8("[AnzLäufe]"));  // catalogue order
  EXPECT_EQ(list->columnWidth(0), 200);
  EXPECT_TRUE(list->topLevelItem(0)->isSelected());
  EXPECT_EQ(dialog.codeField()->text(), "[Altersklasse]");
  EXPECT_TRUE(dialog.codeField()->isReadOnly());

  const int nameRow = static_cast<int>(std::find_if(placeholderCatalogue().begin(), placeholderCatalogue().end(),
                                                    [](const CCode& c) { return c.code == "[Name]"; }) -
                                       placeholderCatalogue().begin());
  QTreeWidgetItem* row = list->topLevelItem(nameRow);
  list->scrollToItem(row);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
  EXPECT_EQ(dialog.codeField()->text(), "[Name]");
  EXPECT_EQ(dialog.translationField()->text(), "[Name]");
  // Selecting a row fills the fields without writing anything back.
  EXPECT_EQ(Entry("[Altersklasse]").translation, "[Altersklasse]");

  dialog.translationField()->selectAll();
  QTest::keyClicks(dialog.translationField(), "Teil");
  EXPECT_EQ(Entry("[Name]").translation, "Teil");  // at once, keystroke by keystroke
  QTest::keyClicks(dialog.translationField(), "nehmer");
  dialog.descriptionField()->selectAll();
  QTest::keyClicks(dialog.descriptionField(), "Wer segelt");
  EXPECT_EQ(Entry("[Name]").translation, "Teilnehmer");
  EXPECT_EQ(Entry("[Name]").description, "Wer segelt");
  EXPECT_EQ(row->text(1), "Teilnehmer");
  EXPECT_EQ(row->text(2), "Wer segelt");
  EXPECT_EQ(TranslationToCode("Teilnehmer"), "[Name]");

  // Escape closes without saving and without storing the widths; the edits stay until exit.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(fs::exists(UserTranslationFile()));
  EXPECT_EQ(settings.writes, 0);
  EXPECT_EQ(Entry("[Name]").translation, "Teilnehmer");
}

TEST_F(Translations, OkStoresWidthsAndSavesTheTable) {
  settings.values["Codes/Col1"] = "150";
  CCodeTranslations dialog;
  dialog.show();
  EXPECT_EQ(dialog.codeList()->columnWidth(1), 150);
  dialog.translationField()->selectAll();
  QTest::keyClicks(dialog.translationField(), "AK");
  dialog.codeList()->setColumnWidth(2, 321);
  dialog.accept();
  EXPECT_EQ(settings.values["Codes/Col0"], "200");
  EXPECT_EQ(settings.values["Codes/Col1"], "150");
  EXPECT_EQ(settings.values["Codes/Col2"], "321");
  EXPECT_TRUE(messages.shown.empty());

  BuildCatalogue();
  ASSERT_TRUE(ReadTranslationFile(UserTranslationFile()));
  EXPECT_EQ(Entry("[Altersklasse]").translation, "AK");
}

TEST_F(Translations, FailedSaveWarnsThatTheTranslationsHoldUntilExit) {
  folders.appData.clear();
  CCodeTranslations dialog;
  dialog.show();
  dialog.translationField()->selectAll();
  QTest::keyClicks(dialog.translationField(), "AK");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            "Die Übersetzungen konnten nicht gespeichert werden:\n\nDer Ordner für Anwendungsdaten "
            "wurde nicht gefunden.\n\nSie gelten nur, bis Veltrok beendet wird.");
  EXPECT_EQ(messages.icons[0], MessageIcon::exclamation);
  EXPECT_EQ(Entry("[Altersklasse]").translation, "AK");
}

// The editor reads the user's table at start-up, and the menu command opens the dialog.
TEST(TranslationsInTheEditor, StartUpReadsTheTableAndTheCommandOpensTheDialog) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
  const fs::path table = fs::path(dir.filePath("config").toStdString()) / "Orvik" / "Veltrok" / "Report.trn";
  fs::create_directories(table.parent_path());
  const auto bytes = Bytes().i32(1234).i32(1).str("[Rang]").str("Platz").str("d").i32(3).data;
  std::ofstream(table, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
  {
    CReportApp app(dir.filePath("Veltrok.ini"));
    ASSERT_TRUE(app.InitInstance({"veltrok"}));
    EXPECT_EQ(Entry("[Rang]").translation, "Platz");
    QAction* command = app.mainFrame()->commands().Action(cmd::translations);
    ASSERT_NE(command, nullptr);
    app.mainFrame()->commands().UpdateAll();
    EXPECT_TRUE(command->isEnabled());
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
      auto* dialog = qobject_cast<CCodeTranslations*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      shown = true;
      EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Übersetzungen"));
      dialog->reject();
    });
    command->trigger();
    EXPECT_TRUE(shown);
  }
  if (oldConfig.isEmpty()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", oldConfig);
}

}  // namespace
