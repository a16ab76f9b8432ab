// The "About" page: the banner, the mail and web links as pictures, and the
// read-only information text; copy, select all and the find command act on
// the information text.
#pragma once

#include "qt/QtPage.h"

class QPlainTextEdit;

namespace corvelle::qt {

class AboutPage final : public QtPage {
public:
    explicit AboutPage(QWidget* parent);

    void Open() override;
    bool Search(const std::string& utf8, int flags) override;
    void Copy() override;
    void SelectAll() override;
    QWidget* FocusTarget() override;

private:
    QPlainTextEdit* m_info;
    std::string m_text;
    bool m_opened = false;
};

}  // namespace corvelle::qt
