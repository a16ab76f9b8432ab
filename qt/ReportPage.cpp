#include "qt/ReportPage.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>

#include "model/ReportFillPlan.h"
#include "qt/QtEdge.h"
#include "qt/TextControl.h"

namespace corvelle::qt {
namespace {

constexpr char kTitle[] = "Image Dump";
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
    : QtPage(PageKind::kReport, parent),
      m_report(viewed),
      m_edit(new QPlainTextEdit(this)),
      m_fill(this),
      m_onTitle(std::move(onTitle)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    m_edit->setObjectName("report");
    SetUpTextControl(*m_edit, font, false);
    SetTabStops(*m_edit->document(), tabStops, m_edit->logicalDpiX());
    m_fill.m_onProgress = [this] { ShowProgress(); };
}

ReportPage::~ReportPage() = default;

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
    AppendAtEnd(*m_edit->document(), FromUtf8(std::string_view(m_report.Utf8()).substr(from, to - from)));
    // The caret was at the end of the empty text, and went on with it.
    if (from == 0) m_edit->moveCursor(QTextCursor::Start);
}

void ReportPage::ShowProgress() {
    if (!m_onTitle) return;
    const std::string title = m_fill.AllShown() ? std::string(kTitle)
                                                : ArrivingTabTitle(kTitle, m_fill.Shown(), m_fill.Total());
    m_onTitle(QString::fromStdString(title));
}

bool ReportPage::Search(const std::string& utf8, int flags) {
    Open();
    m_report.PrepareAll();
    const std::string& text = m_report.Utf8();
    const auto hit = m_report.Find(utf8, SelectionInBytes(*m_edit, text), flags);
    if (!hit) return false;
    m_fill.ShowUpTo(hit->end);
    SelectBytes(*m_edit, text, *hit);
    return true;
}

void ReportPage::Copy() {
    Open();
    if (SelectsWholeControl(*m_edit) && !m_fill.AllShown()) {
        // Never half a report: the control holds only a part of it.
        m_report.PrepareAll();
        QApplication::clipboard()->setText(FromUtf8(m_report.Utf8()));
        return;
    }
    m_edit->copy();
}

void ReportPage::SelectAll() { m_edit->selectAll(); }

void ReportPage::ToggleWrap() {
    m_edit->setLineWrapMode(m_edit->lineWrapMode() == QPlainTextEdit::NoWrap ? QPlainTextEdit::WidgetWidth
                                                                             : QPlainTextEdit::NoWrap);
}

QWidget* ReportPage::FocusTarget() { return m_edit; }

}  // namespace corvelle::qt
