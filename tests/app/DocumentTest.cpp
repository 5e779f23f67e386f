// Document tests: reading 8-bit and UTF-16 files into the staging text and an
// editor, the new-document text, writing back through the safe save, which
// editor a save takes, Save of an unmodified document, failed saves, and the
// question on closing a modified document.
#include <gtest/gtest.h>
#include <wx/docview.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/QuillmarkDoc.h"
#include "app/QuillmarkView.h"
#include "app/SourceFile.h"
#include "app/Vorn2EditView.h"
#include "editor/GlyphTable.h"
#include "platform/SafeFile.h"
#include "support/WxFixture.h"
#include "textmodel/Colorizer.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The bytes of a UTF-16 little-endian file of these units, after FF FE.
std::string Utf16File(const std::u16string& units) {
  std::string bytes = "\xFF\xFE";
  for (char16_t u : units) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

// Answers message boxes without showing them and remembers what they said.
class MessageBoxes : public wxModalDialogHook {
 public:
  MessageBoxes() { Register(); }
  ~MessageBoxes() override { Unregister(); }

  std::vector<wxString> texts;
  std::vector<wxString> captions;
  std::vector<long> styles;
  std::deque<int> answers;  // wxID_YES, wxID_NO, wxID_CANCEL; wxID_OK when empty

 protected:
  int Enter(wxDialog* dialog) override {
    auto* box = dynamic_cast<wxMessageDialog*>(dialog);
    texts.push_back(box ? box->GetMessage() : "<not a message box>");
    captions.push_back(dialog->GetTitle());
    styles.push_back(box ? box->GetMessageDialogStyle() : 0);
    if (answers.empty()) return wxID_OK;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Exit(wxDialog*) override {}
};

// Views that make their editor themselves inside a test panel and load their
// document's staging text into it as the views do at their initial update.
template <class Base>
class LoadingView : public Base {
 public:
  void Load(wxWindow* parent) {
    this->m_pEditor = new ColorEditWnd(parent, wxRect(0, 0, 600, 400), L"Veltrane", true);
    this->m_pEditor->InsertText(static_cast<CSourceDoc*>(this->GetDocument())->m_strText);
    this->m_pEditor->m_currentFrame.Clear();
    ClearFrameStack(this->m_pEditor->m_undoStack);
  }
};
using FirstView = LoadingView<CQuillmarkView>;
using SecondView = LoadingView<CVorn2EditView>;

class DocumentTest : public WxFixture {
 protected:
  void SetUp() override {
    WxFixture::SetUp();
    panel_ = new wxPanel(frame_, wxID_ANY, wxPoint(0, 0), wxSize(800, 600));
    manager_ = new wxDocManager;
    first_ = new wxDocTemplate(manager_, "Vorn1 Files", "*.vorn", "", "vorn", "Quillmark.Document",
                               "Quillmark.Document", wxCLASSINFO(CQuillmarkDoc), wxCLASSINFO(CQuillmarkView));
    second_ = new wxDocTemplate(manager_, "Vorn2 Files", "*.vorn2", "", "vorn2", "Quillmark.Document",
                                "Quillmark.Document", wxCLASSINFO(CVorn2EditDoc), wxCLASSINFO(CVorn2EditView));
    // Saves sync their file: a memory file system keeps the many saves quick.
    std::string pattern = fs::is_directory("/dev/shm") ? "/dev/shm/qm-doc-XXXXXX" : "/tmp/qm-doc-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(&pattern[0]));
    dir_ = pattern;
  }
  void TearDown() override {
    CloseAll();
    delete manager_;
    std::error_code ec;
    fs::remove_all(dir_, ec);
    WxFixture::TearDown();
  }

  void CloseAll() {
    for (wxDocument* doc : manager_->GetDocumentsVector()) doc->Modify(false);
    manager_->CloseDocuments(true);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.insert(entry.path().filename().string());
    return names;
  }

  template <class Doc>
  Doc* NewDocument() {
    Doc* doc = new Doc;
    doc->SetDocumentTemplate(wxIsKindOf(doc, CVorn2EditDoc) ? second_ : first_);
    manager_->AddDocument(doc);
    return doc;
  }
  // A first-generation document opened from `path`; nullptr when it refused.
  CQuillmarkDoc* Open(const std::string& path) {
    CQuillmarkDoc* doc = NewDocument<CQuillmarkDoc>();
    if (doc->OnOpenDocument(path)) return doc;
    manager_->CloseDocument(doc, true);
    return nullptr;
  }
  template <class View = FirstView>
  View* AddView(CSourceDoc* doc) {
    View* view = new View;
    view->SetDocument(doc);
    view->Load(panel_);
    return view;
  }
  static std::vector<std::string> Lines(CSourceView* view) { return view->m_pEditor->m_textModel.lines; }

  wxPanel* panel_ = nullptr;
  wxDocManager* manager_ = nullptr;
  wxDocTemplate* first_ = nullptr;
  wxDocTemplate* second_ = nullptr;
  std::string dir_;
};

// One file: its bytes, the staging text, the editor's lines after loading,
// and the bytes a save then writes.
struct ReadCase {
  const char* name;
  std::string file;
  std::wstring staging;
  std::vector<std::string> lines;
  std::string saved;
};

class DocumentReadingTest : public DocumentTest {
 protected:
  // Opens each file, loads it into a view's editor, saves it, and compares
  // every stage.
  void Check(const std::vector<ReadCase>& cases) {
    const std::string path = Path("read.vorn");
    for (const ReadCase& c : cases) {
      SCOPED_TRACE(c.name);
      WriteAll(path, c.file);
      CQuillmarkDoc* doc = Open(path);
      ASSERT_NE(nullptr, doc);
      EXPECT_EQ(c.staging, doc->m_strText);
      EXPECT_FALSE(doc->IsModified());
      CSourceView* view = AddView(doc);
      EXPECT_EQ(c.lines, Lines(view));
      ASSERT_TRUE(doc->Save());
      EXPECT_EQ(c.saved, ReadAll(path));
      EXPECT_EQ(sourcefile::WidenBytes(c.saved), doc->m_strText);
      manager_->CloseDocument(doc, true);
    }
  }
};

std::wstring W(const std::string& bytes) { return sourcefile::WidenBytes(bytes); }

TEST_F(DocumentReadingTest, EightBitFilesReachTheEditorByteForByte) {
  const std::vector<ReadCase> cases = {
      {"LF", "a\nb\n", W("a\r\nb\r\n"), {"a", "b"}, "a\nb\n"},
      {"CR LF", "a\r\nb\r\n", W("a\r\nb\r\n"), {"a", "b"}, "a\nb\n"},
      {"mixed", "a\r\nb\nc\r\n", W("a\r\nb\r\nc\r\n"), {"a", "b", "c"}, "a\nb\nc\n"},
      {"lone CR stays in its line and is dropped by the editor", "a\rb\r", W("a\rb\r\r\n"), {"ab"}, "ab"},
      {"CR CR LF", "a\r\r\nb\n", W("a\r\r\nb\r\n"), {"a", "b"}, "a\nb\n"},
      {"last line without LF", "a\nb", W("a\r\nb\r\n"), {"a", "b"}, "a\nb\n"},
      {"one line", "abc\n", W("abc\r\n"), {"abc"}, "abc"},
      {"one line without LF", "abc", W("abc\r\n"), {"abc"}, "abc"},
      {"empty last line", "a\n\n", W("a\r\n\r\n"), {"a", ""}, "a\n\n"},
      {"only line feeds", "\n\n", W("\r\n\r\n"), {"", ""}, "\n\n"},
      {"empty file", "", L"", {""}, ""},
      {"one byte FF", "\xFF", W("\xFF\r\n"), {"\xFF"}, "\xFF"},
      {"tabs", "\tx\n a\tb\n", W("\tx\r\n a\tb\r\n"), {"    x", " a  b"}, "    x\n a  b\n"},
      {"NUL and 0x1A mid-line",
       "a\0b\032c\n\032\nd\0\n"s,
       W("a\0b\032c\r\n\032\r\nd\0\r\n"s),
       {"a\0b\032c"s, "\032", "d\0"s},
       "a\0b\032c\n\032\nd\0\n"s},
      {"UTF-8 byte-order mark kept",
       "\357\273\277abc\nd\n",
       W("\357\273\277abc\r\nd\r\n"),
       {"\357\273\277abc", "d"},
       "\357\273\277abc\nd\n"},
      {"FE FF is not a byte-order mark", "\376\377a\n", W("\376\377a\r\n"), {"\376\377a"}, "\376\377a"},
  };
  Check(cases);
}

// Every byte value in one file, read under two locales: each byte arrives as
// itself; only LF, CR before LF, CR and tab are not plain characters.
TEST_F(DocumentReadingTest, EveryByteValueWhateverTheLocale) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string second = all.substr(11);  // after the LF at 10
  std::string secondLine = second;
  secondLine.erase(secondLine.find('\r'), 1);
  const std::string firstLine = all.substr(0, 9) + "   ";  // the tab at column 9 fills to 12
  const std::vector<ReadCase> cases = {
      {"every byte",
       all,
       W(all.substr(0, 10) + "\r\n" + second + "\r\n"),
       {firstLine, secondLine},
       firstLine + "\n" + secondLine + "\n"},
  };
  const std::string before = std::setlocale(LC_ALL, nullptr);
  for (const char* locale : {"C", "C.UTF-8", "en_US.UTF-8"}) {
    if (!std::setlocale(LC_ALL, locale)) continue;
    SCOPED_TRACE(locale);
    Check(cases);
  }
  std::setlocale(LC_ALL, before.c_str());
}

TEST_F(DocumentReadingTest, Utf16FilesKeepTheirLinesAndMapCharactersThroughTheGlyphTable) {
  const wchar_t euro = GlyphOfByte(164);
  const wchar_t controlGlyph = GlyphOfByte(0x01);
  ASSERT_GT(euro, 0xFF);
  ASSERT_EQ(164, ByteOfChar(euro));
  ASSERT_EQ(1, ByteOfChar(controlGlyph));
  ASSERT_EQ(-1, ByteOfChar(0x2014));  // em dash: no glyph
  const std::u16string withGlyphs = u"x" + std::u16string(1, char16_t(euro)) + u"\u2014" +
                                    std::u16string(1, char16_t(controlGlyph)) + u"\u00E9\U0001F600y\r\n";
  const std::wstring glyphStaging =
      L"\xFEFFx" + std::wstring(1, euro) + L"\x2014" + std::wstring(1, controlGlyph) + L"\xE9\xD83D\xDE00y\r\n";
  const std::vector<ReadCase> cases = {
      {"CR LF",
       Utf16File(u"a\r\nb\r\n"),
       L"\xFEFF"
       L"a\r\nb\r\n",
       {"a", "b"},
       "a\nb\n"},
      {"CR",
       Utf16File(u"a\rb\r"),
       L"\xFEFF"
       L"a\r\nb\r\n",
       {"a", "b"},
       "a\nb\n"},
      {"LF",
       Utf16File(u"a\nb\n"),
       L"\xFEFF"
       L"a\nb\n",
       {"a", "b"},
       "a\nb\n"},
      {"CR LF then an empty line",
       Utf16File(u"a\r\n\nb"),
       L"\xFEFF"
       L"a\r\n\nb",
       {"a", "", "b"},
       "a\n\nb\n"},
      {"CR CR",
       Utf16File(u"a\r\rb"),
       L"\xFEFF"
       L"a\r\n\r\nb",
       {"a", "", "b"},
       "a\n\nb\n"},
      {"glyphs kept, the rest dropped", Utf16File(withGlyphs), glyphStaging, {"x\xA4\x01\xE9y"}, "x\xA4\x01\xE9y"},
      {"Latin-1 and tab", Utf16File(u"\u00FF\tz\n"), L"\xFEFF\xFF\tz\n", {"\xFF   z"}, "\xFF   z"},
      {"odd last byte ignored",
       Utf16File(u"ab") + "c",
       L"\xFEFF"
       L"ab",
       {"ab"},
       "ab"},
      {"byte-order mark only", "\xFF\xFE", L"\xFEFF", {""}, ""},
      {"byte-order mark and one odd byte", "\xFF\xFE\x41", L"\xFEFF", {""}, ""},
  };
  Check(cases);
}

TEST_F(DocumentTest, FilesThatCannotBeReadAreRefusedWithTheMessage) {
  ASSERT_TRUE(fs::create_directory(Path("folder.vorn")));
  for (const std::string& path : {Path("missing.vorn"), Path("folder.vorn")}) {
    SCOPED_TRACE(path);
    MessageBoxes boxes;
    EXPECT_EQ(nullptr, Open(path));
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ("Failed to open given filename.", boxes.texts[0]);
    EXPECT_EQ("Quillmark", boxes.captions[0]);
    EXPECT_TRUE(boxes.styles[0] & wxOK);
  }
}

// The 31 lines of a new document with their leading and trailing blanks; its
// twelve section headers, two of each kind in order.
TEST_F(DocumentTest, NewDocumentText) {
  // One row per piece of the text, each ending with its empty line.
  // clang-format off
  const std::vector<std::string> expected = {
      "'Vorn colorizer test", "CON 'Constants section ", "", "CON regular text", "   _TICKMODE = XTLOW + MUL16 ", "",
      "OBJ 'This is an object section", "", "OBJ 'test objects ", "     vga     : \"Ostravel\" ", "",
      "VAR 'a variable section", "", "VAR 'test vars ", "    long touch_x", "",
      "PUB 'a public section", "", "PUB 'Test pub ", "     bTestSD:=true ", "",
      "PRI 'a private section", "", "PRI  'Test pri", "   Ser.start(24,30,0,9600)", "",
      "DAT'a dat section", "", "DAT  'Test dat", "     bPlaying byte false", ""};
  // clang-format on
  ASSERT_EQ(31u, expected.size());
  std::wstring text;
  for (const std::string& line : expected) text += W(line) + L"\n";

  for (bool second : {false, true}) {
    SCOPED_TRACE(second ? "second generation" : "first generation");
    CSourceDoc* doc = second ? static_cast<CSourceDoc*>(NewDocument<CVorn2EditDoc>())
                             : static_cast<CSourceDoc*>(NewDocument<CQuillmarkDoc>());
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(text, doc->m_strText);
    EXPECT_EQ(std::wstring::npos, doc->m_strText.find(L'\r'));
    EXPECT_FALSE(doc->IsModified());
    CSourceView* view = second ? static_cast<CSourceView*>(AddView<SecondView>(doc)) : AddView(doc);
    EXPECT_EQ(expected, Lines(view));
    const CTextModel& model = view->m_pEditor->m_textModel;
    const std::list<std::int32_t> headers = {1, 3, 6, 8, 11, 13, 16, 18, 21, 23, 26, 28};
    EXPECT_EQ(headers, model.sectionLines);
    std::string kinds;
    for (std::int32_t line : model.sectionLines) kinds += model.lines[line].substr(0, 3) + " ";
    EXPECT_EQ("CON CON OBJ OBJ VAR VAR PUB PUB PRI PRI DAT DAT ", kinds);
  }

  // Line 5 sets the underscore clock constant from a crystal source and the
  // largest multiplier, all three words of the constant-section set.
  CColorizer colorizer;
  colorizer.LoadKeywords(L"Keywords.ini");
  for (const char* word : {"_TICKMODE", "XTLOW", "MUL16"}) EXPECT_TRUE(colorizer.IsConVarKeyword(word)) << word;
  for (const char* bigger : {"MUL32", "MUL64"}) EXPECT_FALSE(colorizer.IsConVarKeyword(bigger)) << bigger;
}

// Any text of two or more LF-ended lines without tab or CR comes back byte
// for byte from Open and Save, and again from a second round. One document
// and one view serve every text: each round reads the file again and loads a
// freshly reset editor, as a new view would.
TEST_F(DocumentTest, RandomTextsRoundTripByteForByte) {
  const std::string path = Path("round.vorn");
  WriteAll(path, "a\nb\n");
  CQuillmarkDoc* doc = Open(path);
  ASSERT_NE(nullptr, doc);
  FirstView* view = AddView(doc);
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    std::string text;
    const int lineCount = 2 + static_cast<int>(random() % 40);
    for (int i = 0; i < lineCount; ++i) {
      const int length = static_cast<int>(random() % 60);
      for (int j = 0; j < length; ++j) {
        unsigned char b;
        do b = static_cast<unsigned char>(random() % 256);
        while (b == '\t' || b == '\r' || b == '\n');
        text += static_cast<char>(b);
      }
      text += '\n';
    }
    SCOPED_TRACE("seed " + std::to_string(seed));
    WriteAll(path, text);
    for (int round = 0; round < 2; ++round) {
      ASSERT_TRUE(doc->OnOpenDocument(path));
      view->m_pEditor->ResetContent();
      view->m_pEditor->InsertText(doc->m_strText);
      ASSERT_TRUE(doc->Save());
      ASSERT_EQ(text, ReadAll(path));
    }
  }
}

// A document saves its own view's editor: the active view when it is one of
// its own, else its first own view; never another document's view.
TEST_F(DocumentTest, ASaveTakesTheTextOfItsOwnView) {
  WriteAll(Path("a.vorn"), "alpha\none\n");
  WriteAll(Path("b.vorn"), "beta\ntwo\n");
  CQuillmarkDoc* a = Open(Path("a.vorn"));
  CQuillmarkDoc* b = Open(Path("b.vorn"));
  ASSERT_TRUE(a && b);
  FirstView* a1 = AddView(a);
  FirstView* b1 = AddView(b);
  FirstView* a2 = AddView(a);  // a second window on document a, edited
  a2->m_pEditor->InsertText(L"added\n");
  ASSERT_EQ(std::vector<std::string>({"alpha", "one", "added"}), Lines(a2));

  struct Case {
    const char* name;
    wxView* active;
    const char* expected;
  };
  const Case cases[] = {
      {"the other document's view is active", b1, "alpha\none\n"},
      {"its second view is active", a2, "alpha\none\nadded\n"},
      {"its first view is active", a1, "alpha\none\n"},
      {"no view is active", nullptr, "alpha\none\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.active)
      manager_->ActivateView(c.active, true);
    else
      manager_->ActivateView(manager_->GetCurrentView(), false);
    EXPECT_EQ(c.active, manager_->GetCurrentView());
    EXPECT_EQ(c.active == a2 ? a2 : a1, a->ViewToSave());
    ASSERT_TRUE(a->Save());
    EXPECT_EQ(c.expected, ReadAll(Path("a.vorn")));
    EXPECT_EQ("beta\ntwo\n", ReadAll(Path("b.vorn")));
  }
  manager_->ActivateView(a2, true);
  EXPECT_EQ(b1, b->ViewToSave());
}

// Without a view of its own class a save refuses silently: no message, no
// file touched, the staging text as it was.
TEST_F(DocumentTest, ASaveWithoutAnOwnViewRefusesSilently) {
  WriteAll(Path("a.vorn"), "alpha\n\n");
  CQuillmarkDoc* none = Open(Path("a.vorn"));
  CQuillmarkDoc* foreign = Open(Path("a.vorn"));
  ASSERT_TRUE(none && foreign);
  SecondView* other = AddView<SecondView>(foreign);
  manager_->ActivateView(other, true);
  other->m_pEditor->InsertText(L"changed\n");
  for (CSourceDoc* doc : {static_cast<CSourceDoc*>(none), static_cast<CSourceDoc*>(foreign)}) {
    const std::wstring staging = doc->m_strText;
    const std::set<std::string> names = Names();
    MessageBoxes boxes;
    EXPECT_EQ(nullptr, doc->ViewToSave());
    EXPECT_FALSE(doc->Save());
    EXPECT_FALSE(doc->OnSaveDocument(Path("elsewhere.vorn")));
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ("alpha\n\n", ReadAll(Path("a.vorn")));
    EXPECT_EQ(names, Names());
    EXPECT_EQ(staging, doc->m_strText);
  }
}

// Save writes the file each time it is asked, also when nothing changed;
// a successful save makes the document clean.
TEST_F(DocumentTest, SaveWritesAnUnmodifiedDocumentAndMakesItClean) {
  WriteAll(Path("a.vorn"), "one\ntwo\n");
  CQuillmarkDoc* doc = Open(Path("a.vorn"));
  ASSERT_NE(nullptr, doc);
  AddView(doc);
  WriteAll(Path("a.vorn"), "changed by another program\n");
  ASSERT_FALSE(doc->IsModified());
  ASSERT_TRUE(doc->Save());
  EXPECT_EQ("one\ntwo\n", ReadAll(Path("a.vorn")));

  doc->Modify(true);
  fs::remove(Path("a.vorn"));
  ASSERT_TRUE(doc->Save());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ("one\ntwo\n", ReadAll(Path("a.vorn")));
  EXPECT_EQ(std::set<std::string>{"a.vorn"}, Names());
}

// A failed save leaves the file as it was and no new file beside it, keeps
// the document modified, and names the file and the system's reason.
TEST_F(DocumentTest, AFailedSaveTellsWhyAndChangesNothing) {
  using platform::SaveStep;
  const std::string path = Path("a.vorn");
  WriteAll(path, "old\ntext\n");
  CQuillmarkDoc* doc = Open(path);
  ASSERT_NE(nullptr, doc);
  FirstView* view = AddView(doc);
  view->m_pEditor->SetSelection(0, 1, 0, 1);
  view->m_pEditor->InsertText(L"new ");
  ASSERT_EQ(std::vector<std::string>({"old", "new text"}), Lines(view));
  doc->Modify(true);

  const SaveStep steps[] = {SaveStep::Open, SaveStep::Write, SaveStep::Flush,
                            SaveStep::Sync, SaveStep::Close, SaveStep::Rename};
  for (SaveStep step : steps) {
    SCOPED_TRACE(platform::SaveStepText(step));
    MessageBoxes boxes;
    bool saved;
    {
      platform::ScopedSaveFailurePoint fail([step](SaveStep s) { return s == step ? ENOSPC : 0; });
      saved = doc->Save();
    }
    EXPECT_FALSE(saved);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ("old\ntext\n", ReadAll(path));
    EXPECT_EQ(std::set<std::string>{"a.vorn"}, Names());
    EXPECT_EQ(L"old\nnew text\n", doc->m_strText);  // the editor's text, taken before writing
    ASSERT_EQ(1u, boxes.texts.size());
    const wxString expectedFirst = step == SaveStep::Open
                                       ? "Failed to open given filename."
                                       : "Failed to save given filename; the file was left as it was.";
    EXPECT_EQ(expectedFirst, boxes.texts[0].BeforeFirst('\n'));
    const wxString secondLine = boxes.texts[0].AfterFirst('\n');
    EXPECT_TRUE(secondLine.StartsWith(wxString(path) + ": " + std::strerror(ENOSPC))) << secondLine;
  }

  ASSERT_TRUE(doc->Save());
  EXPECT_EQ("old\nnew text\n", ReadAll(path));
  EXPECT_FALSE(doc->IsModified());
}

// Closing a modified document asks whether to save it: Yes saves, No
// discards, Cancel keeps it open and modified. A clean document asks nothing.
TEST_F(DocumentTest, ClosingAModifiedDocumentAsks) {
  struct Case {
    int answer;
    bool closes;
    bool modifiedAfter;
    const char* file;
  };
  const Case cases[] = {
      {wxID_CANCEL, false, true, "a\nb\n"},
      {wxID_NO, true, false, "a\nb\n"},
      {wxID_YES, true, false, "a\nb\nc\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    WriteAll(Path("a.vorn"), "a\nb\n");
    CQuillmarkDoc* doc = Open(Path("a.vorn"));
    ASSERT_NE(nullptr, doc);
    FirstView* view = AddView(doc);
    view->m_pEditor->InsertText(L"c\n");
    doc->Modify(true);
    MessageBoxes boxes;
    boxes.answers.push_back(c.answer);
    EXPECT_EQ(c.closes, doc->Close());
    ASSERT_EQ(1u, boxes.texts.size());
    EXPECT_EQ("Save changes to a.vorn?", boxes.texts[0]);
    EXPECT_EQ("Quillmark", boxes.captions[0]);
    EXPECT_EQ(wxYES_NO | wxCANCEL, boxes.styles[0] & (wxYES_NO | wxCANCEL));
    EXPECT_EQ(c.modifiedAfter, doc->IsModified());
    EXPECT_EQ(c.file, ReadAll(Path("a.vorn")));
    CloseAll();
  }

  WriteAll(Path("a.vorn"), "a\n\n");
  CQuillmarkDoc* clean = Open(Path("a.vorn"));
  ASSERT_NE(nullptr, clean);
  AddView(clean);
  MessageBoxes boxes;
  EXPECT_TRUE(clean->Close());
  EXPECT_TRUE(boxes.texts.empty());
}

}  // namespace
