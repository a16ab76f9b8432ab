#include "tools/PalmDocWriter.h"

#include <cstdint>
#include <vector>

#include "tools/BigEndianWriter.h"

namespace corvelle::samples {
namespace {

constexpr size_t kRecordSize = 4096;
constexpr size_t kWindow = 2047, kShortest = 3, kLongest = 10;
// Candidates looked at per position: enough to find most repeats of a
// natural text, few enough to write a 10 MB book in a second or two.
constexpr int kCandidates = 16;

uint32_t KeyAt(const std::string& text, size_t at) {
    return (static_cast<uint8_t>(text[at]) << 16) | (static_cast<uint8_t>(text[at + 1]) << 8) |
           static_cast<uint8_t>(text[at + 2]);
}

}  // namespace

std::string CompressPalmDocRecord(const std::string& text) {
    std::string out;
    // The last position of each 3-byte key, and for each position the one
    // before it with the same key.
    std::vector<int> head(1 << 12, -1), previous(text.size(), -1);
    const auto hash = [](uint32_t key) { return (key * 2654435761u) >> 20; };
    size_t at = 0;
    const auto remember = [&](size_t position) {
        if (position + kShortest > text.size()) return;
        const uint32_t slot = hash(KeyAt(text, position));
        previous[position] = head[slot];
        head[slot] = static_cast<int>(position);
    };
    while (at < text.size()) {
        size_t bestLength = 0, bestDistance = 0;
        if (at + kShortest <= text.size()) {
            int candidate = head[hash(KeyAt(text, at))];
            for (int tries = 0; candidate >= 0 && tries < kCandidates; ++tries, candidate = previous[candidate]) {
                const size_t distance = at - static_cast<size_t>(candidate);
                if (distance > kWindow) break;
                size_t length = 0;
                while (length < kLongest && at + length < text.size() && text[candidate + length] == text[at + length])
                    ++length;
                if (length > bestLength) bestLength = length, bestDistance = distance;
            }
        }
        const auto byte = static_cast<uint8_t>(text[at]);
        if (bestLength >= kShortest) {
            Put16(out, 0x8000u | static_cast<unsigned>(bestDistance << 3) | static_cast<unsigned>(bestLength - 3));
            for (size_t i = 0; i < bestLength; ++i) remember(at + i);
            at += bestLength;
        } else if (byte == ' ' && at + 1 < text.size() && static_cast<uint8_t>(text[at + 1]) >= 0x40 &&
                   static_cast<uint8_t>(text[at + 1]) <= 0x7F) {
            Put8(out, static_cast<uint8_t>(text[at + 1]) ^ 0x80);
            remember(at);
            remember(at + 1);
            at += 2;
        } else {
            // Bytes that would read as a command go as a run of one literal.
            if ((byte >= 0x01 && byte <= 0x08) || byte >= 0x80) Put8(out, 1);
            Put8(out, byte);
            remember(at);
            ++at;
        }
    }
    return out;
}

PalmDatabase PalmDocBook(const std::string& name, const std::string& text, bool compressed) {
    PalmDatabase db;
    db.name = name;
    db.type = "TEXt";
    db.creator = "REAd";
    const size_t records = (text.size() + kRecordSize - 1) / kRecordSize;
    std::string header;
    Put16(header, compressed ? 2 : 1);
    Put16(header, 0);
    Put32(header, static_cast<uint32_t>(text.size()));
    Put16(header, static_cast<uint32_t>(records));
    Put16(header, kRecordSize);
    Put32(header, 0);
    db.records.push_back({0, 0x400000, header});
    for (size_t i = 0; i < records; ++i) {
        const std::string part = text.substr(i * kRecordSize, kRecordSize);
        db.records.push_back({0, static_cast<uint32_t>(0x400001 + i), compressed ? CompressPalmDocRecord(part) : part});
    }
    return db;
}

std::string SampleBookText(size_t paragraphs) {
    static const char* const kWords[] = {"the", "river", "ran", "quietly", "past", "old", "houses", "and", "a",
                                         "lantern", "glowed", "in", "window", "while", "she", "read", "letters",
                                         "from", "distant", "harbour", "towns", "of", "autumn", "with", "patience"};
    constexpr size_t kWordCount = sizeof kWords / sizeof kWords[0];
    std::string text;
    uint32_t state = 12345;
    for (size_t p = 0; p < paragraphs; ++p) {
        text += "Paragraph " + std::to_string(p) + ":";
        const size_t sentences = 2 + p % 4;
        for (size_t s = 0; s < sentences; ++s) {
            const size_t words = 6 + (state >> 7) % 10;
            for (size_t w = 0; w < words; ++w) {
                state = state * 1103515245u + 12345u;
                std::string word = kWords[(state >> 16) % kWordCount];
                if (w == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
                text += " " + word;
            }
            text += '.';
        }
        text += '\n';
    }
    return text;
}

}  // namespace corvelle::samples
