// The Qt implementations of the window-system services that need no drawing: settings store,
// message boxes, clipboard, shell folders, wait cursor and font list.
#pragma once

#include <QSettings>

#include "platform/Services.h"

class QWidget;

class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();  // QSettings("Orvik", "Veltrok")
  explicit QtSettingsStore(const QString& iniFile);  // a file of its own (tests)
  int GetInt(std::string_view section, std::string_view entry, int defaultValue) override;
  void WriteInt(std::string_view section, std::string_view entry, int value) override;
  std::string GetString(std::string_view section, std::string_view entry,
                        std::string_view defaultValue) override;
  void WriteString(std::string_view section, std::string_view entry, std::string_view value) override;
  QSettings& settings() { return settings_; }

 private:
  QSettings settings_;
};

class QtMessageService : public MessageService {
 public:
  // Boxes are shown over `parent` (the main window once it exists).
  void SetParent(QWidget* parent) { parent_ = parent; }
  MessageResult Show(std::string_view text, MessageIcon icon, MessageButtons buttons) override;

 private:
  QWidget* parent_ = nullptr;
};

class QtClipboard : public Clipboard {
 public:
  bool HasFormat(std::string_view format) override;
  bool SetData(std::string_view format, const std::vector<std::uint8_t>& bytes) override;
  std::optional<std::vector<std::uint8_t>> GetData(std::string_view format) override;
};

class QtShellFolders : public ShellFolders {
 public:
  std::filesystem::path AppDataFolder() override;
  std::filesystem::path ProgramFolder() override;
};

class QtWaitCursor : public WaitCursor {
 public:
  void Begin() override;
  void End() override;
};

class QtFontList : public FontList {
 public:
  std::vector<std::string> Families() override;
};
