// Builds the shell's menus, accelerator table 128, strings, the ribbon
// description and the images of ribbon and menus.
#include "res/ShellResources.h"

#include <wx/artprov.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/module.h>

#include <map>
#include <string>
#include <tuple>

#include "res/EditorResources.h"
#include "res/ResourceIds.h"

const wchar_t* const kRecentFilePlaceholder = L"Recent File";

namespace {

void Add(wxMenu& menu, int command, const wchar_t* text, wxItemKind kind = wxITEM_NORMAL) {
  menu.Append(MenuItemIdOfCommand(command), text, wxEmptyString, kind);
}

// The recent-file list's place: the frame puts the list's entries here.
void AddRecentFileList(wxMenu& menu) {
  Add(menu, ids::ID_FILE_MRU_FILE1, kRecentFilePlaceholder);
  menu.Enable(MenuItemIdOfCommand(ids::ID_FILE_MRU_FILE1), false);
}

wxMenu* ViewMenu() {
  auto* menu = new wxMenu;
  Add(*menu, ids::ID_VIEW_STATUS_BAR, L"&Status Bar", wxITEM_CHECK);
  menu->AppendSubMenu(LoadApplicationLookMenu().release(), L"&Application Look");
  return menu;
}

wxMenu* HelpMenu() {
  auto* menu = new wxMenu;
  Add(*menu, ids::ID_APP_ABOUT, L"&About Quillmark...");
  return menu;
}

std::unique_ptr<wxMenuBar> FirstGenerationMenu() {
  auto bar = std::make_unique<wxMenuBar>();
  auto* file = new wxMenu;
  Add(*file, ids::ID_FILE_NEW, L"&New\tCtrl+N");
  Add(*file, ids::ID_FILE_OPEN, L"&Open...\tCtrl+O");
  Add(*file, ids::ID_FILE_CLOSE, L"&Close");
  Add(*file, ids::ID_FILE_SAVE, L"&Save\tCtrl+S");
  Add(*file, ids::ID_FILE_SAVE_AS, L"Save &As...");
  file->AppendSeparator();
  Add(*file, ids::ID_FILE_PRINT, L"&Print...\tCtrl+P");
  Add(*file, ids::ID_FILE_PRINT_PREVIEW, L"Print Pre&view", wxITEM_CHECK);
  Add(*file, ids::ID_FILE_PRINT_SETUP, L"P&rint Setup...");
  file->AppendSeparator();
  AddRecentFileList(*file);
  file->AppendSeparator();
  Add(*file, ids::ID_APP_EXIT, L"E&xit");
  bar->Append(file, L"&File");

  auto* edit = new wxMenu;
  Add(*edit, ids::ID_EDIT_UNDO, L"&Undo\tCtrl+Z");
  edit->AppendSeparator();
  Add(*edit, ids::ID_EDIT_CUT, L"Cu&t\tCtrl+X");
  Add(*edit, ids::ID_EDIT_COPY, L"&Copy\tCtrl+C");
  Add(*edit, ids::ID_EDIT_PASTE, L"&Paste\tCtrl+V");
  bar->Append(edit, L"&Edit");

  bar->Append(ViewMenu(), L"&View");
  auto* window = new wxMenu;
  Add(*window, ids::ID_WINDOW_NEW, L"&New Window");
  bar->Append(window, L"&Window");
  bar->Append(HelpMenu(), L"&Help");
  return bar;
}

// A menu bar cannot hold a command of its own, so the one item of menu 311
// sits in a menu of its own.
std::unique_ptr<wxMenuBar> SecondGenerationMenu() {
  auto bar = std::make_unique<wxMenuBar>();
  bar->Append(HelpMenu(), L"&Help");
  return bar;
}

}  // namespace

std::unique_ptr<wxMenu> LoadApplicationLookMenu() {
  auto menu = std::make_unique<wxMenu>();
  Add(*menu, ids::ID_VIEW_APPLOOK_WIN_2000, L"Windows &2000", wxITEM_CHECK);
  Add(*menu, ids::ID_VIEW_APPLOOK_OFF_XP, L"Office &XP", wxITEM_CHECK);
  Add(*menu, ids::ID_VIEW_APPLOOK_WIN_XP, L"&Windows XP", wxITEM_CHECK);
  Add(*menu, ids::ID_VIEW_APPLOOK_OFF_2003, L"Office 200&3", wxITEM_CHECK);
  Add(*menu, ids::ID_VIEW_APPLOOK_VS_2005, L"Visual Studio 200&5", wxITEM_CHECK);
  Add(*menu, ids::ID_VIEW_APPLOOK_VS_2008, L"Visual Studio 200&8", wxITEM_CHECK);
  auto* office = new wxMenu;
  Add(*office, ids::ID_VIEW_APPLOOK_OFF_2007_BLUE, L"&Blue Style", wxITEM_CHECK);
  Add(*office, ids::ID_VIEW_APPLOOK_OFF_2007_BLACK, L"B&lack Style", wxITEM_CHECK);
  Add(*office, ids::ID_VIEW_APPLOOK_OFF_2007_SILVER, L"&Silver Style", wxITEM_CHECK);
  Add(*office, ids::ID_VIEW_APPLOOK_OFF_2007_AQUA, L"&Aqua Style", wxITEM_CHECK);
  menu->AppendSubMenu(office, L"Office 200&7");
  return menu;
}

std::unique_ptr<wxMenuBar> LoadMainMenu() {
  auto bar = std::make_unique<wxMenuBar>();
  auto* file = new wxMenu;
  Add(*file, ids::ID_FILE_NEW, L"&New\tCtrl+N");
  Add(*file, ids::ID_FILE_OPEN, L"&Open...\tCtrl+O");
  Add(*file, ids::ID_FILE_CLOSE, L"&Close");
  file->AppendSeparator();
  Add(*file, ids::ID_FILE_PRINT_SETUP, L"P&rint Setup...");
  file->AppendSeparator();
  AddRecentFileList(*file);
  file->AppendSeparator();
  Add(*file, ids::ID_APP_EXIT, L"E&xit");
  bar->Append(file, L"&File");
  bar->Append(ViewMenu(), L"&View");
  bar->Append(HelpMenu(), L"&Help");
  return bar;
}

std::unique_ptr<wxMenuBar> LoadDocumentMenu(int id) {
  if (id == ids::IDR_QuillmarkTYPE) return FirstGenerationMenu();
  if (id == ids::IDR_Vorn2EditTYPE) return SecondGenerationMenu();
  return nullptr;
}

std::unique_ptr<wxMenu> LoadViewContextMenu() {
  auto menu = std::make_unique<wxMenu>();
  Add(*menu, ids::ID_EDIT_CUT, L"Cu&t\tCtrl+X");
  Add(*menu, ids::ID_EDIT_COPY, L"&Copy\tCtrl+C");
  Add(*menu, ids::ID_EDIT_PASTE, L"&Paste\tCtrl+V");
  return menu;
}

std::vector<wxAcceleratorEntry> MainAcceleratorEntries() {
  auto entry = [](int flags, int key, int command) {
    return wxAcceleratorEntry(flags, key, MenuItemIdOfCommand(command));
  };
  return {
      entry(wxACCEL_CTRL, 'N', ids::ID_FILE_NEW),
      entry(wxACCEL_CTRL, 'O', ids::ID_FILE_OPEN),
      entry(wxACCEL_CTRL, 'S', ids::ID_FILE_SAVE),
      entry(wxACCEL_CTRL, 'P', ids::ID_FILE_PRINT),
      entry(wxACCEL_CTRL, 'Z', ids::ID_EDIT_UNDO),
      entry(wxACCEL_ALT, WXK_BACK, ids::ID_EDIT_UNDO),
      entry(wxACCEL_CTRL, 'X', ids::ID_EDIT_CUT),
      entry(wxACCEL_SHIFT, WXK_DELETE, ids::ID_EDIT_CUT),
      entry(wxACCEL_CTRL, 'C', ids::ID_EDIT_COPY),
      entry(wxACCEL_CTRL, WXK_INSERT, ids::ID_EDIT_COPY),
      entry(wxACCEL_CTRL, 'V', ids::ID_EDIT_PASTE),
      entry(wxACCEL_SHIFT, WXK_INSERT, ids::ID_EDIT_PASTE),
      entry(wxACCEL_NORMAL, WXK_F6, ids::ID_NEXT_PANE),
      entry(wxACCEL_SHIFT, WXK_F6, ids::ID_PREV_PANE),
  };
}

wxAcceleratorTable LoadMainAccelerators() {
  const std::vector<wxAcceleratorEntry> entries = MainAcceleratorEntries();
  return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

wxString LoadShellString(int id) {
  switch (id) {
    case ids::IDS_STATUS_PANE1: return L"Pane 1";
    case ids::IDS_STATUS_PANE2: return L"Pane 2";
    case ids::ID_WINDOW_MANAGER: return L"&Windows...";
    case ids::IDS_FILE_VIEW: return L"File View";
    case ids::IDS_CLASS_VIEW: return L"Section View";
    case ids::IDS_OUTPUT_WND: return L"Output";
    case ids::ID_ShowClassView: return L"Activate the Section View panel";
    default: return wxString();
  }
}

const RibbonDescription& LoadRibbonDescription() {
  using K = RibbonItemKind;
  static const RibbonDescription ribbon{
      ids::IDR_RIBBON,
      113,
      112,
      L"F",
      {L"File", L"", 115, 114,
       {{L"", L"",
         {{K::Button, ids::ID_FILE_NEW_FRAME, L"&New Frame", L"", wxART_NEW_DIR, {}},
          {K::Button, ids::ID_FILE_NEW, L"&New", L"", wxART_NEW, {}},
          {K::Button, ids::ID_FILE_OPEN, L"&Open...", L"", wxART_FILE_OPEN, {}},
          {K::Button, ids::ID_FILE_SAVE, L"&Save", L"", wxART_FILE_SAVE, {}},
          {K::Button, ids::ID_FILE_SAVE_AS, L"Save &As...", L"", wxART_FILE_SAVE_AS, {}},
          {K::MenuButton, ids::ID_FILE_PRINT, L"Print", L"P", wxART_PRINT,
           {{K::Label, 0, L"Preview and print the document", L"", nullptr, {}},
            {K::Button, ids::ID_FILE_PRINT_DIRECT, L"&Quick Print", L"", wxART_PRINT, {}},
            {K::Button, ids::ID_FILE_PRINT_PREVIEW, L"Print Pre&view", L"", wxART_FIND, {}},
            {K::Button, ids::ID_FILE_PRINT_SETUP, L"Print Set&up", L"", wxART_PRINT, {}}},
           0,
           L"W"},
          {K::Separator, 0, L"", L"", nullptr, {}},
          {K::Button, ids::ID_FILE_CLOSE, L"&Close", L"", wxART_CLOSE, {}},
          {K::MainPanelButton, ids::ID_APP_EXIT, L"E&xit", L"", wxART_QUIT, {}},
          {K::RecentFileList, 0, L"Recent Documents", L"", wxART_NORMAL_FILE, {}, 300}}}}},
      {ids::ID_FILE_NEW, ids::ID_FILE_OPEN, ids::ID_FILE_SAVE, ids::ID_FILE_PRINT_DIRECT},
      {{K::MenuButton, 0, L"Style", L"S", nullptr,
        {{K::Button, ids::ID_VIEW_APPLOOK_OFF_2007_BLUE, L"Office 2007 (&Blue Style)", L"", nullptr, {}},
         {K::Button, ids::ID_VIEW_APPLOOK_OFF_2007_BLACK, L"Office 2007 (B&lack Style)", L"", nullptr, {}},
         {K::Button, ids::ID_VIEW_APPLOOK_OFF_2007_SILVER, L"Office 2007 (&Silver Style)", L"", nullptr, {}},
         {K::Button, ids::ID_VIEW_APPLOOK_OFF_2007_AQUA, L"Office 2007 (&Aqua Style)", L"", nullptr, {}},
         {K::Button, ids::ID_VIEW_APPLOOK_WINDOWS_7, L"Win&dows 7", L"", nullptr, {}}}},
       {K::Button, ids::ID_APP_ABOUT, L"", L"A", wxART_HELP, {}}},
      {{L"Home", L"H", 110, 111,
        {{L"Clipboard", L"D",
          {{K::Button, ids::ID_EDIT_PASTE, L"Paste", L"V", wxART_PASTE, {}},
           {K::Button, ids::ID_EDIT_CUT, L"Cut", L"X", wxART_CUT, {}},
           {K::Button, ids::ID_EDIT_COPY, L"Copy", L"C", wxART_COPY, {}},
           {K::Button, ids::ID_EDIT_SELECT_ALL, L"Select All", L"A", wxART_LIST_VIEW, {}}}},
         {L"View", L"",
          {{K::CheckBox, ids::ID_VIEW_STATUS_BAR, L"Status Bar", L"S", wxART_TICK_MARK, {}},
           {K::Button, ids::ID_ShowClassView, L"Section View", L"", wxART_REPORT_VIEW, {}},
           {K::Button, ids::ID_ViewFileView, L"File View", L"", wxART_FOLDER, {}},
           {K::Button, ids::ID_ViewOutput, L"Output", L"", wxART_EXECUTABLE_FILE, {}}}},
         {L"Find/Replace", L"F",
          {{K::Button, ids::ID_EDIT_FIND, L"Find...", L"F", wxART_FIND, {}},
           {K::Button, ids::ID_EDIT_REPEAT, L"Find Next", L"N", wxART_GO_FORWARD, {}},
           {K::Button, ids::ID_EDIT_REPLACE, L"Replace", L"R", wxART_FIND_AND_REPLACE, {}}}},
         {L"Window", L"W",
          {{K::MenuButton, ids::ID_WINDOW_MANAGER, L"Windows", L"W", wxART_FULL_SCREEN,
            {{K::Button, ids::ID_WINDOW_NEW, L"&New Window", L"", nullptr, {}}}}}},
         {L"Tarnwick", L"",
          {{K::Button, ids::ID_ButtonFindTarn, L"Find Tarn", L"", wxART_FIND, {}},
           {K::Button, ids::ID_TarnCompile, L"Compile", L"", wxART_EXECUTABLE_FILE, {}},
           {K::Button, ids::ID_ButtonLoadRam, L"Load RAM", L"", wxART_GO_DOWN, {}},
           {K::Button, ids::ID_TarnLoadEeprom, L"Load EEPROM", L"", wxART_HARDDISK, {}}}}}}},
      true,
      true,
      true};
  return ribbon;
}

namespace {

// The platform's art `artId` at `size`, or an invalid bitmap when it has none.
wxBitmap MakeArtImage(const char* artId, const wxSize& size) {
  wxBitmap art = wxArtProvider::GetBitmap(artId, wxART_TOOLBAR, size);
  if (!art.IsOk() || art.GetSize() == size) return art;
  return wxBitmap(art.ConvertToImage().Rescale(size.x, size.y, wxIMAGE_QUALITY_HIGH));
}

// A tile of our own: a blue square with the letter in white.
wxBitmap MakeTile(const wxSize& size, wxChar letter) {
  wxBitmap tile(size, 24);
  wxMemoryDC dc(tile);
  dc.SetBackground(wxBrush(wxColour(240, 240, 240)));
  dc.Clear();
  dc.SetPen(wxPen(wxColour(30, 60, 120)));
  dc.SetBrush(wxBrush(wxColour(60, 110, 190)));
  dc.DrawRoundedRectangle(1, 1, size.x - 2, size.y - 2, size.x / 6.0);
  wxFont font(wxFontInfo(wxSize(0, size.y * 2 / 3)).Bold());
  dc.SetFont(font);
  dc.SetTextForeground(*wxWHITE);
  const wxString text(letter);
  const wxSize extent = dc.GetTextExtent(text);
  dc.DrawText(text, (size.x - extent.x) / 2, (size.y - extent.y) / 2);
  dc.SelectObject(wxNullBitmap);
  return tile;
}

// Each image is made once: the ribbon, its toolbars and the panes ask for the
// same few images again and again while the main window is built. Art is
// kept under its id and size (an invalid bitmap when the platform has none),
// tiles under an empty id, their size and letter.
using ImageKey = std::tuple<std::string, int, int, wxChar>;
std::map<ImageKey, wxBitmap>& ImageCache() {
  static std::map<ImageKey, wxBitmap> cache;
  return cache;
}

// Bitmaps must go before the GUI library closes, not with the static data.
class ShellImageModule : public wxModule {
 public:
  bool OnInit() override { return true; }
  void OnExit() override { ImageCache().clear(); }

 private:
  wxDECLARE_DYNAMIC_CLASS(ShellImageModule);
};
wxIMPLEMENT_DYNAMIC_CLASS(ShellImageModule, wxModule);

}  // namespace

wxBitmap ShellImage(const char* artId, const wxSize& size, wxChar letter) {
  std::map<ImageKey, wxBitmap>& cache = ImageCache();
  if (artId && *artId) {
    ImageKey key(artId, size.x, size.y, wxChar(0));
    auto art = cache.find(key);
    if (art == cache.end()) art = cache.emplace(std::move(key), MakeArtImage(artId, size)).first;
    if (art->second.IsOk()) return art->second;
  }
  ImageKey key(std::string(), size.x, size.y, letter);
  auto tile = cache.find(key);
  if (tile == cache.end()) tile = cache.emplace(std::move(key), MakeTile(size, letter)).first;
  return tile->second;
}
