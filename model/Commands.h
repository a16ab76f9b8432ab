// The viewer's keys and what they do on each page: one table that both front
// ends dispatch through, so that a key means the same on every page and in
// either file manager. Keys are named here, not by a system's codes; each
// front end says which of its keys is which.
#pragma once

#include <cstdint>

namespace corvelle {

// The pages, in the order of their tabs.
enum class PageKind { kReport, kAbout, kRecords, kText };

// Letters and digits are their upper-case ASCII characters; the other keys
// the table knows are named above that range.
namespace key {
constexpr uint32_t kTab = 0x100;
constexpr uint32_t kInsert = 0x101;
constexpr uint32_t kMenu = 0x102;  // the context-menu key
constexpr uint32_t kF10 = 0x103;
constexpr uint32_t kEscape = 0x104;
}  // namespace key

struct KeyStroke {
    uint32_t key = 0;
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
};

enum class Command {
    kNone,
    kShowPage,     // the page of `page`, from 0
    kToggleWrap,   // wrap long lines, or stop wrapping them
    kSwitchPane,   // Records: between the list and the entry pane
    kCopy,         // the selection, or everything when all is selected
    kSelectAll,
    kExportMenu,   // Records: the export menu under the list's focused row
    kCloseViewer,
};

// Who carries a command out.
enum class Route {
    kPage,         // the page; the key goes no further
    kPageAndHost,  // the page, and the host gets the key as well (Lister's own use of it)
    kHost,         // the host turns the key into its own command (Lister's copy, select-all
                   // and close), which reaches the page through the host's interface; a host
                   // that does not leaves it to the page
};

struct KeyAction {
    Command command = Command::kNone;
    Route route = Route::kPage;
    int page = -1;  // for kShowPage
};

// What `stroke` does on `page` in a viewer of `pageCount` pages; kNone for
// a key that is not the viewer's (the host's keys then go on as they would).
KeyAction ActionFor(PageKind page, const KeyStroke& stroke, int pageCount);

}  // namespace corvelle
