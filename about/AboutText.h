// The About page's information text, put together from the string table.
#pragma once

#include <functional>
#include <string>

namespace corvelle {

// Loads string table entry `id` whole into `text`; false when it is missing.
using StringLoader = std::function<bool(unsigned id, std::string& text)>;

// Title, history (newest first), contact and rights, in that order. Every
// entry brings its own line feeds, so the pieces are joined as they are; a
// missing entry adds nothing and the rest still shows.
std::string ComposeAboutText(const StringLoader& load);

// The same text from the entries' own texts (res/AboutText.h), for a front
// end without a string table (the Qt page).
std::string BuiltInAboutText();

}  // namespace corvelle
