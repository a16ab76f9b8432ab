// The Qt viewer's pages over the model, without a display: what each page
// shows is what the command line prints, a long text arrives in pieces
// while copy and the find command take all of it, and the keys go through
// the commands table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QImage>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>

#include "dump/PalmDump.h"
#include "formats/EntryText.h"
#include "model/PageDocument.h"
#include "qt/QtEdge.h"
#include "qt/QtPage.h"
#include "qt/RecordsPage.h"
#include "qt/ReportPage.h"
#include "qt/TextPage.h"
#include "qt/ViewerWidget.h"
#include "tools/fixtures/PalmDocWriter.h"
#include "tools/fixtures/PalmWriter.h"
#include "tools/fixtures/PictureSamples.h"

namespace corvelle::qt {
namespace {

std::unique_ptr<ViewedDatabase> Viewed(const std::string& bytes, const char* name) {
    return std::make_unique<ViewedDatabase>(name, std::vector<uint8_t>(bytes.begin(), bytes.end()),
                                            *FindCodePage("cp1252"));
}

std::string Lf(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// Lets the host's loop run until `done` or two minutes have passed.
template <class Done>
void RunUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 120000) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void Press(QWidget* target, int key, Qt::KeyboardModifiers held = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, held);
    QApplication::sendEvent(target, &press);
}

ViewerLooks Looks() {
    ViewerLooks looks;
    looks.font = looks.bookFont = QFont("DejaVu Sans Mono", 10);
    looks.tabStops = {400, 3200, 5500, 6500};
    return looks;
}

struct Viewer {
    explicit Viewer(const samples::PalmDatabase& database, const char* name = "/palm/Memos.pdb")
        : Viewer(samples::SerializePalmDatabase(database), name) {}
    Viewer(const std::string& bytes, const char* name) : widget(nullptr, Viewed(bytes, name), Looks()) {
        widget.resize(800, 600);
        widget.show();
        // The keyboard's focus needs an active window.
        QApplication::setActiveWindow(&widget);
    }
    QtPage& Page(int index) { return widget.Page(index); }
    QPlainTextEdit& Report() { return *static_cast<ReportPage&>(widget.Page(0)).Control(); }
    ViewerWidget widget;
};

struct TabsRow {
    const char* name;
    samples::PalmDatabase database;
    std::vector<QString> tabs;
};

void PrintTo(const TabsRow& row, std::ostream* out) { *out << row.name; }

class Tabs : public testing::TestWithParam<TabsRow> {};

// Ctrl+1 to Ctrl+4 name the tabs in the table's order; the third is named by the header.
TEST_P(Tabs, FollowTheDatabaseAndCtrlDigitsShowThem) {
    Viewer viewer(GetParam().database);
    QTabWidget& tabs = viewer.widget.Tabs();
    std::vector<QString> titles;
    for (int i = 0; i < tabs.count(); ++i) titles.push_back(tabs.tabText(i));
    EXPECT_EQ(titles, GetParam().tabs);
    for (int page = tabs.count(); page >= 1; --page) {
        Press(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &viewer.Report(),
              Qt::Key_0 + page, Qt::ControlModifier);
        EXPECT_EQ(viewer.widget.CurrentPage(), page - 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Databases, Tabs,
    testing::Values(TabsRow{"Memos", samples::MemoSample(), {"Image Dump", "About", "Records"}},
                    TabsRow{"Application", samples::ApplicationSample(), {"Image Dump", "About", "Resources"}},
                    TabsRow{"Book", samples::PalmDocBook("Book", samples::SampleBookText(20)),
                            {"Image Dump", "About", "Records", "Text"}}),
    [](const auto& info) { return info.param.name; });

TEST(ReportPage, ShowsTheReportAsTheCommandLinePrintsItAndWWrapsIt) {
    Viewer viewer(samples::MemoSample());
    const std::string bytes = samples::SerializePalmDatabase(samples::MemoSample());
    const std::string report = BuildReport(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(Utf8Of(viewer.Report().toPlainText()), Lf(report));
    EXPECT_EQ(viewer.Report().lineWrapMode(), QPlainTextEdit::NoWrap);
    Press(&viewer.Report(), Qt::Key_W);
    EXPECT_EQ(viewer.Report().lineWrapMode(), QPlainTextEdit::WidgetWidth);
    Press(&viewer.Report(), Qt::Key_W, Qt::ControlModifier);  // not the viewer's key
    EXPECT_EQ(viewer.Report().lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

// A report of megabytes: its first screens at once, the rest from the loop;
// meanwhile the tab says how much is in, and copy and the find command take the whole.
TEST(ReportPage, ArrivesInPiecesWhileCopyAndSearchTakeTheWholeReport) {
    Viewer viewer(samples::SyntheticRecordDatabase(20000));
    auto& page = static_cast<ReportPage&>(viewer.Page(0));
    const std::string whole = Utf8Of(QString::fromUtf8(Lf(viewer.widget.Viewed().Report()).c_str()));
    ASSERT_GT(whole.size(), 1000000u);
    EXPECT_LT(page.Fill().Shown(), whole.size());
    EXPECT_TRUE(viewer.widget.Tabs().tabText(0).startsWith("Image Dump ("));
    viewer.widget.SelectAll();
    viewer.widget.Copy();
    EXPECT_EQ(Utf8Of(QApplication::clipboard()->text()), whole);
    // The last record's offset is found, and what it needs is brought in.
    const size_t at = whole.rfind("Offset:");
    ASSERT_NE(at, std::string::npos);
    const std::string needle = whole.substr(at, whole.find('\n', at) - at);
    EXPECT_TRUE(viewer.widget.Search(needle, kSearchFindFirst | kSearchBackwards));
    EXPECT_EQ(Utf8Of(viewer.Report().textCursor().selectedText()), needle);
    RunUntil([&] { return page.Fill().AllShown(); });
    EXPECT_EQ(Utf8Of(viewer.Report().toPlainText()), whole);
    EXPECT_EQ(viewer.widget.Tabs().tabText(0), "Image Dump");
}

TEST(RecordsPage, ListsEveryRowAsTheCommandLineAndShowsTheSelectedEntry) {
    Viewer viewer(samples::SyntheticRecordDatabase(65535));
    viewer.widget.ShowPage(2);
    auto& page = static_cast<RecordsPage&>(viewer.Page(2));
    QAbstractItemModel& rows = *page.List()->model();
    ASSERT_EQ(rows.rowCount(), 65535);
    const DecodedDatabase& database = viewer.widget.Viewed().Database();
    for (int row : {0, 1234, 65534}) {
        for (int column = 0; column < rows.columnCount(); ++column) {
            std::string cell;
            AppendCell(database, static_cast<size_t>(row), static_cast<size_t>(column), cell);
            EXPECT_EQ(Utf8Of(rows.data(rows.index(row, column)).toString()), cell) << row << "/" << column;
        }
    }
    EXPECT_TRUE(viewer.widget.Search("1004D2h", kSearchFindFirst));  // the unique ID of entry 1234
    EXPECT_EQ(page.List()->currentIndex().row(), 1234);
    EXPECT_EQ(Utf8Of(page.Pane()->toPlainText()), EntryText(database, 1234, RecordsView::kPaneHexLimit));
    viewer.widget.Copy();
    std::string expected;
    AppendHeaderLine(database.Model(), expected);
    AppendEntryLine(database, 1234, expected);
    EXPECT_EQ(Utf8Of(QApplication::clipboard()->text()), expected);
    // Tab goes to the pane, whose own selection copy takes then.
    Press(page.List(), Qt::Key_Tab);
    EXPECT_TRUE(page.Pane()->hasFocus());
    viewer.widget.SelectAll();
    viewer.widget.Copy();
    EXPECT_EQ(Utf8Of(QApplication::clipboard()->text()), Utf8Of(page.Pane()->toPlainText()));
}

struct PictureRow {
    const char* name;
    std::string (*bytes)();
    const char* file;
    EntryPicture::Kind kind;
    std::optional<QColor> centre;  // of the shown picture, within JPEG's error
};

void PrintTo(const PictureRow& row, std::ostream* out) { *out << row.name; }

class PanePicture : public testing::TestWithParam<PictureRow> {};

// The first entry with a picture of the row's kind, selected, shows it beside
// its text, fitted to the pane's box.
TEST_P(PanePicture, ShowsTheSelectedEntrysPictureBesideItsText) {
    Viewer viewer(GetParam().bytes(), GetParam().file);
    viewer.widget.ShowPage(2);
    auto& page = static_cast<RecordsPage&>(viewer.Page(2));
    const DecodedDatabase& database = viewer.widget.Viewed().Database();
    int withPicture = -1;
    for (size_t i = 0; i < database.Model().Count() && withPicture < 0; ++i)
        if (database.Decodes(i) && database.Reader().Picture(i).kind == GetParam().kind)
            withPicture = static_cast<int>(i);
    ASSERT_GE(withPicture, 0);
    page.List()->selectRow(withPicture);
    RunUntil([&] { return page.Picture()->isVisible(); });
    const QImage shown = page.Picture()->pixmap(Qt::ReturnByValue).toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_LE(std::max(shown.width(), shown.height()), 96);
    if (!GetParam().centre) return;
    const QColor got = shown.pixelColor(shown.width() / 2, shown.height() / 2), want = *GetParam().centre;
    EXPECT_LT(std::abs(got.red() - want.red()) + std::abs(got.green() - want.green()) +
                  std::abs(got.blue() - want.blue()),
              48)
        << got.name().toStdString();
}

std::string Application() { return samples::SerializePalmDatabase(samples::ApplicationSample()); }

INSTANTIATE_TEST_SUITE_P(
    Kinds, PanePicture,
    testing::Values(
        PictureRow{"BitmapResource", Application, "/palm/Hello.prc", EntryPicture::Kind::kPalmBitmap, std::nullopt},
        PictureRow{"ContactsJpeg", samples::ContactsFixture, "/palm/ContactsDB-PAdd.pdb", EntryPicture::Kind::kImageFile,
                   QColor(235, 190, 150)},
        PictureRow{"NotePadDrawing", samples::NotePadFixture, "/palm/npadDB.pdb", EntryPicture::Kind::kPixels,
                   QColor(0, 0, 0)},
        PictureRow{"PhotoInBlocks", samples::PhotoFixture, "/palm/Photos.pdb", EntryPicture::Kind::kImageFile,
                   QColor(235, 190, 150)}),
    [](const auto& info) { return info.param.name; });

TEST(TextPage, ShowsTheBookWithItsLooksAndFindsUnicodeInEitherCase) {
    const std::string text = "Caf\xE9 au lait.\n" + samples::SampleBookText(4000) + "The end.\n";
    Viewer viewer(samples::PalmDocBook("Book", text), "/palm/Book.pdb");
    viewer.widget.ShowPage(3);
    auto& page = static_cast<TextPage&>(viewer.Page(3));
    QTextEdit* edit = page.Control();
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(page.Fill().AllShown());
    EXPECT_TRUE(edit->toPlainText().startsWith(QString::fromUtf8("Caf\xC3\xA9 au lait.\n")));
    // Found without case beyond ASCII, at the end of a text that has not all arrived.
    EXPECT_TRUE(viewer.widget.Search("CAF\xC3\x89", kSearchFindFirst));
    EXPECT_EQ(edit->textCursor().selectedText(), QString::fromUtf8("Caf\xC3\xA9"));
    EXPECT_TRUE(viewer.widget.Search("THE END", kSearchFindFirst | kSearchBackwards));
    EXPECT_EQ(edit->textCursor().selectedText(), "The end");
    RunUntil([&] { return page.Fill().AllShown(); });
    PageDocument document(viewer.widget.Viewed().Database(), viewer.widget.Viewed().Encoding());
    document.PrepareAll();
    EXPECT_EQ(Utf8Of(edit->toPlainText()), document.Text().Utf8());
}

TEST(QtEdge, CountsUnitsAndBytesAlike) {
    // a, e acute (2 bytes), euro (3), a book (4 bytes, 2 units).
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x93\x96z";
    EXPECT_EQ(Utf16Length(text), 6u);
    EXPECT_EQ(static_cast<size_t>(FromUtf8(text).size()), Utf16Length(text));
    const struct { size_t units, bytes; } kOffsets[] = {{0, 0}, {1, 1}, {2, 3}, {3, 6}, {4, 6}, {5, 10}, {6, 11}, {9, 11}};
    for (const auto& c : kOffsets) EXPECT_EQ(Utf8OffsetOfUnits(text, c.units), c.bytes) << c.units;
}

TEST(QtEdge, KeysAreTheCommandsTables) {
    const struct { int key; Qt::KeyboardModifiers held; KeyStroke stroke; } kKeys[] = {
        {Qt::Key_W, Qt::NoModifier, {'W', false, false, false}},
        {Qt::Key_3, Qt::ControlModifier, {'3', true, false, false}},
        {Qt::Key_Backtab, Qt::ShiftModifier, {key::kTab, false, false, true}},
        {Qt::Key_F10, Qt::ShiftModifier, {key::kF10, false, false, true}},
        {Qt::Key_Menu, Qt::NoModifier, {key::kMenu, false, false, false}},
        {Qt::Key_Escape, Qt::NoModifier, {key::kEscape, false, false, false}},
        {Qt::Key_Insert, Qt::ControlModifier, {key::kInsert, true, false, false}}};
    for (const auto& c : kKeys) {
        const KeyStroke stroke = StrokeOf(QKeyEvent(QEvent::KeyPress, c.key, c.held));
        EXPECT_EQ(stroke.key, c.stroke.key) << c.key;
        EXPECT_EQ(stroke.ctrl, c.stroke.ctrl) << c.key;
        EXPECT_EQ(stroke.shift, c.stroke.shift) << c.key;
    }
    // F1 is no key of the table's, on any page.
    EXPECT_EQ(ActionFor(PageKind::kRecords, StrokeOf(QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier)), 4).command,
              Command::kNone);
}

}  // namespace
}  // namespace corvelle::qt
