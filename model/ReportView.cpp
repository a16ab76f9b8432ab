#include "model/ReportView.h"

#include "standards/CodePage.h"

namespace corvelle {

ReportView::ReportView(const ViewedDatabase& viewed) {
    const std::string report = viewed.Report();
    std::string lf;
    lf.reserve(report.size());
    for (size_t i = 0; i < report.size(); ++i) {
        if (report[i] == '\r' && i + 1 < report.size() && report[i + 1] == '\n') continue;
        lf += report[i];
    }
    TextDecoder decoder(viewed.Encoding());
    m_text.reserve(lf.size() + lf.size() / 8);
    decoder.AppendUtf8(lf, m_text);
}

}  // namespace corvelle
