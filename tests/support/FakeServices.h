// In-memory stand-ins for the window-system services, installed for the duration of a test.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/Services.h"

class FakeSettings : public SettingsStore {
 public:
  int GetInt(std::string_view section, std::string_view entry, int d) override;
  void WriteInt(std::string_view section, std::string_view entry, int v) override;
  std::string GetString(std::string_view section, std::string_view entry, std::string_view d) override;
  void WriteString(std::string_view section, std::string_view entry, std::string_view v) override;
  std::map<std::string, std::string> values;  // "section/entry" -> value
  int writes = 0;
};

class FakeMessages : public MessageService {
 public:
  MessageResult Show(std::string_view text, MessageIcon icon, MessageButtons buttons) override {
    shown.emplace_back(text);
    icons.push_back(icon);
    (void)buttons;
    return answer;
  }
  std::vector<std::string> shown;
  std::vector<MessageIcon> icons;
  MessageResult answer = MessageResult::ok;
};

class FakeClipboard : public Clipboard {
 public:
  bool HasFormat(std::string_view f) override { return available && data.count(std::string(f)); }
  bool SetData(std::string_view f, const std::vector<std::uint8_t>& b) override {
    if (!available) return false;
    data.clear();
    data[std::string(f)] = b;
    return true;
  }
  std::optional<std::vector<std::uint8_t>> GetData(std::string_view f) override {
    auto it = data.find(std::string(f));
    if (!available || it == data.end()) return std::nullopt;
    return it->second;
  }
  std::map<std::string, std::vector<std::uint8_t>> data;
  bool available = true;
};

// Pictures by file name; unknown names fail to load.
class FakeImages : public ImageDecoder {
 public:
  std::optional<DecodedImage> Load(const std::filesystem::path& path) override {
    ++loads;
    auto it = pictures.find(PathToUtf8(path));
    if (it == pictures.end()) return std::nullopt;
    return it->second;
  }
  // A picture of w x h pixels, all of one colour.
  void Add(const std::string& name, int w, int h, std::uint8_t b = 10, std::uint8_t g = 20,
           std::uint8_t r = 30);
  std::map<std::string, DecodedImage> pictures;
  int loads = 0;
};

// Folders the test chooses; empty paths stand for folders the shell cannot name.
class FakeFolders : public ShellFolders {
 public:
  std::filesystem::path AppDataFolder() override { return appData; }
  std::filesystem::path ProgramFolder() override { return program; }
  std::filesystem::path appData;
  std::filesystem::path program;
};

// Installs the given fakes for one scope and restores the defaults afterwards.
class ScopedServices {
 public:
  ScopedServices() = default;
  ~ScopedServices() { services().Reset(); }
  ScopedServices(const ScopedServices&) = delete;
  ScopedServices& operator=(const ScopedServices&) = delete;
  template <class T>
  ScopedServices& With(T* service) { services().Install(service); return *this; }
};
