// The viewer that Double Commander holds: the tab bar with the pages over
// one viewed database, read once when the viewer opens. The keys go through
// the commands table (model/Commands.h) as on Windows; the host's copy,
// select-all and find commands reach the page in front. Escape closes the
// viewer's window, which Double Commander leaves to the plug-in while one of
// its controls has the focus.
#pragma once

#include <QFont>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "model/ViewedDatabase.h"

class QTabWidget;

namespace corvelle::qt {

class QtPage;

struct ViewerLooks {
    QFont font;                // the Lister font (Double Commander's viewer font)
    QFont bookFont;            // a book's (its book font)
    std::vector<int> tabStops; // the report's, in twips
    bool startOnText = false;  // StartPage=text
};

class ViewerWidget final : public QWidget {
public:
    ViewerWidget(QWidget* parent, std::unique_ptr<ViewedDatabase> viewed, const ViewerLooks& looks);
    ~ViewerWidget() override;

    // The host's commands, on the page in front.
    bool Search(const std::string& utf8, int flags);
    void Copy();
    void SelectAll();

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    int CurrentPage() const;
    QtPage& Page(int index) const { return *m_pages[static_cast<size_t>(index)]; }
    void ShowPage(int index);
    QTabWidget& Tabs() const { return *m_tabs; }
    const ViewedDatabase& Viewed() const { return *m_viewed; }

protected:
    // Every key of the pages' controls passes here first.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void AddPage(QtPage* page, const QString& title);
    void WatchKeys(QWidget* widget);
    // Whether the viewer carries out `event` (a key press, or the host's
    // question whether it may take the key as its shortcut), and does it on
    // a press.
    bool HandleKey(QKeyEvent& event, bool press);
    bool InWindowOfItsOwn() const;

    std::unique_ptr<ViewedDatabase> m_viewed;
    QTabWidget* m_tabs;
    std::vector<QtPage*> m_pages;
};

}  // namespace corvelle::qt
