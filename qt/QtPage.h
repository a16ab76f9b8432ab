// What every page of the Qt viewer answers, so that the viewer, the keys and
// the host's commands ask the page in front without knowing which it is.
#pragma once

#include <QWidget>

#include <string>

#include "model/Commands.h"

namespace corvelle::qt {

class QtPage : public QWidget {
public:
    QtPage(PageKind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {}

    PageKind Kind() const { return m_kind; }
    // Builds what the page shows; called once, when it is first shown, so
    // that opening a viewer costs only its first page.
    virtual void Open() {}
    // The Lister's find command (SearchRules' flags): selects the next match
    // and shows it; false when there is none.
    virtual bool Search(const std::string& utf8, int flags) = 0;
    virtual void Copy() = 0;
    virtual void SelectAll() = 0;
    virtual void ToggleWrap() {}
    // Records: between the list and the entry pane.
    virtual void SwitchPane() {}
    // Records: the export menu under the list's current row.
    virtual void ShowExportMenu() {}
    // The control that takes the keyboard when the page comes to the front.
    virtual QWidget* FocusTarget() = 0;

private:
    PageKind m_kind;
};

}  // namespace corvelle::qt
