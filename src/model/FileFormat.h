// Version numbers of the layout stream and what each one added.
#pragma once

#include <string>
#include <string_view>

constexpr int kVersionFieldFonts = 4712;  // fonts field by field, face name as a string
constexpr int kVersionColours = 4713;     // colours of texts, lines and table columns
constexpr int kVersionOrientation = 4714; // page orientation in the header
constexpr int kVersionDuplex = 4715;      // duplex mode in the header
constexpr int kVersionHelper = 4716;      // helper flag at the end of every image record
constexpr int kVersionNewest = kVersionHelper;

// The message shown when a layout comes from a newer program version.
inline constexpr std::string_view kNewerVersionMessage =
    "Dieses Layout wurde mit einer neueren Programmversion erstellt\n"
    "und kann mit dieser Version nicht gelesen werden.\n\n"
    "Bitte installieren Sie die aktuelle Programmversion.";

// Texts and column names are stored as codes and shown as the user's translations; only whole
// texts are mapped.
std::string ToStoredText(std::string_view shown);
std::string FromStoredText(std::string_view stored);
