#include "qt/AboutPage.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QUrl>
#include <QVBoxLayout>

#include "about/AboutText.h"
#include "qt/TextControl.h"
#include "res/Maker.h"

// Q_INIT_RESOURCE declares its function where it stands: outside any namespace.
static void InitPagesResource() { Q_INIT_RESOURCE(pages); }

namespace corvelle::qt {
namespace {

// A picture that opens `url` when clicked, as the Win32 page's image links do.
class PictureLink final : public QLabel {
public:
    PictureLink(const char* picture, const char* url, QWidget* parent) : QLabel(parent), m_url(QString::fromUtf8(url)) {
        setPixmap(QPixmap(QString::fromUtf8(picture)));
        setCursor(Qt::PointingHandCursor);
        setToolTip(m_url);
        setFrameStyle(QFrame::Panel | QFrame::Raised);
    }

protected:
    void mouseReleaseEvent(QMouseEvent*) override {
        if (!QDesktopServices::openUrl(QUrl(m_url)))
            QMessageBox::warning(this, "Corvelle", "The link cannot be opened:\n\n" + m_url);
    }

private:
    QString m_url;
};

}  // namespace

AboutPage::AboutPage(QWidget* parent) : QtPage(PageKind::kAbout, parent), m_info(new QPlainTextEdit) {
    // The pictures are compiled into the plug-in.
    InitPagesResource();
    auto* layout = new QVBoxLayout(this);
    auto* banner = new QLabel;
    banner->setPixmap(QPixmap(":/corvelle/Banner.bmp"));
    banner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    banner->setAlignment(Qt::AlignCenter);
    layout->addWidget(banner, 0, Qt::AlignHCenter);
    auto* links = new QHBoxLayout;
    links->addStretch();
    links->addWidget(new PictureLink(":/corvelle/LinkMail.bmp", CORVELLE_MAKER_MAILTO, this));
    links->addWidget(new PictureLink(":/corvelle/LinkWeb.bmp", CORVELLE_MAKER_WEB, this));
    links->addStretch();
    layout->addLayout(links);
    layout->addWidget(new QLabel("Information :"));
    layout->addWidget(m_info, 1);
}

void AboutPage::Open() {
    if (m_opened) return;
    m_opened = true;
    SetUpTextControl(*m_info, m_info->font(), true);
    m_text = BuiltInAboutText();
    m_info->setPlainText(QString::fromUtf8(m_text.c_str()));
}

bool AboutPage::Search(const std::string& utf8, int flags) {
    Open();
    const auto hit = FindMatch(m_text, utf8, SelectionInBytes(*m_info, m_text), flags);
    if (!hit) return false;
    SelectBytes(*m_info, m_text, *hit);
    return true;
}

void AboutPage::Copy() { m_info->copy(); }

void AboutPage::SelectAll() { m_info->selectAll(); }

QWidget* AboutPage::FocusTarget() { return m_info; }

}  // namespace corvelle::qt
