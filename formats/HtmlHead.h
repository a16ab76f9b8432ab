// What the start of a text says about it: whether it is an HTML document
// (Mobipocket's first books are PalmDOC databases whose text is one), and the
// title and creators its Dublin Core metadata gives (<dc:Title>,
// <dc:Creator>), as those books carry them in their <head>.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvelle {

// Whether `text` opens as an HTML document: after white space (and a UTF-8
// byte order mark), "<html", "<!doctype html" or "<?xml", in any letter case.
// Only the start decides: markup further on ("<string>", "&nbsp;", "a < b")
// is what plain documents hold as text too.
bool StartsAsHtmlDocument(std::string_view text);

struct DublinCore {
    std::string title;                  // empty when none is given
    std::vector<std::string> creators;  // in order
};

// The metadata of the document's head, read from `start` (its first bytes;
// what lies past them is not looked for). The texts stay in the document's
// bytes: tags inside them are dropped, white space runs become one space and
// references to ASCII characters ("&amp;") are read; others stay as written.
DublinCore ReadDublinCore(std::string_view start);

// `text` with its character references read: those below `below` (80h keeps
// a text in its code page's bytes; 110000h reads all into UTF-8); the rest,
// and what names no character, as written.
std::string ReadReferences(std::string_view text, uint32_t below);

}  // namespace corvelle
