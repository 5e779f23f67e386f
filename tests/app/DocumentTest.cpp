// Document tests: reading 8-bit and UTF-16 files, the new-document text, the
// save through the own view's editor, failed saves and the question on close.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/SourceFile.h"
#include "editor/GlyphTable.h"
#include "platform/SafeFile.h"
#include "support/NonRegularFiles.h"
#include "support/ShellFixture.h"
#include "textmodel/Colorizer.h"

namespace fs = std::filesystem;
using namespace std::string_literals;
using shelltest::MessageBoxes;
using shelltest::ReadFile;

namespace {

std::wstring W(const std::string& bytes) { return sourcefile::WidenBytes(bytes); }

// A UTF-16 little-endian file of these units, after its FF FE.
std::string Utf16File(const std::u16string& units) {
  std::string bytes = "\xFF\xFE";
  for (char16_t u : units) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  return bytes;
}

class DocumentTest : public shelltest::DocFrameTest {
 protected:
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename().string());
    return names;
  }

  // One file: its bytes, the staging text, the editor's lines, what a save writes.
  struct ReadCase {
    const char* name;
    std::string file;
    std::wstring staging;
    std::vector<std::string> lines;
    std::string saved;
  };
  void CheckReading(const std::vector<ReadCase>& cases) {
    for (const ReadCase& c : cases) {
      SCOPED_TRACE(c.name);
      CSourceDoc* doc = Open(WriteFile("read.vorn", c.file));
      ASSERT_NE(nullptr, doc);
      EXPECT_EQ(c.staging, doc->m_strText);
      EXPECT_FALSE(doc->IsModified());
      EXPECT_EQ(c.lines, Lines(doc));
      ASSERT_TRUE(doc->Save());
      EXPECT_EQ(c.saved, ReadFile(Path("read.vorn")));
      EXPECT_EQ(W(c.saved), doc->m_strText);
      Drop(doc);
    }
  }
};

TEST_F(DocumentTest, EightBitFilesReachTheEditorByteForByte) {
  CheckReading({
      {"LF", "a\nb\n", W("a\r\nb\r\n"), {"a", "b"}, "a\nb\n"},
      {"CR LF", "a\r\nb\r\n", W("a\r\nb\r\n"), {"a", "b"}, "a\nb\n"},
      {"mixed", "a\r\nb\nc\r\n", W("a\r\nb\r\nc\r\n"), {"a", "b", "c"}, "a\nb\nc\n"},
      {"CR only", "a\rb\r", W("a\r\nb\r\n"), {"a", "b"}, "a\nb\n"},
      {"CR only, last line without CR", "one\r\rthree", W("one\r\n\r\nthree\r\n"), {"one", "", "three"},
       "one\n\nthree\n"},
      {"one line ended by CR", "abc\r", W("abc\r\n"), {"abc"}, "abc"},
      {"CR CR LF", "a\r\r\nb\n", W("a\r\n\r\nb\r\n"), {"a", "", "b"}, "a\n\nb\n"},
      {"LF CR", "a\n\rb", W("a\r\n\r\nb\r\n"), {"a", "", "b"}, "a\n\nb\n"},
      {"every kind of line end", "a\rb\nc\r\nd\r", W("a\r\nb\r\nc\r\nd\r\n"), {"a", "b", "c", "d"},
       "a\nb\nc\nd\n"},
      {"last line without LF", "a\nb", W("a\r\nb\r\n"), {"a", "b"}, "a\nb\n"},
      {"one line", "abc\n", W("abc\r\n"), {"abc"}, "abc"},
      {"one line without LF", "abc", W("abc\r\n"), {"abc"}, "abc"},
      {"empty last line", "a\n\n", W("a\r\n\r\n"), {"a", ""}, "a\n\n"},
      {"only line feeds", "\n\n", W("\r\n\r\n"), {"", ""}, "\n\n"},
      {"empty file", "", L"", {""}, ""},
      {"one byte FF", "\xFF", W("\xFF\r\n"), {"\xFF"}, "\xFF"},
      {"tabs", "\tx\n a\tb\n", W("\tx\r\n a\tb\r\n"), {"    x", " a  b"}, "    x\n a  b\n"},
      {"NUL and 0x1A mid-line", "a\0b\032c\n\032\nd\0\n"s, W("a\0b\032c\r\n\032\r\nd\0\r\n"s),
       {"a\0b\032c"s, "\032", "d\0"s}, "a\0b\032c\n\032\nd\0\n"s},
      {"UTF-8 byte-order mark kept", "\357\273\277abc\nd\n", W("\357\273\277abc\r\nd\r\n"),
       {"\357\273\277abc", "d"}, "\357\273\277abc\nd\n"},
      {"FE FF is no byte-order mark", "\376\377a\n", W("\376\377a\r\n"), {"\376\377a"}, "\376\377a"},
  });
}

// Every byte value, under several locales: each arrives as itself; only LF,
// CR and tab are not plain characters.
TEST_F(DocumentTest, EveryByteValueWhateverTheLocale) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  // Lines end at the LF (10) and at the CR (13).
  const std::string secondLine = all.substr(11, 2), thirdLine = all.substr(14);
  const std::string firstLine = all.substr(0, 9) + "   ";  // the tab at column 9 fills to 12
  const std::string before = std::setlocale(LC_ALL, nullptr);
  for (const char* locale : {"C", "C.UTF-8", "en_US.UTF-8"}) {
    if (!std::setlocale(LC_ALL, locale)) continue;
    SCOPED_TRACE(locale);
    CheckReading({{"every byte", all, W(all.substr(0, 10) + "\r\n" + secondLine + "\r\n" + thirdLine + "\r\n"),
                   {firstLine, secondLine, thirdLine}, firstLine + "\n" + secondLine + "\n" + thirdLine + "\n"}});
  }
  std::setlocale(LC_ALL, before.c_str());
}

TEST_F(DocumentTest, Utf16FilesKeepTheirLinesAndMapCharactersThroughTheGlyphTable) {
  const wchar_t euro = GlyphOfByte(164), control = GlyphOfByte(0x01);
  ASSERT_GT(euro, 0xFF);
  ASSERT_EQ(-1, ByteOfChar(0x2014));  // em dash: no glyph
  const std::u16string glyphs = u"x" + std::u16string(1, char16_t(euro)) + u"\u2014" +
                                std::u16string(1, char16_t(control)) + u"\u00E9\U0001F600y\r\n";
  const std::wstring glyphStaging =
      L"\xFEFFx" + std::wstring(1, euro) + L"\x2014" + std::wstring(1, control) + L"\xE9\xD83D\xDE00y\r\n";
  MessageBoxes boxes;
  CheckReading({
      {"CR LF", Utf16File(u"a\r\nb\r\n"), L"\xFEFF" L"a\r\nb\r\n", {"a", "b"}, "a\nb\n"},
      {"CR", Utf16File(u"a\rb\r"), L"\xFEFF" L"a\r\nb\r\n", {"a", "b"}, "a\nb\n"},
      {"LF", Utf16File(u"a\nb\n"), L"\xFEFF" L"a\nb\n", {"a", "b"}, "a\nb\n"},
      {"CR LF then LF", Utf16File(u"a\r\n\nb"), L"\xFEFF" L"a\r\n\nb", {"a", "", "b"}, "a\n\nb\n"},
      {"CR CR", Utf16File(u"a\r\rb"), L"\xFEFF" L"a\r\n\r\nb", {"a", "", "b"}, "a\n\nb\n"},
      {"glyphs kept, the rest dropped", Utf16File(glyphs), glyphStaging, {"x\xA4\x01\xE9y"}, "x\xA4\x01\xE9y"},
      {"Latin-1 and tab", Utf16File(u"\u00FF\tz\n"), L"\xFEFF\xFF\tz\n", {"\xFF   z"}, "\xFF   z"},
      {"odd last byte ignored", Utf16File(u"ab") + "c", L"\xFEFF" L"ab", {"ab"}, "ab"},
      {"byte-order mark only", "\xFF\xFE", L"\xFEFF", {""}, ""},
      {"byte-order mark and one odd byte", "\xFF\xFE\x41", L"\xFEFF", {""}, ""},
  });
  // Only the file with the dash and the emoji (one surrogate pair) loses characters.
  EXPECT_EQ(boxes.texts, std::vector<wxString>{"2 characters in read.vorn cannot be shown and were left out. "
                                               "Saving writes the file without them."});
}

// What is no readable regular file is refused with the message at once: a
// missing file, a folder, a pipe without a writer, a socket, devices. The
// pipe's watchdog ends an open that waits for a writer.
TEST_F(DocumentTest, FilesThatCannotBeReadAreRefusedWithTheMessage) {
  ASSERT_TRUE(fs::create_directory(Path("folder.vorn")));
  ASSERT_EQ(0, ::mkfifo(Path("pipe.vorn").c_str(), 0644));
  const int socket = testsupport::BindSocket(Path("socket.vorn"));
  ASSERT_GE(socket, 0);
  fs::create_symlink("/dev/null", Path("null.vorn"));
  fs::create_symlink("/dev/zero", Path("zero.vorn"));
  for (const char* name : {"missing.vorn", "folder.vorn", "pipe.vorn", "socket.vorn", "null.vorn", "zero.vorn"}) {
    const std::string path = Path(name);
    SCOPED_TRACE(path);
    MessageBoxes boxes;
    const auto start = std::chrono::steady_clock::now();
    {
      testsupport::FifoWatchdog watchdog(Path("pipe.vorn"), std::chrono::seconds(3));
      EXPECT_EQ(nullptr, Open(path));
      EXPECT_FALSE(watchdog.Fired()) << "the open waited for a writer";
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ("Failed to open given filename.", boxes.texts[0]);
    EXPECT_EQ("Quillmark", boxes.captions[0]);
    EXPECT_TRUE(manager_->GetDocumentsVector().empty());
  }
  ::close(socket);
}

TEST_F(DocumentTest, NewDocumentTextOfEitherKind) {
  // clang-format off
  const char* const lines[] = {
      "'Vorn colorizer test", "CON 'Constants section ", "", "CON regular text", "   _TICKMODE = XTLOW + MUL16 ", "",
      "OBJ 'This is an object section", "", "OBJ 'test objects ", "     vga     : \"Ostravel\" ", "",
      "VAR 'a variable section", "", "VAR 'test vars ", "    long touch_x", "",
      "PUB 'a public section", "", "PUB 'Test pub ", "     bTestSD:=true ", "",
      "PRI 'a private section", "", "PRI  'Test pri", "   Ser.start(24,30,0,9600)", "",
      "DAT'a dat section", "", "DAT  'Test dat", "     bPlaying byte false", ""};
  // clang-format on
  static_assert(std::size(lines) == 31);
  std::wstring text;
  for (const char* line : lines) text += W(line) + L"\n";
  for (wxDocTemplate* kind : {first_, second_}) {
    CSourceDoc* doc = NewDocument(kind);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(text, doc->m_strText);
    EXPECT_FALSE(doc->IsModified());
  }
  // Line 5 uses three words the colorizer must know as constants.
  CColorizer colorizer;
  colorizer.LoadKeywords(L"Keywords.ini");
  for (const char* word : {"_TICKMODE", "XTLOW", "MUL16"}) EXPECT_TRUE(colorizer.IsConVarKeyword(word)) << word;
}

// Texts of LF-ended lines without tab or CR come back byte for byte from Open
// and Save, twice; one document and view serve every seed.
TEST_F(DocumentTest, RandomTextsRoundTripByteForByte) {
  const std::string path = WriteFile("round.vorn", "a\nb\n");
  CSourceDoc* doc = Open(path);
  ASSERT_NE(nullptr, doc);
  ColorEditWnd* editor = ViewOf(doc)->m_pEditor;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    std::string text;
    for (int i = 2 + static_cast<int>(random() % 40); i > 0; --i) {
      for (int j = static_cast<int>(random() % 60); j > 0; --j) {
        unsigned char b;
        do b = static_cast<unsigned char>(random() % 256);
        while (b == '\t' || b == '\r' || b == '\n');
        text += static_cast<char>(b);
      }
      text += '\n';
    }
    SCOPED_TRACE("seed " + std::to_string(seed));
    WriteFile("round.vorn", text);
    for (int round = 0; round < 2; ++round) {
      ASSERT_TRUE(doc->OnOpenDocument(path));
      editor->ResetContent();
      editor->InsertText(doc->m_strText);
      ASSERT_TRUE(doc->Save());
      ASSERT_EQ(text, ReadFile(path));
    }
  }
}

// A save takes its own view's editor: the active view when it is one of its
// own, else its first; never another document's view.
TEST_F(DocumentTest, ASaveTakesTheTextOfItsOwnView) {
  CSourceDoc* a = Open(WriteFile("a.vorn", "alpha\none\n"));
  CSourceDoc* b = Open(WriteFile("b.vorn", "beta\ntwo\n"));
  ASSERT_TRUE(a && b);
  CSourceView* a1 = ViewOf(a);
  CSourceView* b1 = ViewOf(b);
  Activate(a1);
  CSourceView* a2 = NewWindow(a);
  ASSERT_NE(a2, nullptr);
  a2->m_pEditor->InsertText(L"added\n");
  const struct {
    wxView* active;
    const char* expected;
  } cases[] = {{b1, "alpha\none\n"}, {a2, "alpha\none\nadded\n"}, {a1, "alpha\none\n"}, {nullptr, "alpha\none\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    if (c.active)
      manager_->ActivateView(c.active, true);
    else
      manager_->ActivateView(manager_->GetCurrentView(), false);
    EXPECT_EQ(c.active == a2 ? a2 : a1, a->ViewToSave());
    ASSERT_TRUE(a->Save());
    EXPECT_EQ(c.expected, ReadFile(Path("a.vorn")));
    EXPECT_EQ("beta\ntwo\n", ReadFile(Path("b.vorn")));
  }
  manager_->ActivateView(a2, true);
  EXPECT_EQ(b1, b->ViewToSave());
}

// Without a view of its own class a save refuses silently and touches nothing:
// a document without views, and one shown in the other kind's view.
TEST_F(DocumentTest, ASaveWithoutAnOwnViewRefusesSilently) {
  new wxDocTemplate(manager_, "Foreign", "*.foreign", "", "foreign", "Foreign", "Foreign",
                    wxCLASSINFO(CQuillmarkDoc), wxCLASSINFO(CVorn2EditView));
  auto* none = new CQuillmarkDoc;
  none->SetDocumentTemplate(first_);
  manager_->AddDocument(none);
  ASSERT_TRUE(none->OnOpenDocument(WriteFile("a.vorn", "alpha\n\n")));
  CSourceDoc* foreign = Open(WriteFile("a.foreign", "alpha\n\n"));
  ASSERT_TRUE(foreign && dynamic_cast<CQuillmarkDoc*>(foreign));
  manager_->ActivateView(ViewOf(foreign), true);
  ViewOf(foreign)->m_pEditor->InsertText(L"changed\n");
  for (CSourceDoc* doc : {static_cast<CSourceDoc*>(none), foreign}) {
    const std::wstring staging = doc->m_strText;
    MessageBoxes boxes;
    EXPECT_FALSE(doc->Save());
    EXPECT_FALSE(doc->OnSaveDocument(Path("elsewhere.vorn")));
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ("alpha\n\n", ReadFile(Path("a.vorn")));
    EXPECT_EQ("alpha\n\n", ReadFile(Path("a.foreign")));
    EXPECT_EQ((std::set<std::string>{"a.foreign", "a.vorn"}), Names());
    EXPECT_EQ(staging, doc->m_strText);
  }
}

// Save writes also when nothing changed, and leaves the document clean.
TEST_F(DocumentTest, SaveWritesAnUnmodifiedDocumentAndMakesItClean) {
  CSourceDoc* doc = Open(WriteFile("a.vorn", "one\ntwo\n"));
  ASSERT_NE(nullptr, doc);
  WriteFile("a.vorn", "changed by another program\n");
  ASSERT_TRUE(doc->Save());
  EXPECT_EQ("one\ntwo\n", ReadFile(Path("a.vorn")));
  doc->Modify(true);
  ASSERT_TRUE(doc->Save());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(std::set<std::string>{"a.vorn"}, Names());
}

// A failed save at any step keeps the file and the modified state and names
// the file and the system's reason.
TEST_F(DocumentTest, AFailedSaveTellsWhyAndChangesNothing) {
  using platform::SaveStep;
  const std::string path = WriteFile("a.vorn", "old\ntext\n");
  CSourceDoc* doc = Open(path);
  ASSERT_NE(nullptr, doc);
  ViewOf(doc)->m_pEditor->SetSelection(0, 1, 0, 1);
  ViewOf(doc)->m_pEditor->InsertText(L"new ");
  doc->Modify(true);
  for (SaveStep step : {SaveStep::Open, SaveStep::Write, SaveStep::Flush, SaveStep::Sync, SaveStep::Close,
                        SaveStep::Rename}) {
    SCOPED_TRACE(platform::SaveStepText(step));
    MessageBoxes boxes;
    bool saved;
    {
      platform::ScopedSaveFailurePoint fail([step](SaveStep s) { return s == step ? ENOSPC : 0; });
      saved = doc->Save();
    }
    EXPECT_FALSE(saved);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ("old\ntext\n", ReadFile(path));
    EXPECT_EQ(std::set<std::string>{"a.vorn"}, Names());
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ(step == SaveStep::Open ? "Failed to open given filename."
                                     : "Failed to save given filename; the file was left as it was.",
              boxes.texts[0].BeforeFirst('\n'));
    EXPECT_TRUE(boxes.texts[0].AfterFirst('\n').StartsWith(wxString(path) + ": " + std::strerror(ENOSPC)))
        << boxes.texts[0];
  }
  ASSERT_TRUE(doc->Save());
  EXPECT_EQ("old\nnew text\n", ReadFile(path));
  EXPECT_FALSE(doc->IsModified());
}

}  // namespace
