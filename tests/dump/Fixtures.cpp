#include "Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace corvelle::testing {

std::vector<std::string> Lines(const std::string& report) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < report.size()) {
        const size_t end = report.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "report does not end with CR LF";
            lines.push_back(report.substr(start));
            break;
        }
        std::string line = report.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break in: " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

bool HasLine(const std::string& report, const std::string& line) {
    const std::vector<std::string> lines = Lines(report);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> Block(const std::string& report, const std::string& first) {
    const std::vector<std::string> lines = Lines(report);
    auto begin = std::find(lines.begin(), lines.end(), first);
    auto end = std::find(begin, lines.end(), std::string());
    return std::vector<std::string>(begin, end);
}

}  // namespace corvelle::testing
