// Resource identifiers shared by the resource script and the code.
// The numbers are fixed: hosts and translators address the dialogs and
// strings by them.
#pragma once

// Dump page ("Image Dump").
#define IDD_DUMP_PAGE        106
#define IDC_DUMP_TEXT        1051

// About page.
#define IDD_ABOUT_PAGE       129
#define IDC_ABOUT_INFO       1054
#define IDC_LINK_MAIL        1044
#define IDC_LINK_WEB         1045
#define IDB_BANNER           11003
#define IDB_LINK_WEB         155
#define IDB_LINK_MAIL        188

// Records page ("Records" or "Resources"): the entry list, the entry's text
// and, for a bitmap resource, its picture.
#define IDD_RECORDS_PAGE     140
#define IDC_RECORDS_LIST     1060
#define IDC_RECORDS_PANE     1061
#define IDC_RECORDS_PICTURE  1062

// Text page ("Text"): a document's text as a person reads it.
#define IDD_TEXT_PAGE        150
#define IDC_TEXT_TEXT        1070

// String table entries composed into the About page's information box.
#define IDS_ABOUT_TITLE      1
#define IDS_ABOUT_RIGHTS     3
#define IDS_ABOUT_CONTACT    4
#define IDS_ABOUT_HISTORY    5
#define IDS_ABOUT_V001       17
#define IDS_ABOUT_V002       18

#ifndef IDC_STATIC
#define IDC_STATIC           (-1)
#endif
