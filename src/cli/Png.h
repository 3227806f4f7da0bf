// `veltrok-cli png`: the page drawn as the editor draws it, into a picture file.
#pragma once

#include <filesystem>

class CFormElementPtrList;

// Draws the layout on a white page `width` pixels wide and writes it as PNG; with `marks`, unknown
// placeholder codes are marked as in the editor. False when the picture cannot be written (or
// pictures are not available in this build).
bool WriteLayoutPng(CFormElementPtrList& list, const std::filesystem::path& out, int width, bool marks = false);
