// The clipboard exchange of elements: the payload is exactly the layout stream of a layout that
// holds clones of the copied elements and nothing else, with default page settings.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/FormElement.h"

inline constexpr const char* kClipboardFormat = "Veltrok.Elemente";

// The payload for the elements, in the given order (bottom of the z-order first).
std::vector<std::uint8_t> ClipboardPayload(const std::vector<CFormElement*>& elements);

// The elements of a payload in stream order. Empty when the payload cannot be read completely:
// a damaged payload never yields part of its elements. A payload from a newer program version
// has shown its message; nothing else is shown. The payload's page settings are ignored.
std::vector<std::unique_ptr<CFormElement>> ElementsFromPayload(const std::vector<std::uint8_t>& bytes);
