// Another program on the display for the clipboard tests, through Xlib.
#include "OtherClipboardOwner.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <thread>

struct OtherClipboardOwner::Connection {
  Display* display = nullptr;
  Window window = 0;
  Atom clipboard = 0, targetsAtom = 0, utf8Atom = 0, plainUtf8Atom = 0;
  std::vector<Atom> offered;
  std::string text;
  std::thread server;
  std::atomic<bool> stop{false};

  void Serve() {
    while (!stop) {
      while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) Answer(event.xselectionrequest);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  // The list of targets, and the text as UTF-8 when it is offered.
  void Answer(const XSelectionRequestEvent& request) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.requestor = request.requestor;
    reply.selection = request.selection;
    reply.target = request.target;
    reply.time = request.time;
    reply.property = None;
    if (request.target == targetsAtom && request.property != None) {
      XChangeProperty(display, request.requestor, request.property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(offered.data()), static_cast<int>(offered.size()));
      reply.property = request.property;
    }
    const bool textAsked = request.target == utf8Atom || request.target == plainUtf8Atom;
    if (textAsked && Offers(request.target) && request.property != None) {
      XChangeProperty(display, request.requestor, request.property, request.target, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
      reply.property = request.property;
    }
    XSendEvent(display, request.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
    XFlush(display);
  }
  bool Offers(Atom target) const {
    for (Atom a : offered)
      if (a == target) return true;
    return false;
  }
};

OtherClipboardOwner::OtherClipboardOwner(const std::vector<std::string>& targets, std::string utf8)
    : m_connection(std::make_unique<Connection>()) {
  Connection& c = *m_connection;
  c.text = std::move(utf8);
  c.display = XOpenDisplay(nullptr);
  if (!c.display) return;
  c.window = XCreateSimpleWindow(c.display, DefaultRootWindow(c.display), 0, 0, 1, 1, 0, 0, 0);
  c.clipboard = XInternAtom(c.display, "CLIPBOARD", False);
  c.targetsAtom = XInternAtom(c.display, "TARGETS", False);
  c.utf8Atom = XInternAtom(c.display, "UTF8_STRING", False);
  c.plainUtf8Atom = XInternAtom(c.display, "text/plain;charset=utf-8", False);
  c.offered.push_back(c.targetsAtom);
  for (const std::string& target : targets) c.offered.push_back(XInternAtom(c.display, target.c_str(), False));
  XSetSelectionOwner(c.display, c.clipboard, c.window, CurrentTime);
  XSync(c.display, False);
  c.server = std::thread([&c] { c.Serve(); });
}

OtherClipboardOwner::~OtherClipboardOwner() {
  Connection& c = *m_connection;
  if (!c.display) return;
  c.stop = true;
  c.server.join();
  XDestroyWindow(c.display, c.window);
  XCloseDisplay(c.display);
}

bool OtherClipboardOwner::Owns() const { return m_connection->display != nullptr; }
