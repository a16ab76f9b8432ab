#include "qt/ReportPage.h"

#include <QTextDocument>
#include <QTextOption>

namespace corvelle::qt {
namespace {

// After the last stop the rich edit goes on at every half inch.
constexpr int kDefaultTabTwips = 720;

}  // namespace

void SetTabStops(QTextDocument& document, const std::vector<int>& twips, qreal dotsPerInch) {
    QTextOption option = document.defaultTextOption();
    QList<QTextOption::Tab> tabs;
    for (int stop : twips) tabs.append(QTextOption::Tab(PixelsOfTwips(stop, dotsPerInch), QTextOption::LeftTab));
    option.setTabs(tabs);
    option.setTabStopDistance(PixelsOfTwips(kDefaultTabTwips, dotsPerInch));
    document.setDefaultTextOption(option);
}

ReportPage::ReportPage(const ViewedDatabase& viewed, const QFont& font, const std::vector<int>& tabStops,
                       std::function<void(const QString&)> onTitle, QWidget* parent)
    : FilledTextPage(PageKind::kReport, "Image Dump", "report", std::move(onTitle), parent), m_report(viewed) {
    SetUpTextControl(*m_edit, font, false);
    SetTabStops(*m_edit->document(), tabStops, m_edit->logicalDpiX());
}

void ReportPage::Open() {
    if (m_opened) return;
    m_opened = true;
    m_fill.Start(*this);
}

// Some screens of a maximised window: the rest comes from the host's loop.
size_t ReportPage::FirstPiece() const { return kFirstPieceBytes; }

size_t ReportPage::PieceEnd(size_t start, size_t wanted) const {
    return corvelle::PieceEnd(m_report.Utf8(), start, wanted);
}

void ReportPage::Append(size_t from, size_t to) {
    AppendText(std::string_view(m_report.Utf8()).substr(from, to - from), from == 0);
}

}  // namespace corvelle::qt
