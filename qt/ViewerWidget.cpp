#include "qt/ViewerWidget.h"

#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "qt/AboutPage.h"
#include "qt/QtEdge.h"
#include "qt/RecordsPage.h"
#include "qt/ReportPage.h"
#include "qt/TextPage.h"

namespace corvelle::qt {

ViewerWidget::ViewerWidget(QWidget* parent, std::unique_ptr<ViewedDatabase> viewed, const ViewerLooks& looks)
    : QWidget(parent), m_viewed(std::move(viewed)), m_tabs(new QTabWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    // A page that says how much of its text is in names its tab by its place.
    const auto titleOf = [this](int index) {
        return [this, index](const QString& title) {
            if (m_tabs->tabText(index) != title) m_tabs->setTabText(index, title);
        };
    };
    // The tabs in the commands table's order: Ctrl+1 is the report.
    static_assert(static_cast<int>(PageKind::kReport) == 0 && static_cast<int>(PageKind::kText) == 3, "tab order");
    AddPage(new ReportPage(*m_viewed, looks.font, looks.tabStops, titleOf(0), m_tabs), "Image Dump");
    AddPage(new AboutPage(m_tabs), "About");
    auto* records = new RecordsPage(*m_viewed, looks.font, looks.tabStops, m_tabs);
    AddPage(records, QString::fromUtf8(records->Title()));
    const bool hasText = m_viewed->HasDocument();
    if (hasText) AddPage(new TextPage(*m_viewed, looks.bookFont, titleOf(PageCount()), m_tabs), "Text");
    // A page is built when it first comes to the front.
    QObject::connect(m_tabs, &QTabWidget::currentChanged, [this](int index) {
        if (index < 0 || index >= PageCount()) return;
        m_pages[static_cast<size_t>(index)]->Open();
        WatchKeys(m_pages[static_cast<size_t>(index)]);
        m_pages[static_cast<size_t>(index)]->FocusTarget()->setFocus(Qt::OtherFocusReason);
    });
    const int start = hasText && looks.startOnText ? PageCount() - 1 : 0;
    m_tabs->setCurrentIndex(start);
    m_pages[static_cast<size_t>(start)]->Open();
    WatchKeys(this);
    setFocusPolicy(Qt::StrongFocus);
}

ViewerWidget::~ViewerWidget() = default;

void ViewerWidget::AddPage(QtPage* page, const QString& title) {
    m_pages.push_back(page);
    m_tabs->addTab(page, title);
}

void ViewerWidget::WatchKeys(QWidget* widget) {
    // A widget already watched is not watched twice: Qt installs a filter once.
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>()) child->installEventFilter(this);
}

int ViewerWidget::CurrentPage() const { return m_tabs->currentIndex(); }

void ViewerWidget::ShowPage(int index) {
    if (index >= 0 && index < PageCount()) m_tabs->setCurrentIndex(index);
}

void ViewerWidget::focusInEvent(QFocusEvent*) {
    // The host gives the focus to the viewer; the page in front takes it.
    const int index = CurrentPage();
    if (index >= 0) m_pages[static_cast<size_t>(index)]->FocusTarget()->setFocus(Qt::OtherFocusReason);
}

bool ViewerWidget::Search(const std::string& utf8, int flags) {
    const int index = CurrentPage();
    return index >= 0 && m_pages[static_cast<size_t>(index)]->Search(utf8, flags);
}

void ViewerWidget::Copy() {
    const int index = CurrentPage();
    if (index >= 0) m_pages[static_cast<size_t>(index)]->Copy();
}

void ViewerWidget::SelectAll() {
    const int index = CurrentPage();
    if (index >= 0) m_pages[static_cast<size_t>(index)]->SelectAll();
}

bool ViewerWidget::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress;
    if ((press || event->type() == QEvent::ShortcutOverride) && HandleKey(*static_cast<QKeyEvent*>(event), press)) {
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool ViewerWidget::HandleKey(QKeyEvent& event, bool press) {
    const int index = CurrentPage();
    if (index < 0) return false;
    QtPage& page = *m_pages[static_cast<size_t>(index)];
    const KeyAction action = ActionFor(page.Kind(), StrokeOf(event), PageCount());
    if (action.command == Command::kNone) return false;
    // A command the host carries out through its interface (copy and
    // select-all from its menu's shortcuts) is left to the host's shortcut;
    // where the host has none, the key arrives as a press and the page does it.
    if (action.command == Command::kCloseViewer) {
        if (!InWindowOfItsOwn()) return false;
        if (press) window()->close();
        return true;
    }
    if (!press) return action.route != Route::kHost;
    switch (action.command) {
        case Command::kShowPage: ShowPage(action.page); break;
        case Command::kToggleWrap: page.ToggleWrap(); break;
        case Command::kSwitchPane: page.SwitchPane(); break;
        case Command::kCopy: page.Copy(); break;
        case Command::kSelectAll: page.SelectAll(); break;
        case Command::kExportMenu: page.ShowExportMenu(); break;
        case Command::kCloseViewer:
        case Command::kNone: return false;
    }
    return true;
}

bool ViewerWidget::InWindowOfItsOwn() const {
    // The host titles the viewer's own window with the viewed file's name;
    // embedded in another window (a quick view), the viewer leaves Escape to
    // that window.
    const QWidget* window = this->window();
    const QString name = QFileInfo(FromUtf8(m_viewed->Path())).fileName();
    return window != this && !name.isEmpty() && window->windowTitle().contains(name);
}

}  // namespace corvelle::qt
