#include "platform/qt/QtServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>

#include "platform/UserFolders.h"

namespace {
QString Key(std::string_view section, std::string_view entry) {
  return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + "/" +
         QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

QtSettingsStore::QtSettingsStore() : settings_("Orvik", "Veltrok") {}
QtSettingsStore::QtSettingsStore(const QString& iniFile) : settings_(iniFile, QSettings::IniFormat) {}

int QtSettingsStore::GetInt(std::string_view section, std::string_view entry, int defaultValue) {
  // Integers come back as strings after a reload.
  bool ok = false;
  const int v = settings_.value(Key(section, entry)).toInt(&ok);
  return ok ? v : defaultValue;
}

void QtSettingsStore::WriteInt(std::string_view section, std::string_view entry, int value) {
  settings_.setValue(Key(section, entry), value);
}

std::string QtSettingsStore::GetString(std::string_view section, std::string_view entry,
                                       std::string_view defaultValue) {
  const QVariant v = settings_.value(Key(section, entry));
  if (!v.isValid()) return std::string(defaultValue);
  return v.toString().toStdString();
}

void QtSettingsStore::WriteString(std::string_view section, std::string_view entry,
                                  std::string_view value) {
  settings_.setValue(Key(section, entry), Q(value));
}

MessageResult QtMessageService::Show(std::string_view text, MessageIcon icon, MessageButtons buttons) {
  QMessageBox box(parent_);
  box.setWindowTitle("Veltrok");
  box.setText(Q(text));
  switch (icon) {
    case MessageIcon::stop: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::exclamation: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::question: box.setIcon(QMessageBox::Question); break;
    case MessageIcon::none: break;
  }
  QMessageBox::StandardButtons b = QMessageBox::Ok;
  switch (buttons) {
    case MessageButtons::ok: b = QMessageBox::Ok; break;
    case MessageButtons::okCancel: b = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::yesNo: b = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::yesNoCancel: b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
  }
  box.setStandardButtons(b);
  if (auto* ok = box.button(QMessageBox::Ok)) ok->setText("OK");
  if (auto* c = box.button(QMessageBox::Cancel)) c->setText("Abbrechen");
  if (auto* y = box.button(QMessageBox::Yes)) y->setText("&Ja");
  if (auto* n = box.button(QMessageBox::No)) n->setText("&Nein");
  switch (box.exec()) {
    case QMessageBox::Yes: return MessageResult::yes;
    case QMessageBox::No: return MessageResult::no;
    case QMessageBox::Cancel: return MessageResult::cancel;
    default: return MessageResult::ok;
  }
}

bool QtClipboard::HasFormat(std::string_view format) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasFormat(Q(format));
}

bool QtClipboard::SetData(std::string_view format, const std::vector<std::uint8_t>& bytes) {
  auto* data = new QMimeData;
  data->setData(Q(format), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<qsizetype>(bytes.size())));
  QGuiApplication::clipboard()->setMimeData(data);
  return true;
}

std::optional<std::vector<std::uint8_t>> QtClipboard::GetData(std::string_view format) {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasFormat(Q(format))) return std::nullopt;
  const QByteArray b = data->data(Q(format));
  return std::vector<std::uint8_t>(b.begin(), b.end());
}

std::filesystem::path QtShellFolders::AppDataFolder() {
  // Named as the command-line tool names it, so both read the same translation table.
  return UserAppDataFolder();
}

std::filesystem::path QtShellFolders::ProgramFolder() {
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String());
}

void QtWaitCursor::Begin() { QApplication::setOverrideCursor(Qt::WaitCursor); }
void QtWaitCursor::End() { QApplication::restoreOverrideCursor(); }

std::vector<std::string> QtFontList::Families() {
  std::vector<std::string> out;
  for (const QString& f : QFontDatabase::families()) out.push_back(f.toStdString());
  return out;
}
