#include "platform/Services.h"

namespace {

class DefaultSettings : public SettingsStore {
 public:
  int GetInt(std::string_view, std::string_view, int d) override { return d; }
  void WriteInt(std::string_view, std::string_view, int) override {}
  std::string GetString(std::string_view, std::string_view, std::string_view d) override {
    return std::string(d);
  }
  void WriteString(std::string_view, std::string_view, std::string_view) override {}
};

class DefaultMessages : public MessageService {
 public:
  MessageResult Show(std::string_view, MessageIcon, MessageButtons buttons) override {
    return buttons == MessageButtons::ok ? MessageResult::ok : MessageResult::cancel;
  }
};

class DefaultClipboard : public Clipboard {
 public:
  bool HasFormat(std::string_view) override { return false; }
  bool SetData(std::string_view, const std::vector<std::uint8_t>&) override { return false; }
  std::optional<std::vector<std::uint8_t>> GetData(std::string_view) override { return {}; }
};

class DefaultImages : public ImageDecoder {
 public:
  std::optional<DecodedImage> Load(const std::filesystem::path&) override { return {}; }
};

class DefaultFolders : public ShellFolders {
 public:
  std::filesystem::path AppDataFolder() override { return {}; }
  std::filesystem::path ProgramFolder() override { return {}; }
};

class DefaultWait : public WaitCursor {
 public:
  void Begin() override {}
  void End() override {}
};

class DefaultFonts : public FontList {
 public:
  std::vector<std::string> Families() override { return {"Arial"}; }
};

template <class T>
T& Fallback() {
  static T instance;  // stateless, so sharing it is harmless
  return instance;
}

}  // namespace

SettingsStore& Services::Settings() { return settings_ ? *settings_ : Fallback<DefaultSettings>(); }
MessageService& Services::Messages() { return messages_ ? *messages_ : Fallback<DefaultMessages>(); }
Clipboard& Services::ClipboardService() {
  return clipboard_ ? *clipboard_ : Fallback<DefaultClipboard>();
}
ImageDecoder& Services::Images() { return images_ ? *images_ : Fallback<DefaultImages>(); }
ShellFolders& Services::Folders() { return folders_ ? *folders_ : Fallback<DefaultFolders>(); }
WaitCursor& Services::Wait() { return wait_ ? *wait_ : Fallback<DefaultWait>(); }
FontList& Services::Fonts() { return fonts_ ? *fonts_ : Fallback<DefaultFonts>(); }

Services& services() {
  static Services registry;
  return registry;
}
