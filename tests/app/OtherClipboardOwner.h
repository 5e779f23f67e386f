// Another program on the display for the clipboard tests: a connection and
// window of its own that take the clipboard, offer a list of targets and
// hand over a text for the UTF-8 text targets.
#pragma once

#include <memory>
#include <string>
#include <vector>

class OtherClipboardOwner {
 public:
  // Takes the clipboard at once and answers requests for its targets from
  // a thread of its own until it ends (and with it its window). Asked for
  // UTF8_STRING or text/plain;charset=utf-8, it hands over `utf8`.
  explicit OtherClipboardOwner(const std::vector<std::string>& targets, std::string utf8 = std::string());
  ~OtherClipboardOwner();
  bool Owns() const;

 private:
  struct Connection;
  std::unique_ptr<Connection> m_connection;
};
