// The texts of the About page's string table entries. The resource script
// compiles them and the unit tests compose them, so both see the same bytes.
// Line breaks are single line feeds; each entry starts or ends with its own.
#pragma once

#include "Maker.h"

#define CORVELLE_TEXT_TITLE \
    "Corvelle - Lister plug-in for Total Commander\n" \
    "by " CORVELLE_MAKER_NAME "\n"

#define CORVELLE_TEXT_RIGHTS \
    "\nCopyright (C) " CORVELLE_RIGHTS_YEARS " " CORVELLE_MAKER_NAME ".\n" \
    "All rights reserved."

#define CORVELLE_TEXT_CONTACT \
    "\nSend comments to the author :\n" \
    CORVELLE_MAKER_NAME " (" CORVELLE_MAKER_EMAIL ")\n" \
    CORVELLE_MAKER_WEB

#define CORVELLE_TEXT_HISTORY "\nHistory :\n--------------"

#define CORVELLE_TEXT_V001 "\n0.01 - 26.09.2005\n   - First beta release\n"

#define CORVELLE_TEXT_V002 \
    "\n0.02 - 14.02.2008\n" \
    "   - Fixed : update windows when reopen viewer\n" \
    "   - Fixed : size in about tab\n" \
    "   - Fixed : detection of 68000 code\n" \
    "   - Added : description of records\n" \
    "   - Added : description of attrib\n" \
    "   - Added : Appinfo if exist\n" \
    "   - Added : some Application code\n" \
    "   - Added : pqa format\n" \
    "   - Added : some creator\n"
