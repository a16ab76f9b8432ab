#include "model/Commands.h"

namespace corvelle {
namespace {

// Modifier states a row asks for; kAny takes the key however it is held.
enum class Held { kNone, kCtrl, kShift, kAny };

struct Binding {
    uint32_t key;
    Held held;
    unsigned pages;  // PageBit()s
    Command command;
    Route route;
};

constexpr unsigned PageBit(PageKind page) { return 1u << static_cast<unsigned>(page); }
constexpr unsigned kEveryPage = PageBit(PageKind::kReport) | PageBit(PageKind::kAbout) |
                                PageBit(PageKind::kRecords) | PageBit(PageKind::kText);
constexpr unsigned kWrappingPages = PageBit(PageKind::kReport) | PageBit(PageKind::kRecords) | PageBit(PageKind::kText);
constexpr unsigned kRecords = PageBit(PageKind::kRecords);
constexpr unsigned kNotRecords = kEveryPage & ~kRecords;

// The first row that matches decides. Ctrl+digit is handled before the table.
const Binding kBindings[] = {
    // W wraps, and Lister still gets it (its own W is the same toggle for its viewers).
    {'W', Held::kNone, kWrappingPages, Command::kToggleWrap, Route::kPageAndHost},
    // Only two places to be on the Records page; Lister gets its Tab too.
    {key::kTab, Held::kNone, kRecords, Command::kSwitchPane, Route::kPageAndHost},
    // The list holds the rows' text, which only the page can give.
    {'C', Held::kCtrl, kRecords, Command::kCopy, Route::kPage},
    {key::kInsert, Held::kCtrl, kRecords, Command::kCopy, Route::kPage},
    {'A', Held::kCtrl, kRecords, Command::kSelectAll, Route::kPage},
    {key::kMenu, Held::kAny, kRecords, Command::kExportMenu, Route::kPage},
    {key::kF10, Held::kShift, kRecords, Command::kExportMenu, Route::kPage},
    // Elsewhere Lister turns these into its own copy and select-all commands.
    {'C', Held::kCtrl, kNotRecords, Command::kCopy, Route::kHost},
    {key::kInsert, Held::kCtrl, kNotRecords, Command::kCopy, Route::kHost},
    {'A', Held::kCtrl, kNotRecords, Command::kSelectAll, Route::kHost},
    {key::kEscape, Held::kNone, kEveryPage, Command::kCloseViewer, Route::kHost},
};

bool Holds(Held held, const KeyStroke& stroke) {
    switch (held) {
        case Held::kNone: return !stroke.ctrl && !stroke.alt;
        case Held::kCtrl: return stroke.ctrl && !stroke.alt;
        case Held::kShift: return stroke.shift && !stroke.ctrl && !stroke.alt;
        case Held::kAny: return true;
    }
    return false;
}

}  // namespace

KeyAction ActionFor(PageKind page, const KeyStroke& stroke, int pageCount) {
    // Ctrl+1 is the first page, Ctrl+2 the second...; Ctrl+0 and a digit
    // beyond the last page select nothing. Lister gets the key as well.
    if (stroke.ctrl && stroke.key >= '1' && stroke.key <= '9') {
        const int index = static_cast<int>(stroke.key - '1');
        if (index < pageCount) return {Command::kShowPage, Route::kPageAndHost, index};
        return {};
    }
    for (const Binding& binding : kBindings) {
        if (binding.key == stroke.key && (binding.pages & PageBit(page)) != 0 && Holds(binding.held, stroke)) {
            return {binding.command, binding.route, -1};
        }
    }
    return {};
}

}  // namespace corvelle
