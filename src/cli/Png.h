// `veltrok-cli png`: the page drawn as the editor draws it, into a picture file.
#pragma once

#include <filesystem>

class CFormElementPtrList;

// Draws the layout on a white page `width` pixels wide and writes it as PNG. False when the
// picture cannot be written (or pictures are not available in this build).
bool WriteLayoutPng(CFormElementPtrList& list, const std::filesystem::path& out, int width);
