#include "about/AboutText.h"

#include "res/resource.h"

namespace corvelle {
namespace {

constexpr unsigned kAboutStringOrder[] = {
    IDS_ABOUT_TITLE, IDS_ABOUT_HISTORY, IDS_ABOUT_V002, IDS_ABOUT_V001,
    IDS_ABOUT_CONTACT, IDS_ABOUT_RIGHTS,
};

}  // namespace

std::string ComposeAboutText(const StringLoader& load) {
    std::string info;
    for (unsigned id : kAboutStringOrder) {
        std::string piece;
        if (load(id, piece)) info += piece;
    }
    return info;
}

}  // namespace corvelle
