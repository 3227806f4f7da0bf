// What the program needs from the window system, as interfaces. The application installs the Qt
// implementations once at start-up; the command-line tool and the tests install their own. Core
// code reaches them only through the one registry below.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Per-user settings: integers and strings by section and entry.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual int GetInt(std::string_view section, std::string_view entry, int defaultValue) = 0;
  virtual void WriteInt(std::string_view section, std::string_view entry, int value) = 0;
  virtual std::string GetString(std::string_view section, std::string_view entry,
                                std::string_view defaultValue) = 0;
  virtual void WriteString(std::string_view section, std::string_view entry,
                           std::string_view value) = 0;
};

// Message boxes.
enum class MessageIcon { none, stop, exclamation, information, question };
enum class MessageButtons { ok, okCancel, yesNo, yesNoCancel };
enum class MessageResult { ok, cancel, yes, no };

class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual MessageResult Show(std::string_view text, MessageIcon icon, MessageButtons buttons) = 0;
};

// Private clipboard formats by name; the payload is bytes.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual bool HasFormat(std::string_view format) = 0;
  // Replaces the clipboard content; false when the clipboard could not be opened.
  virtual bool SetData(std::string_view format, const std::vector<std::uint8_t>& bytes) = 0;
  virtual std::optional<std::vector<std::uint8_t>> GetData(std::string_view format) = 0;
};

// A decoded picture, composed onto opaque white: rows top-down, each pixel three bytes B, G, R,
// rows packed without padding (width * 3 bytes each).
struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgr;
};

class ImageDecoder {
 public:
  virtual ~ImageDecoder() = default;
  // BMP, JPEG, PNG, GIF. Empty when the file is missing, unreadable, of an unknown format, or
  // declares a picture too large to hold in memory.
  virtual std::optional<DecodedImage> Load(const std::filesystem::path& path) = 0;
};

// Folders of the shell.
class ShellFolders {
 public:
  virtual ~ShellFolders() = default;
  // The per-user application-data folder; empty when it cannot be named.
  virtual std::filesystem::path AppDataFolder() = 0;
  // The folder of the running program.
  virtual std::filesystem::path ProgramFolder() = 0;
};

// The wait cursor during a long operation (picture loading).
class WaitCursor {
 public:
  virtual ~WaitCursor() = default;
  virtual void Begin() = 0;
  virtual void End() = 0;
};

// The font families the font choices offer.
class FontList {
 public:
  virtual ~FontList() = default;
  virtual std::vector<std::string> Families() = 0;
};

class ElementDialogService;  // declared with the elements it edits

// The one registry of installed services. Every slot falls back to a harmless default (settings
// that return their defaults and keep nothing, message boxes that answer OK/Cancel silently, an
// empty clipboard, no picture decoding), so core code never has to test for null.
class Services {
 public:
  SettingsStore& Settings();
  MessageService& Messages();
  Clipboard& ClipboardService();
  ImageDecoder& Images();
  ShellFolders& Folders();
  WaitCursor& Wait();
  FontList& Fonts();
  ElementDialogService* Dialogs() { return dialogs_; }

  // Installing hands over nothing: the caller keeps the object alive while it is installed.
  void Install(SettingsStore* s) { settings_ = s; }
  void Install(MessageService* m) { messages_ = m; }
  void Install(Clipboard* c) { clipboard_ = c; }
  void Install(ImageDecoder* d) { images_ = d; }
  void Install(ShellFolders* f) { folders_ = f; }
  void Install(WaitCursor* w) { wait_ = w; }
  void Install(FontList* f) { fonts_ = f; }
  void Install(ElementDialogService* d) { dialogs_ = d; }
  // Back to the defaults.
  void Reset() { *this = Services(); }

 private:
  SettingsStore* settings_ = nullptr;
  MessageService* messages_ = nullptr;
  Clipboard* clipboard_ = nullptr;
  ImageDecoder* images_ = nullptr;
  ShellFolders* folders_ = nullptr;
  WaitCursor* wait_ = nullptr;
  FontList* fonts_ = nullptr;
  ElementDialogService* dialogs_ = nullptr;
};

// The registry of this process.
Services& services();

// Shows the wait cursor while it lives.
class ScopedWaitCursor {
 public:
  ScopedWaitCursor() { services().Wait().Begin(); }
  ~ScopedWaitCursor() { services().Wait().End(); }
  ScopedWaitCursor(const ScopedWaitCursor&) = delete;
  ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;
};
