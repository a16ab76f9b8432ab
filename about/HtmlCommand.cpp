#include "about/HtmlCommand.h"

namespace corvelle {
namespace {

// Finds `needle` starting on a character boundary only: after a lead byte
// the next byte is the second half of the same character and is skipped.
size_t FindOnCharBoundary(std::string_view text, std::string_view needle,
                          const LeadBytePredicate& isLeadByte) {
    size_t i = 0;
    while (i < text.size()) {
        if (text.substr(i, needle.size()) == needle) return i;
        const bool pair = isLeadByte && isLeadByte(static_cast<unsigned char>(text[i]));
        i += (pair && i + 1 < text.size()) ? 2 : 1;
    }
    return std::string_view::npos;
}

}  // namespace

bool BuildHtmlCommandLine(std::string_view commandText, std::string_view url,
                          const LeadBytePredicate& isLeadByte, std::string& commandLine) {
    size_t cut = FindOnCharBoundary(commandText, "\"%1\"", isLeadByte);
    if (cut == std::string_view::npos) cut = FindOnCharBoundary(commandText, "%1", isLeadByte);
    const std::string_view program = commandText.substr(0, cut);

    // The program, a blank, the URL and the terminator.
    if (program.size() + 1 + url.size() + 1 > kHtmlCommandCapacity) return false;

    commandLine.assign(program.data(), program.size());
    commandLine += ' ';
    commandLine.append(url.data(), url.size());
    return true;
}

HtmlCommand FindHtmlCommand(const ClassesRootReader& readDefault, std::string_view url,
                            const LeadBytePredicate& isLeadByte) {
    HtmlCommand result;
    std::string fileType;
    if (readDefault(".htm", fileType) != 0) {
        result.status = HtmlCommandStatus::NoHtmlType;
        return result;
    }
    std::string commandText;
    if (readDefault(fileType + "\\shell\\open\\command", commandText) != 0) {
        result.status = HtmlCommandStatus::NoOpenCommand;
        return result;
    }
    result.status = BuildHtmlCommandLine(commandText, url, isLeadByte, result.commandLine)
                        ? HtmlCommandStatus::Ready
                        : HtmlCommandStatus::TooLong;
    return result;
}

}  // namespace corvelle
