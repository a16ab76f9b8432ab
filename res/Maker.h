// Who makes Corvelle and where to reach them. The About page's strings, its
// two links and the banner all take the maker from here, so a change of
// address is made once.
#pragma once

#define CORVELLE_MAKER_NAME    "The Corvelle developers"
#define CORVELLE_MAKER_EMAIL   "corvelle@example.org"
#define CORVELLE_MAKER_MAILTO  "mailto:" CORVELLE_MAKER_EMAIL
#define CORVELLE_MAKER_WEB     "https://corvelle.example.org/"
#define CORVELLE_RIGHTS_YEARS  "2005-2026"
