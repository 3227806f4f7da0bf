// The exception kinds that cross the archive and file boundary. Nothing else in the program
// throws; loading and saving turn them into the German messages the user sees.
#pragma once

#include <stdexcept>
#include <string>

class ArchiveException : public std::runtime_error {
 public:
  enum class Cause { generic, endOfFile, badClass, badSchema, badIndex };
  ArchiveException(Cause cause, const std::string& what) : std::runtime_error(what), cause(cause) {}
  Cause cause;
};

// Raised when a load is abandoned after the user has already been told why (a layout from a newer
// program version): the caller shows nothing further.
class UserAbortException : public std::runtime_error {
 public:
  UserAbortException() : std::runtime_error("abgebrochen") {}
};

class FileException : public std::runtime_error {
 public:
  enum class Cause { generic, fileNotFound, accessDenied, diskFull, endOfFile };
  FileException(Cause cause, std::string path, const std::string& what)
      : std::runtime_error(what), cause(cause), path(std::move(path)) {}
  Cause cause;
  std::string path;
};
