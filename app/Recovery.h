// Recovery of unsaved work: modified documents are written to a recovery
// folder at an interval; a marker file tells whether the last run ended
// cleanly; after an abnormal end the next start offers the documents back.
#pragma once

#include "platform/InstanceLock.h"

#include <wx/event.h>
#include <wx/string.h>
#include <wx/timer.h>

#include <string>
#include <vector>

class wxDocManager;
class wxDocument;

// What it takes to give one document back: its file (empty for a document
// that was never saved), its kind (the template's document name) and the
// bytes of its editor's text.
struct RecoveryRecord {
  wxString path;
  wxString kind;
  std::string text;
};

// The recovery folder: one file per modified document and the marker of a
// running program.
class CRecoveryStore {
 public:
  explicit CRecoveryStore(const std::string& folder);

  const std::string& Folder() const { return m_folder; }

  // Whether the marker of a running program is there: the last run (or one
  // still running) did not end cleanly.
  bool HasRunningMarker() const;
  bool WriteRunningMarker();
  // Removes every record and the marker: the end of a clean exit.
  void MarkCleanExit();

  // The records in the folder; a file that is not a whole record is skipped.
  std::vector<RecoveryRecord> Load() const;
  // Makes the folder hold exactly these records (each written whole through a
  // temporary file, then the ones left over removed); false when one could
  // not be written.
  bool Replace(const std::vector<RecoveryRecord>& records);
  // Removes every record, keeping the marker.
  void RemoveRecords();
  // The record files now in the folder.
  std::vector<std::string> RecordFiles() const;

  // A store of a run beside a living instance: locked while the run lives,
  // so that only its own run writes it and nobody offers it meanwhile.
  bool Claim();
  // The stores of this process beside a living instance, below `root`: the
  // first one free is taken (an ended run of the same process number may
  // have left one that is not this run's).
  static std::string SideFolder(const std::string& root, int choice = 0);
  // The side stores below `root` whose run has ended.
  static std::vector<std::string> EndedSideFolders(const std::string& root);
  // Removes the store's records, marker and lock, and its folder.
  void RemoveFolder();

  static std::string Serialize(const RecoveryRecord& record);
  // False when `bytes` is not one whole record.
  static bool Parse(const std::string& bytes, RecoveryRecord& record);

 private:
  std::string m_folder;
  platform::FileLock m_lock;
};

// The records of the modified documents of `manager` (documents of the two
// source kinds whose own view has an editor).
std::vector<RecoveryRecord> CollectModifiedDocuments(wxDocManager& manager);

// Opens each record as a modified document of its kind, with its text and
// its file name (or a new document's name); returns how many opened.
int RestoreDocuments(wxDocManager& manager, const std::vector<RecoveryRecord>& records);

// Writes the modified documents to the store at a fixed interval.
class CAutosave : public wxEvtHandler {
 public:
  static constexpr int kDefaultIntervalMs = 5 * 60 * 1000;

  CAutosave(wxDocManager& manager, CRecoveryStore& store, int intervalMs = kDefaultIntervalMs);
  ~CAutosave() override;

  void Start();
  void Stop();
  // One round now: the store then holds the modified documents, nothing else.
  bool SaveNow();
  int IntervalMs() const { return m_intervalMs; }

 private:
  void OnTimer(wxTimerEvent& event);

  wxDocManager& m_manager;
  CRecoveryStore& m_store;
  int m_intervalMs;
  wxTimer m_timer;
};
