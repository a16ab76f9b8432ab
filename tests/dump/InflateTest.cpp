// The bounded inflate every book decoder goes through: what it gives for a
// whole stream, a stream cut across records, a bomb and damaged data.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "HeapFile.h"
#include "dump/Inflate.h"

using namespace corvelle;

namespace {

// A zlib stream of `text`, cut after each of `cuts` bytes of input with a
// full flush, as a zTXT book's records are.
std::vector<std::string> Deflated(const std::string& text, const std::vector<size_t>& cuts = {}) {
    z_stream z{};
    EXPECT_EQ(deflateInit(&z, 9), Z_OK);
    std::vector<std::string> pieces;
    size_t at = 0;
    std::vector<size_t> ends = cuts;
    ends.push_back(text.size());
    for (size_t i = 0; i < ends.size(); ++i) {
        std::string piece(text.size() + 1024, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data() + at));
        z.avail_in = static_cast<uInt>(ends[i] - at);
        z.next_out = reinterpret_cast<Bytef*>(&piece[0]);
        z.avail_out = static_cast<uInt>(piece.size());
        deflate(&z, i + 1 == ends.size() ? Z_FINISH : Z_FULL_FLUSH);
        piece.resize(piece.size() - z.avail_out);
        pieces.push_back(piece);
        at = ends[i];
    }
    deflateEnd(&z);
    return pieces;
}

TEST(Inflate, WholeStreamsBoundsAndDamage) {
    const std::string text = "The quick brown fox jumps over the lazy dog. " + std::string(5000, 'z');
    const std::string stream = Deflated(text)[0];
    const std::string bomb = Deflated(std::string(50 << 20, '\0'))[0];  // 50 MB from about 50 KB
    const struct {
        const char* name;
        std::string input;
        uint64_t bound;
        InflateStatus status;
        std::string out;
    } cases[] = {
        {"Whole", stream, 1 << 20, InflateStatus::kDone, text},
        {"ExactlyTheBound", stream, text.size(), InflateStatus::kDone, text},
        {"CutByTheBound", stream, 100, InflateStatus::kBound, text.substr(0, 100)},
        {"BombStopsAtTheBound", bomb, 4096, InflateStatus::kBound, std::string(4096, '\0')},
        {"NotZlib", "plain text, no header", 1 << 20, InflateStatus::kBroken, ""},
        {"CutShort", stream.substr(0, stream.size() / 2), 1 << 20, InflateStatus::kMoreInput, ""},
        {"Empty", "", 1 << 20, InflateStatus::kMoreInput, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        EXPECT_EQ(InflateRecord(Span(c.input), c.bound, out), c.status);
        if (c.status != InflateStatus::kMoreInput) {
            EXPECT_EQ(out, c.out);
        }
        EXPECT_LE(out.size(), c.bound);
    }
}

TEST(Inflate, OneStreamAcrossRecordsThroughOneInflater) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i) + "\n";
    const std::vector<std::string> records = Deflated(text, {4096, 8192, 12000});
    ASSERT_EQ(records.size(), 4u);
    Inflater inflater;
    std::string out;
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const InflateStatus status = inflater.Feed(Span(records[i]), 1 << 20, out);
        EXPECT_EQ(status, i + 1 == records.size() ? InflateStatus::kDone : InflateStatus::kMoreInput);
    }
    EXPECT_EQ(out, text);
    // A record alone, after the first, is no stream of its own.
    std::string alone;
    EXPECT_EQ(InflateRecord(Span(records[1]), 1 << 20, alone), InflateStatus::kBroken);
}

}  // namespace
