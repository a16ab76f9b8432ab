// The "Records" page ("Resources" for a resource database): at the top a
// table of the entries, one row each with the cells of `corvelle-dump
// --records`, asking for the cells it draws; below it a read-only pane with
// the selected entry as `corvelle-dump --record N` prints it, and beside
// that its picture. Tab goes between the list and the pane, W wraps the
// pane, copy takes the selected rows (or the pane's selection), the find
// command selects the next entry that holds the text, and the list's
// context menu exports.
#pragma once

#include <QFont>

#include <memory>
#include <optional>
#include <vector>

#include "model/RecordsView.h"
#include "qt/QtPage.h"

class QLabel;
class QPlainTextEdit;
class QTableView;

namespace corvelle::qt {

class RecordsTableModel;

class RecordsPage final : public QtPage {
public:
    RecordsPage(const ViewedDatabase& viewed, const QFont& font, const std::vector<int>& tabStops, QWidget* parent);
    ~RecordsPage() override;

    const char* Title() const { return m_view.Title(); }

    void Open() override;
    bool Search(const std::string& utf8, int flags) override;
    void Copy() override;
    void SelectAll() override;
    void ToggleWrap() override;
    void SwitchPane() override;
    void ShowExportMenu() override;
    QWidget* FocusTarget() override;

    // For the tests: the list and the pane.
    QTableView* List() const { return m_list; }
    QPlainTextEdit* Pane() const { return m_pane; }
    QLabel* Picture() const { return m_picture; }

protected:
    // Which of the list and the pane had the focus last, for the host's
    // commands that come while the focus is elsewhere.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SizeColumns();
    std::optional<size_t> SelectedEntry() const;
    std::vector<size_t> SelectedRows() const;
    // Shows the selected entry once the selection has settled: a select-all
    // of 65535 rows changes them all, and the pane follows once.
    void RefreshPaneSoon();
    void ShowSelectedEntry();
    void ShowExportMenuAt(const QPoint& global);
    bool PaneHasFocus() const;

    const ViewedDatabase& m_viewed;
    RecordsView m_view;
    QFont m_font;
    std::vector<int> m_tabStops;
    QTableView* m_list;
    QPlainTextEdit* m_pane;
    QLabel* m_picture;
    RecordsTableModel* m_model = nullptr;
    std::optional<size_t> m_shownEntry;
    bool m_refreshPending = false;
    bool m_paneHadFocus = false;
    bool m_opened = false;
};

}  // namespace corvelle::qt
