// The host's Lister font as the dump page adopts it. A plain record: built
// anew on every ListLoad from the host's "Font1" value and copied by value.
#pragma once

// An empty face name or a height of 0 means the host gave none: the page
// keeps its control's own face or size for that field.
struct ListerFont {
    char szFaceName[260];  // zero-terminated, field 0 of "Font1"
    int nHeight;           // character height in twips, negative as the host stores it
    int bBold;             // 1 when field 2 or 3 is exactly "b"
    int bItalic;           // 1 when field 2 or 3 is exactly "i"
};
