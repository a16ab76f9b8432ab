#include "about/AboutText.h"

#include "res/AboutText.h"
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

std::string BuiltInAboutText() {
    return ComposeAboutText([](unsigned id, std::string& text) {
        switch (id) {
            case IDS_ABOUT_TITLE: text = CORVELLE_TEXT_TITLE; return true;
            case IDS_ABOUT_RIGHTS: text = CORVELLE_TEXT_RIGHTS; return true;
            case IDS_ABOUT_CONTACT: text = CORVELLE_TEXT_CONTACT; return true;
            case IDS_ABOUT_HISTORY: text = CORVELLE_TEXT_HISTORY; return true;
            case IDS_ABOUT_V001: text = CORVELLE_TEXT_V001; return true;
            case IDS_ABOUT_V002: text = CORVELLE_TEXT_V002; return true;
            default: return false;
        }
    });
}

}  // namespace corvelle
