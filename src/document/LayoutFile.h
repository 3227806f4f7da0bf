// Reading and writing layout files as the document framework does: load into an empty layout,
// report failures with the standard German texts, and save without ever destroying the previous
// file (the new content is written beside it and then put in its place).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ReplaceFile.h"

class CFormElementPtrList;

inline constexpr const char* kOpenFailedMessage = "Fehler beim Öffnen des Dokuments.";
inline constexpr const char* kSaveFailedMessage = "Fehler beim Speichern des Dokuments.";
inline constexpr const char* kBadFormatMessage = "Unerwartetes Dateiformat.";

// The layout stream in memory (clipboard, tests).
std::vector<std::uint8_t> LayoutToBytes(CFormElementPtrList& list);
// Throws the archive exceptions (and UserAbortException for a newer version).
void LayoutFromBytes(const std::vector<std::uint8_t>& bytes, CFormElementPtrList& list);

enum class LoadOutcome { loaded, failed, abandoned };

struct LoadResult {
  LoadOutcome outcome = LoadOutcome::failed;
  int version = 0;  // the version the file declared (0 when it could not be read)
  bool ok() const { return outcome == LoadOutcome::loaded; }
};

// Empties `list` and loads the file into it. On any failure the list ends empty, the user has
// been told why through the message service (a newer version: only its own message), and the
// result says so.
LoadResult LoadLayoutFile(const std::filesystem::path& path, CFormElementPtrList& list);

// Writes the layout to `path`. The bytes go to a temporary file beside it first, which then
// replaces the old file; on failure the old file is untouched, the temporary file is removed and
// the save-failure message is shown. A symbolic link is written through to the file it names, the
// replaced file's permission bits are kept, and a file the user may not write (or one marked
// read-only) is refused. `open` creates the write stream (tests inject failures).
bool SaveLayoutFile(const std::filesystem::path& path, CFormElementPtrList& list,
                    const WriteStreamFactory& open = {});
