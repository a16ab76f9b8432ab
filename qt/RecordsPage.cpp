#include "qt/RecordsPage.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "qt/ExportMenu.h"
#include "qt/PanePictureImage.h"
#include "qt/QtEdge.h"
#include "qt/RecordsTableModel.h"
#include "qt/ReportPage.h"
#include "qt/TextControl.h"

namespace corvelle::qt {
namespace {

// A column's cells are measured in this many first rows, those the user sees
// first; a wider cell further down is cut with an ellipsis until the column
// is widened.
constexpr size_t kMeasuredRows = 64;
// Room around a cell's text, as the Win32 list keeps it.
constexpr int kCellPadding = 16;
// The list takes this share of the page's height, the pane the rest.
constexpr int kListShare = 2, kPaneShare = 3;

}  // namespace

RecordsPage::RecordsPage(const ViewedDatabase& viewed, const QFont& font, const std::vector<int>& tabStops,
                         QWidget* parent)
    : QtPage(PageKind::kRecords, parent),
      m_viewed(viewed),
      m_view(viewed),
      m_font(font),
      m_tabStops(tabStops),
      m_list(new QTableView),
      m_pane(new QPlainTextEdit),
      m_picture(new QLabel) {
    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto* below = new QWidget;
    auto* beside = new QHBoxLayout(below);
    beside->setContentsMargins(0, 0, 0, 0);
    beside->addWidget(m_pane, 1);
    beside->addWidget(m_picture, 0, Qt::AlignTop);
    splitter->addWidget(m_list);
    splitter->addWidget(below);
    splitter->setStretchFactor(0, kListShare);
    splitter->setStretchFactor(1, kPaneShare);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    m_picture->hide();
    m_list->setObjectName("records");
    m_pane->setObjectName("pane");
}

RecordsPage::~RecordsPage() = default;

void RecordsPage::Open() {
    if (m_opened) return;
    m_opened = true;
    SetUpTextControl(*m_pane, m_font, false);
    // The report's tab stops but its first, which the report keeps for its
    // narrow first column: at it a short label ("AIM:") would stand apart.
    const std::vector<int> paneStops(m_tabStops.size() > 1 ? m_tabStops.begin() + 1 : m_tabStops.end(),
                                     m_tabStops.end());
    SetTabStops(*m_pane->document(), paneStops, m_pane->logicalDpiX());

    m_model = new RecordsTableModel(m_view, this);
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(false);
    m_list->setWordWrap(false);
    m_list->setTabKeyNavigation(false);
    m_list->verticalHeader()->hide();
    // One height for every row, set once: the list asks for the rows it draws, never for all.
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 4);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(m_list, &QWidget::customContextMenuRequested,
                     [this](const QPoint& at) { ShowExportMenuAt(m_list->viewport()->mapToGlobal(at)); });
    SizeColumns();
    m_list->installEventFilter(this);
    m_pane->installEventFilter(this);
    QObject::connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, [this] { RefreshPaneSoon(); });
    QObject::connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, [this] { RefreshPaneSoon(); });
    ShowSelectedEntry();
}

void RecordsPage::SizeColumns() {
    const QFontMetrics cells = m_list->fontMetrics();
    const QFontMetrics titles = m_list->horizontalHeader()->fontMetrics();
    std::string cell;
    for (size_t column = 0; column < m_view.ColumnCount(); ++column) {
        const char* sample = m_view.ColumnSample(column);
        if (sample == nullptr) continue;  // the contents take what is left
        int widest = cells.horizontalAdvance(QString::fromUtf8(sample));
        for (size_t row = 0; row < std::min(m_view.RowCount(), kMeasuredRows); ++row) {
            cell.clear();
            m_view.AppendCell(row, column, cell);
            widest = std::max(widest, cells.horizontalAdvance(FromUtf8(cell)));
        }
        const int title = titles.horizontalAdvance(QString::fromUtf8(m_view.ColumnTitle(column)));
        m_list->setColumnWidth(static_cast<int>(column), std::max(widest, title) + kCellPadding);
    }
}

std::optional<size_t> RecordsPage::SelectedEntry() const {
    if (m_model == nullptr) return std::nullopt;
    const QItemSelectionModel* selection = m_list->selectionModel();
    // The current row when it is selected, else the first selected.
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return static_cast<size_t>(current.row());
    const QModelIndexList rows = selection->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    int first = rows.front().row();
    for (const QModelIndex& row : rows) first = std::min(first, row.row());
    return static_cast<size_t>(first);
}

std::vector<size_t> RecordsPage::SelectedRows() const {
    std::vector<size_t> rows;
    if (m_model == nullptr) return rows;
    for (const QModelIndex& row : m_list->selectionModel()->selectedRows()) rows.push_back(static_cast<size_t>(row.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void RecordsPage::RefreshPaneSoon() {
    if (m_refreshPending) return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] { ShowSelectedEntry(); });
}

void RecordsPage::ShowSelectedEntry() {
    m_refreshPending = false;
    const std::optional<size_t> entry = SelectedEntry();
    if (entry && entry == m_shownEntry) return;
    m_shownEntry = entry;
    const QImage picture = entry ? PaneImage(m_view.Picture(*entry)) : QImage();
    if (picture.isNull()) {
        m_picture->hide();
        m_picture->clear();
    } else {
        m_picture->setPixmap(QPixmap::fromImage(picture));
        m_picture->show();
    }
    m_pane->setPlainText(FromUtf8(m_view.PaneText(entry)));
}

bool RecordsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == m_pane || watched == m_list)) m_paneHadFocus = watched == m_pane;
    return false;
}

bool RecordsPage::PaneHasFocus() const {
    if (m_pane->hasFocus()) return true;
    if (m_list->hasFocus()) return false;
    // The host's commands may come while the focus is elsewhere.
    return m_paneHadFocus;
}

bool RecordsPage::Search(const std::string& utf8, int flags) {
    Open();
    const std::optional<size_t> found = m_view.Find(utf8, SelectedEntry(), flags);
    if (!found) return false;
    const QModelIndex row = m_model->index(static_cast<int>(*found), 0);
    m_list->selectionModel()->setCurrentIndex(
        row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_list->scrollTo(row);
    // The pane shows the entry now, not after the host's next event.
    ShowSelectedEntry();
    return true;
}

void RecordsPage::Copy() {
    Open();
    if (PaneHasFocus()) {
        m_pane->copy();
        return;
    }
    // The selected rows as `corvelle-dump --records` prints them, under its header line.
    QApplication::clipboard()->setText(FromUtf8(m_view.RowsText(SelectedRows())));
}

void RecordsPage::SelectAll() {
    Open();
    if (PaneHasFocus())
        m_pane->selectAll();
    else
        m_list->selectAll();
}

void RecordsPage::ToggleWrap() {
    m_pane->setLineWrapMode(m_pane->lineWrapMode() == QPlainTextEdit::NoWrap ? QPlainTextEdit::WidgetWidth
                                                                             : QPlainTextEdit::NoWrap);
}

void RecordsPage::SwitchPane() {
    QWidget* next = PaneHasFocus() ? static_cast<QWidget*>(m_list) : m_pane;
    m_paneHadFocus = next == m_pane;
    next->setFocus(Qt::TabFocusReason);
}

void RecordsPage::ShowExportMenu() {
    // From the keyboard: under the current row, or at the list's corner.
    const QRect row = m_list->visualRect(m_list->currentIndex());
    const QPoint at = row.isValid() ? row.bottomLeft() : QPoint(0, 0);
    ShowExportMenuAt(m_list->viewport()->mapToGlobal(at));
}

void RecordsPage::ShowExportMenuAt(const QPoint& global) {
    if (!m_view.HasEntries()) return;
    RunExportMenu(this, global, m_viewed, SelectedRows());
}

QWidget* RecordsPage::FocusTarget() { return PaneHasFocus() ? static_cast<QWidget*>(m_pane) : m_list; }

}  // namespace corvelle::qt
