// Conversions between the program's UTF-8 strings and the encodings found in layout files:
// Windows-1252 (the "ANSI code page") and UTF-16LE (the wide strings some writers produce).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace codec {

// Every byte maps to one code point: the 27 printable C1-range characters of Windows-1252 to their
// Unicode letters, the five bytes Windows-1252 leaves undefined to the C1 control code points of
// the same value, so a round trip keeps every byte.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold become '?'. Malformed UTF-8 bytes become '?' too.
std::string Utf8ToCp1252(std::string_view utf8);

// Reduces user input to what a layout file can store: the result is valid UTF-8 whose every
// character has a Windows-1252 byte.
std::string ReduceToCp1252(std::string_view utf8);

// UTF-16 code units (surrogate pairs combined, lone surrogates become U+FFFD) to UTF-8.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view utf8);

// Decodes one UTF-8 sequence at text[pos]; advances pos; returns U+FFFD for malformed input.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace codec
