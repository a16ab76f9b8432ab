// Launcher icons against netpbm, a Palm bitmap writer and reader that we did
// not write: pnmtopalm makes the bitmaps, palmtopnm says what their pixels
// are, and `corvelle-dump --icon` must write the same pixels. Every prefix of
// every bitmap is decoded too, which the sanitizer build checks for faults.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestFolder.h"
#include "dump/LauncherIcon.h"
#include "tools/fixtures/PalmBitmapWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace corvelle {
namespace {

// A folder of the test's own holding src.ppm: 13 x 9 (odd, so rows are padded) in colours of
// the system palette, white among them; big.ppm: the same, twice the size.
struct ScratchDir : TemporaryFolder {
    ScratchDir() {
        // White, FFCC00, 003399, CC0000, black and 669933, three bytes each.
        const char kColors[] = "\xFF\xFF\xFF\xFF\xCC\0\0\x33\x99\xCC\0\0\0\0\0\x66\x99\x33";
        for (const int scale : {1, 2}) {
            std::string ppm = "P6\n" + std::to_string(13 * scale) + " " + std::to_string(9 * scale) + "\n255\n";
            for (int y = 0; y < 9 * scale; ++y)
                for (int x = 0, sy = y / scale; x < 13 * scale; ++x)
                    ppm.append(kColors + 3 * ((x / scale * (x / scale + sy) + 3 * sy) % 6), 3);
            Write(scale == 1 ? "src.ppm" : "big.ppm", ppm);
        }
    }
};

// Rendition n as palmtopnm reads the family, and as corvelle-dump writes it
// from an application whose tAIB 1000 holds the family, with a resource after
// it so that the icon ends where that one starts, not at the end of the file.
void ExpectSameAsPalmtopnm(const TemporaryFolder& dir, const std::string& family, int n) {
    SCOPED_TRACE("rendition " + std::to_string(n));
    samples::PalmDatabase app = samples::ApplicationSample();
    app.resources = {{"code", 0, "code"}, {"tAIB", 1000, family}, {"tver", 1, "1.0"}};
    dir.Write("family", family);
    dir.Write("app.prc", samples::SerializePalmDatabase(app));
    const std::string r = "-rendition " + std::to_string(n);
    ASSERT_EQ(dir.Run("palmtopnm -quiet " + r + " family | pamdepth -quiet 255 | ppmtoppm -quiet > want.ppm"), 0);
    ASSERT_EQ(dir.Run(CORVELLE_DUMP_TOOL " --icon got.ppm -" + r + " app.prc"), 0);
    EXPECT_GT(dir.Read("want.ppm").size(), 11u);
    EXPECT_EQ(dir.Read("got.ppm"), dir.Read("want.ppm"));
}

// No prefix is read past; a rendition is refused once any of its data is cut.
void ExpectPrefixesSafe(const std::string& family, bool lastNeedsEveryByte) {
    for (size_t length = 0; length <= family.size(); ++length) {
        const std::vector<uint8_t> bytes(family.begin(), family.begin() + static_cast<std::ptrdiff_t>(length));
        const auto renditions = ListRenditions(bytes.data(), bytes.size());
        IconImage image;
        bool last = false;
        for (const BitmapRendition& r : renditions) last = DecodeRendition(bytes.data(), bytes.size(), r, image);
        ASSERT_TRUE(!lastNeedsEveryByte || last == (length == family.size())) << "prefix of " << length;
    }
}

struct NetpbmCase { std::string name; int depth; std::string options; };

std::vector<NetpbmCase> NetpbmCases() {
    std::vector<NetpbmCase> cases;
    const std::pair<const char*, const char*> packings[] = {
        {"", ""}, {"ScanLine", " -scanline"}, {"Rle", " -rle"}, {"PackBits", " -packbits"}};
    for (int depth : {1, 2, 4, 8, 16})
        for (const auto& [name, option] : packings)
            for (const bool dense : {false, true})
                if (depth < 16 || *name == '\0')  // netpbm compresses 8 bits at most
                    cases.push_back({"Depth" + std::to_string(depth) + name + (dense ? "Double" : ""), depth,
                                     option + std::string(dense ? " -density 144" : "")});
    cases.insert(cases.end(), {{"OwnColors", 8, " -colormap"}, {"OwnColorsRle", 8, " -colormap -rle"},
                               {"Transparent", 8, " -transparent white"}, {"Transparent16", 16, " -transparent white"},
                               {"TransparentDoublePackBits", 8, " -transparent white -density 144 -packbits"},
                               {"Transparent16Double", 16, " -transparent white -density 144"}});
    return cases;
}

// The source reduced to what each depth holds: black and white, four or
// sixteen greys; the colours are the palette's already.
std::string Reduce(int depth) {
    if (depth == 1) return "ppmtopgm src.ppm | pgmtopbm -threshold";
    if (depth == 2 || depth == 4)
        return "ppmtopgm src.ppm | pnmremap -quiet -mapfile=/usr/share/netpbm/palmgray" + std::to_string(depth) +
               ".map";
    return "cat src.ppm";
}

void PrintTo(const NetpbmCase& c, std::ostream* os) { *os << c.name; }

class NetpbmBitmap : public ::testing::TestWithParam<NetpbmCase> {};

TEST_P(NetpbmBitmap, DecodesAsPalmtopnmDoes) {
    const NetpbmCase& c = GetParam();
    const ScratchDir dir;
    const std::string depth = std::to_string(c.depth);
    ASSERT_EQ(dir.Run(Reduce(c.depth) + " | pnmtopalm -quiet -depth " + depth + c.options + " > bm"), 0);
    const std::string bitmap = dir.Read("bm");
    ExpectSameAsPalmtopnm(dir, bitmap, 1);
    ExpectPrefixesSafe(bitmap, true);

    // Transparency is not in the PPM: the decoder's alpha must mark exactly
    // the pixels of the colour that palmtopnm names.
    if (c.options.find("-transparent") == std::string::npos) return;
    ASSERT_EQ(dir.Run("palmtopnm -quiet -transparent bm > transparent"), 0);
    EXPECT_EQ(dir.Read("transparent").substr(0, 7), "#ffffff");
    const auto* data = reinterpret_cast<const uint8_t*>(bitmap.data());
    IconImage icon;
    ASSERT_TRUE(DecodeRendition(data, bitmap.size(), ListRenditions(data, bitmap.size()).at(0), icon));
    for (const Rgba& p : icon.pixels) EXPECT_EQ(p.a == 0, p.r == 255 && p.g == 255 && p.b == 255);
    EXPECT_GT(std::count_if(icon.pixels.begin(), icon.pixels.end(), [](const Rgba& p) { return p.a == 0; }), 0);
}

INSTANTIATE_TEST_SUITE_P(Netpbm, NetpbmBitmap, ::testing::ValuesIn(NetpbmCases()),
                         [](const auto& info) { return info.param.name; });

// A family joined from pnmtopalm -offset pieces, each padded to the offset it
// states (netpbm writes two bytes fewer than it states), the low-density ones
// first, then the marker and the double-density ones.
TEST(NetpbmFamily, EveryRenditionIsCountedAndDecodedAsPalmtopnmDoes) {
    const ScratchDir dir;
    const std::pair<std::string, std::string> pieces[] = {
        {Reduce(1), "-depth 1"}, {Reduce(4), "-depth 4 -scanline"}, {"cat src.ppm", "-depth 8 -rle"},
        {"cat big.ppm", "-depth 8 -density 144"}, {"cat big.ppm", "-depth 16 -density 144"}};
    std::string family;
    for (size_t i = 0; i < std::size(pieces); ++i) {
        const std::string offset = i + 1 < std::size(pieces) ? "-offset " : "";
        ASSERT_EQ(dir.Run(pieces[i].first + " | pnmtopalm -quiet " + offset + pieces[i].second + " > piece"), 0);
        std::string piece = dir.Read("piece");
        ASSERT_GE(piece.size(), 24u);
        const auto byte = [&](size_t at) { return uint32_t{static_cast<uint8_t>(piece[at])}; };
        const uint32_t next = piece[9] == 3 ? byte(20) << 24 | byte(21) << 16 | byte(22) << 8 | byte(23)
                                            : (byte(10) << 8 | byte(11)) * 4;
        if (next > piece.size()) piece.resize(next, '\0');
        family += piece;
        if (i == 2) family += std::string("\0\0\0\0\0\0\0\0\xFF\x01\0\0\0\0\0\0", 16);
    }
    for (int n = 1; n <= 5; ++n) ExpectSameAsPalmtopnm(dir, family, n);
    ExpectPrefixesSafe(family, false);

    // Without --rendition: the finest, the 16-bit double-density one.
    ASSERT_EQ(dir.Run(CORVELLE_DUMP_TOOL " --icon best.ppm app.prc"), 0);
    EXPECT_EQ(dir.Read("best.ppm"), dir.Read("want.ppm"));
    // A rendition that is not there, and a file without an icon: status 1, one line.
    for (const std::string& args : {std::string("--rendition 6 app.prc"), std::string(CORVELLE_SAMPLES "/Memos.pdb")}) {
        EXPECT_EQ(dir.Run(CORVELLE_DUMP_TOOL " --icon none.ppm " + args + " 2> err"), 1);
        const std::string err = dir.Read("err");
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    }
}

samples::BitmapPicture Square(uint16_t side) {
    samples::BitmapPicture picture;
    picture.width = picture.height = side;
    picture.pixels.assign(size_t{side} * side, 1);
    return picture;
}

TEST(IconLookup, FindsTheLargeIconElseTheSmallOneInsideItsResource) {
    const std::string icon20 = samples::BitmapFamily({Square(20)}), icon15 = samples::BitmapFamily({Square(15)});
    const struct { const char* name; std::vector<samples::PalmResource> resources; uint32_t width; } rows[] = {
        {"Large", {{"tAIB", 1001, icon15}, {"tAIB", 1000, icon20}}, 20},
        {"SmallWithoutLarge", {{"tAIB", 1001, icon15}, {"tver", 1, "1"}}, 15},
        {"CutByTheNextResource", {{"tAIB", 1000, icon20.substr(0, icon20.size() - 1)}, {"tver", 1, "1"}}, 0}};
    for (const auto& row : rows) {
        samples::PalmDatabase db = samples::ApplicationSample();
        db.resources = row.resources;
        const std::string file = samples::SerializePalmDatabase(db);
        IconImage icon;
        const bool found = DecodeLauncherIcon(reinterpret_cast<const uint8_t*>(file.data()),
                                              static_cast<uint32_t>(file.size()), UINT32_MAX, UINT32_MAX, icon);
        EXPECT_EQ(found ? icon.width : 0, row.width) << row.name;
    }
}

TEST(IconScale, WholeFactorsUpNearestNeighbourDownAspectKept) {
    IconImage icon{4, 2, std::vector<Rgba>(8)};
    for (uint8_t i = 0; i < 8; ++i) icon.pixels[i].r = i;
    const struct { uint32_t w, h, outW, outH; } rows[] = {{64, 64, 64, 32}, {9, 100, 8, 4}, {7, 3, 4, 2}, {2, 2, 2, 1}};
    for (const auto& row : rows) {
        const IconImage scaled = ScaleToFit(icon, row.w, row.h);
        ASSERT_EQ(std::make_pair(scaled.width, scaled.height), std::make_pair(row.outW, row.outH));
        for (uint32_t i = 0; i < scaled.pixels.size(); ++i)
            EXPECT_EQ(scaled.pixels[i].r, i / row.outW * 2 / row.outH * 4 + i % row.outW * 4 / row.outW) << i;
    }
}

}  // namespace
}  // namespace corvelle
