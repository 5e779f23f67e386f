// Another program on the display for the clipboard tests: a connection and
// window of its own that take the clipboard and offer a list of targets.
#pragma once

#include <memory>
#include <string>
#include <vector>

class OtherClipboardOwner {
 public:
  // Takes the clipboard at once and answers requests for its targets from
  // a thread of its own until it ends (and with it its window).
  explicit OtherClipboardOwner(const std::vector<std::string>& targets);
  ~OtherClipboardOwner();
  bool Owns() const;

 private:
  struct Connection;
  std::unique_ptr<Connection> m_connection;
};
