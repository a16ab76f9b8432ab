// The "Image Dump" page: the report in a read-only QPlainTextEdit (which
// keeps a long text in blocks and lays out only what shows), in the Lister
// font, with the report's tab stops. A long report shows its first screens
// at once and the rest arrives while the user reads (FilledTextPage).
#pragma once

#include <QFont>
#include <QPlainTextEdit>

#include <vector>

#include "model/ReportView.h"
#include "qt/FilledTextPage.h"

class QTextDocument;

namespace corvelle::qt {

class ReportPage final : public FilledTextPage<QPlainTextEdit> {
public:
    // `tabStops` in twips; `onTitle` is told the tab's title as the report arrives.
    ReportPage(const ViewedDatabase& viewed, const QFont& font, const std::vector<int>& tabStops,
               std::function<void(const QString&)> onTitle, QWidget* parent);

    void Open() override;

private:
    size_t Size() const override { return m_report.Utf8().size(); }
    bool IsComplete() const override { return m_report.IsComplete(); }
    void Prepare(size_t bytes) override { m_report.Prepare(bytes); }
    size_t ExpectedSize() const override { return m_report.ExpectedSize(); }
    size_t FirstPiece() const override;
    size_t PieceEnd(size_t start, size_t wanted) const override;
    void Append(size_t from, size_t to) override;

    const std::string& TextSoFar() const override { return m_report.Utf8(); }
    void ReadAll() override { m_report.PrepareAll(); }
    std::optional<TextRange> Find(const std::string& text, const std::string& needle, TextRange selection,
                                  int flags) const override {
        return FindMatch(text, needle, selection, flags);
    }

    ReportView m_report;
    bool m_opened = false;
};

// Sets a text control's tab stops from the report's positions in twips,
// with the rich edit's half-inch stops after the last.
void SetTabStops(QTextDocument& document, const std::vector<int>& twips, qreal dotsPerInch);

}  // namespace corvelle::qt
