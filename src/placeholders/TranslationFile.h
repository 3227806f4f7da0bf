// The user's translation table "Report.trn": a copy of the whole placeholder catalogue with the
// user's translations and descriptions, read once at start-up and written when the user confirms
// the translation dialog. It belongs to the user, not to a layout.
#pragma once

#include <filesystem>
#include <string>

#include "platform/ReplaceFile.h"

inline constexpr const char* kTranslationFileName = "Report.trn";

// <application-data folder>/Orvik/Veltrok/Report.trn; empty when the folder cannot be named.
std::filesystem::path UserTranslationFile();
// Report.trn beside the program (read only); empty when the program folder is unknown.
std::filesystem::path DefaultTranslationFile();

// Start-up: the user's file, and when that cannot be read the installation default. Failures are
// silent; the built-in catalogue then stands.
void LoadTranslations();

// Reads one file and applies it to the catalogue. All or nothing: a file that cannot be opened or
// read to the end of its last record changes nothing and returns false. Records with unknown codes
// are ignored; of two records with the same code the later wins.
bool ReadTranslationFile(const std::filesystem::path& path);

// Writes the whole catalogue to the user's file, creating missing folders. On failure returns false
// with the German reason in `errorText`, and the previous file is untouched.
bool SaveTranslations(std::string& errorText, const WriteStreamFactory& open = {});
