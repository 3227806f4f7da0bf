// Writing a file so that a failure never leaves it half written: the bytes go to a temporary file
// beside it, which then takes the old file's place.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "platform/ByteStream.h"

using WriteStreamFactory = std::function<std::unique_ptr<ByteStream>(const std::filesystem::path&)>;

// Calls `write` on a stream over a temporary file beside `path` and then renames it over `path`.
// On any failure the temporary file is removed, `path` is left as it was and the exception
// travels on (FileException for file errors, with the German reason). A symbolic link is written
// through to the file it names, the replaced file's permission bits are kept, and a file the user
// may not write (or one marked read-only) is refused. `open` creates the write stream (tests
// inject failures); by default a FileStream.
void WriteReplacingFile(const std::filesystem::path& path,
                        const std::function<void(ByteStream&)>& write,
                        const WriteStreamFactory& open = {});
