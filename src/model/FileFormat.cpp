#include "model/FileFormat.h"

#include "placeholders/Catalogue.h"

std::string ToStoredText(std::string_view shown) { return TranslationToCode(shown); }
std::string FromStoredText(std::string_view stored) { return CodeToTranslation(stored); }
