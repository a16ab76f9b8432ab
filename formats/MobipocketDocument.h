// A Mobipocket book's text as a person reads it: the text records in order,
// each decompressed on its own, joined and converted from the book's code
// page, then read as HTML.
#pragma once

#include <memory>

#include "formats/DocumentText.h"
#include "formats/MobipocketBook.h"

namespace corvelle {

std::unique_ptr<DocumentReader> OpenMobipocketDocument(const MobipocketBook& book);

}  // namespace corvelle
