// The report accumulator. Every line of the report is a printf-style piece
// followed by CR LF; the pieces use only %s, %d and %X with an optional
// zero-padded width, so a small formatter of our own renders them. It gives
// the same characters as the C library's printf for those conversions (the
// tests compare the two) at a fraction of the cost, which matters for
// databases of 65535 entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace corvelle {

// One argument of a formatted piece: a number for %d and %X, a text for %s.
// A text ends at its first zero byte, as a C string would.
class FormatArg {
public:
    FormatArg(int32_t value) : m_number(value) {}
    FormatArg(uint32_t value) : m_number(value) {}
    FormatArg(int64_t value) : m_number(value) {}
    FormatArg(uint64_t value) : m_number(static_cast<int64_t>(value)) {}
    FormatArg(std::string_view text) : m_text(text), m_isText(true) {}
    FormatArg(const char* text) : m_text(text), m_isText(true) {}
    FormatArg(const std::string& text) : m_text(text), m_isText(true) {}

    int64_t Number() const { return m_number; }
    std::string_view Text() const { return m_text; }
    bool IsText() const { return m_isText; }

private:
    int64_t m_number = 0;
    std::string_view m_text;
    bool m_isText = false;
};

// A printf-style piece parsed into literal runs and conversions. Pieces that
// are printed once per entry are parsed once, into a static pattern; the rest
// are parsed as they are printed. Either way the same code renders them.
class ReportPattern {
public:
    struct Conversion {
        std::string_view literalBefore;
        char conversion = 's';  // 's', 'd' or 'X'
        unsigned width = 0;
        bool zeroPad = false;
    };
    static constexpr size_t kMaxConversions = 8;

    explicit ReportPattern(const char* format);

    const Conversion* begin() const { return m_conversions; }
    const Conversion* end() const { return m_conversions + m_count; }
    std::string_view Tail() const { return m_tail; }

private:
    Conversion m_conversions[kMaxConversions];
    size_t m_count = 0;
    std::string_view m_tail;
};

// Receives a streamed report piece by piece (see ReportText's constructor).
using ReportChunkWriter = void (*)(void* context, const char* bytes, size_t size);

class ReportText {
public:
    static constexpr std::string_view kLineEnd = "\r\n";
    // How much a streamed report holds before it hands a chunk on.
    static constexpr size_t kStreamChunk = 64 * 1024;

    ReportText() = default;
    // A report that is handed on in chunks as it grows, instead of being kept
    // whole: a command-line dump of a 65535-entry database then never holds
    // its 12 MB at once. Flush() hands on the rest.
    ReportText(ReportChunkWriter writer, void* context) : m_writer(writer), m_writerContext(context) {}

    // Makes room for at least this many more bytes in one allocation (a
    // streamed report needs no more than its chunk).
    void Reserve(size_t moreBytes) {
        if (m_writer == nullptr) Room(moreBytes);
    }
    void Flush();
    size_t Size() const { return m_used; }
    std::string_view View() const { return std::string_view(m_text.data(), m_used); }
    std::string Take() {
        m_text.resize(m_used);
        m_used = 0;
        return std::move(m_text);
    }

    // Appends literal text unchanged.
    void Append(std::string_view text) {
        char* out = Room(text.size());
        if (!text.empty()) std::memcpy(out, text.data(), text.size());
        m_used += text.size();
    }
    void EndLine() { Append(kLineEnd); }
    // An empty line: the extra CR LF some lines are followed by.
    void BlankLine() { Append(kLineEnd); }

    // Appends one formatted piece without a line end.
    template <typename... Args>
    void Format(const char* format, const Args&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        AppendFormatted(format, list, sizeof...(Args));
    }

    // Appends one formatted piece and CR LF.
    template <typename... Args>
    void Line(const char* format, const Args&... args) {
        Format(format, args...);
        EndLine();
    }
    template <typename... Args>
    void Line(const ReportPattern& pattern, const Args&... args) {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        AppendPattern(pattern, list, sizeof...(Args));
        EndLine();
    }

private:
    // The text is written in place into m_text, whose size is the space in
    // hand; m_used is how much of it the report fills. Growth doubles, so a
    // report costs a handful of allocations, and none once Reserve was told
    // the size.
    char* Room(size_t bytes) {
        if (bytes > m_text.size() - m_used) Grow(bytes);
        return &m_text[0] + m_used;
    }
    void Grow(size_t bytes);
    void AppendFormatted(const char* format, const FormatArg* args, size_t count) {
        AppendPattern(ReportPattern(format), args, count);
    }
    void AppendPattern(const ReportPattern& pattern, const FormatArg* args, size_t count);
    void AppendNumber(const FormatArg& arg, char conversion, unsigned width, bool zeroPad);

    std::string m_text;
    size_t m_used = 0;
    ReportChunkWriter m_writer = nullptr;
    void* m_writerContext = nullptr;
};

}  // namespace corvelle
