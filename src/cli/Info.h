// The stable, line-oriented description of a layout printed by `veltrok-cli info`.
#pragma once

#include <string>

class CFormElementPtrList;

std::string DescribeLayout(const CFormElementPtrList& list, int version);
// A text in double quotes with backslash, quote, CR, LF and tab escaped.
std::string Quoted(const std::string& text);
