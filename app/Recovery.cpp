// Recovery store, autosave and restore of modified documents.
#include "app/Recovery.h"

#include "app/DocManager.h"
#include "app/QuillmarkDoc.h"
#include "app/SourceFile.h"
#include "app/SourceView.h"
#include "platform/ShellRegistration.h"
#include "platform/UserFolders.h"

#include <wx/docview.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include <dirent.h>
#include <unistd.h>

namespace {

const char kMagic[] = "QUILLMARK-RECOVERY 1\n";
const char kMarkerName[] = "running";
const char kRecordPrefix[] = "document-";
const char kRecordSuffix[] = ".rec";
const char kLockName[] = "lock";
const char kSidePrefix[] = "beside-";

void AppendField(std::string& out, const char* name, const std::string& value) {
  out += name;
  out += ' ';
  out += std::to_string(value.size());
  out += '\n';
  out += value;
  out += '\n';
}

// Reads "<name> <length>\n<bytes>\n" at `pos`.
bool ReadField(const std::string& in, std::size_t& pos, const char* name, std::string& value) {
  const std::string head = std::string(name) + ' ';
  if (in.compare(pos, head.size(), head) != 0) return false;
  pos += head.size();
  const std::size_t eol = in.find('\n', pos);
  if (eol == std::string::npos || eol == pos || eol - pos > 19) return false;
  unsigned long long length = 0;
  for (std::size_t i = pos; i < eol; ++i) {
    if (in[i] < '0' || in[i] > '9') return false;
    length = length * 10 + static_cast<unsigned>(in[i] - '0');
  }
  pos = eol + 1;
  if (length > in.size() - pos || in.size() - pos - length < 1 || in[pos + length] != '\n') return false;
  value.assign(in, pos, static_cast<std::size_t>(length));
  pos += static_cast<std::size_t>(length) + 1;
  return true;
}

std::string Utf8(const wxString& s) {
  const wxScopedCharBuffer buffer = s.utf8_str();
  return std::string(buffer.data(), buffer.length());
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  bytes = text.str();
  return true;
}

bool IsRecordName(const std::string& name) {
  const std::size_t p = sizeof(kRecordPrefix) - 1, s = sizeof(kRecordSuffix) - 1;
  return name.size() > p + s && name.compare(0, p, kRecordPrefix) == 0 &&
         name.compare(name.size() - s, s, kRecordSuffix) == 0;
}

}  // namespace

CRecoveryStore::CRecoveryStore(const std::string& folder) : m_folder(folder) {}

bool CRecoveryStore::HasRunningMarker() const {
  return ::access((m_folder + "/" + kMarkerName).c_str(), F_OK) == 0;
}

bool CRecoveryStore::WriteRunningMarker() {
  return platform::MakeFolders(m_folder) &&
         platform::WriteFileReplacing(m_folder + "/" + kMarkerName, std::to_string(::getpid()) + "\n");
}

void CRecoveryStore::MarkCleanExit() {
  RemoveRecords();
  std::remove((m_folder + "/" + kMarkerName).c_str());
}

std::vector<std::string> CRecoveryStore::RecordFiles() const {
  std::vector<std::string> files;
  DIR* dir = ::opendir(m_folder.c_str());
  if (!dir) return files;
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (IsRecordName(name)) files.push_back(m_folder + "/" + name);
  }
  ::closedir(dir);
  std::sort(files.begin(), files.end());
  return files;
}

bool CRecoveryStore::Claim() {
  return platform::MakeFolders(m_folder) &&
         m_lock.TryLock(m_folder + "/" + kLockName) == platform::FileLock::Result::Taken;
}

std::string CRecoveryStore::SideFolder(const std::string& root, int choice) {
  std::string folder = root + "/" + kSidePrefix + std::to_string(::getpid());
  if (choice > 0) folder += "-" + std::to_string(choice);
  return folder;
}

std::vector<std::string> CRecoveryStore::EndedSideFolders(const std::string& root) {
  std::vector<std::string> folders;
  DIR* dir = ::opendir(root.c_str());
  if (!dir) return folders;
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.compare(0, sizeof(kSidePrefix) - 1, kSidePrefix) != 0) continue;
    const std::string folder = root + "/" + name;
    if (!platform::FileLock::HeldElsewhere(folder + "/" + kLockName)) folders.push_back(folder);
  }
  ::closedir(dir);
  std::sort(folders.begin(), folders.end());
  return folders;
}

void CRecoveryStore::RemoveFolder() {
  MarkCleanExit();
  m_lock.Release();
  std::remove((m_folder + "/" + kLockName).c_str());
  ::rmdir(m_folder.c_str());
}

std::vector<RecoveryRecord> CRecoveryStore::Load() const {
  std::vector<RecoveryRecord> records;
  for (const std::string& file : RecordFiles()) {
    std::string bytes;
    RecoveryRecord record;
    if (ReadWholeFile(file, bytes) && Parse(bytes, record)) records.push_back(std::move(record));
  }
  return records;
}

bool CRecoveryStore::Replace(const std::vector<RecoveryRecord>& records) {
  if (!platform::MakeFolders(m_folder)) return false;
  bool ok = true;
  std::set<std::string> written;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string file = m_folder + "/" + kRecordPrefix + std::to_string(i + 1) + kRecordSuffix;
    if (platform::WriteFileReplacing(file, Serialize(records[i])))
      written.insert(file);
    else
      ok = false;
  }
  // Files past the new records go; one whose rewrite failed keeps its older
  // copy rather than none.
  for (const std::string& file : RecordFiles()) {
    const std::size_t start = m_folder.size() + 1 + sizeof(kRecordPrefix) - 1;
    const unsigned long index = std::strtoul(file.c_str() + start, nullptr, 10);
    if (!written.count(file) && index > records.size()) std::remove(file.c_str());
  }
  return ok;
}

void CRecoveryStore::RemoveRecords() {
  for (const std::string& file : RecordFiles()) std::remove(file.c_str());
}

std::string CRecoveryStore::Serialize(const RecoveryRecord& record) {
  std::string out = kMagic;
  AppendField(out, "path", Utf8(record.path));
  AppendField(out, "kind", Utf8(record.kind));
  AppendField(out, "text", record.text);
  return out;
}

bool CRecoveryStore::Parse(const std::string& bytes, RecoveryRecord& record) {
  const std::size_t magic = sizeof(kMagic) - 1;
  if (bytes.compare(0, magic, kMagic) != 0) return false;
  std::size_t pos = magic;
  std::string path, kind, text;
  if (!ReadField(bytes, pos, "path", path) || !ReadField(bytes, pos, "kind", kind) ||
      !ReadField(bytes, pos, "text", text) || pos != bytes.size())
    return false;
  record.path = wxString::FromUTF8(path.data(), path.size());
  record.kind = wxString::FromUTF8(kind.data(), kind.size());
  // A path that is not valid UTF-8 comes back empty: the text is then
  // restored as a new document rather than under a wrong name.
  if (!path.empty() && record.path.empty()) return false;
  record.text = std::move(text);
  return true;
}

std::vector<RecoveryRecord> CollectModifiedDocuments(wxDocManager& manager) {
  std::vector<RecoveryRecord> records;
  for (wxDocument* doc : manager.GetDocumentsVector()) {
    auto* source = dynamic_cast<CSourceDoc*>(doc);
    if (!source || !doc->IsModified()) continue;
    CSourceView* view = source->ViewToSave();
    if (!view || !view->m_pEditor) continue;
    RecoveryRecord record;
    if (doc->GetDocumentSaved()) record.path = doc->GetFilename();
    if (doc->GetDocumentTemplate()) record.kind = doc->GetDocumentTemplate()->GetDocumentName();
    record.text = view->m_pEditor->GetText();
    records.push_back(std::move(record));
  }
  return records;
}

int RestoreDocuments(wxDocManager& manager, const std::vector<RecoveryRecord>& records) {
  int restored = 0;
  for (const RecoveryRecord& record : records) {
    wxDocTemplate* temp = nullptr;
    for (wxDocTemplate* candidate : manager.GetTemplatesVector())
      if (candidate->GetDocumentName() == record.kind) temp = candidate;
    if (!temp) temp = record.path.empty() ? nullptr : manager.FindTemplateForPath(record.path);
    if (!temp && !manager.GetTemplatesVector().empty()) temp = manager.GetTemplatesVector().front();
    if (!temp) continue;
    // The template makes the document, its frame and its view; the text then
    // goes in through the views' initial update, as a read file's would.
    wxDocument* doc = temp->CreateDocument(wxString(), wxDOC_NEW);
    if (!doc) continue;
    doc->SetDocumentName(temp->GetDocumentName());
    if (auto* source = dynamic_cast<CSourceDoc*>(doc)) source->m_strText = sourcefile::WidenBytes(record.text);
    if (!record.path.empty()) {
      doc->SetFilename(record.path, false);
      doc->SetDocumentSaved(true);
    } else {
      const wxString name = NewDocumentTitle(temp, manager);
      doc->SetTitle(name);
      doc->SetFilename(name, false);
      doc->SetDocumentSaved(false);
    }
    doc->UpdateAllViews();
    doc->Modify(true);
    if (wxView* view = doc->GetFirstView()) view->OnChangeFilename();
    doc->Activate();
    ++restored;
  }
  return restored;
}

CAutosave::CAutosave(wxDocManager& manager, CRecoveryStore& store, int intervalMs)
    : m_manager(manager), m_store(store), m_intervalMs(intervalMs > 0 ? intervalMs : kDefaultIntervalMs), m_timer(this) {
  Bind(wxEVT_TIMER, &CAutosave::OnTimer, this);
}

CAutosave::~CAutosave() { m_timer.Stop(); }

void CAutosave::Start() { m_timer.Start(m_intervalMs); }
void CAutosave::Stop() { m_timer.Stop(); }

bool CAutosave::SaveNow() { return m_store.Replace(CollectModifiedDocuments(m_manager)); }

void CAutosave::OnTimer(wxTimerEvent&) { SaveNow(); }
