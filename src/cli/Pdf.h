// `veltrok-cli pdf`: the layout printed with the sample data into a PDF file, as the editor
// prints it.
#pragma once

#include <filesystem>

class CFormElementPtrList;

// A4 in the layout's orientation. False when the file cannot be written (or PDF output is not
// available in this build); nothing is left at `out` then.
bool WriteLayoutPdfFile(CFormElementPtrList& list, const std::filesystem::path& out);
