// Finding the game's windows and dialogs on the test's X display by their titles.
#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <string>
#include <thread>

// A viewable top-level window titled title other than `other`, or 0. The title is read as raw
// bytes: GTK stores it as STRING, SDL's message box as UTF8_STRING.
inline Window FindWindow(Display* display, const char* title, Window other = 0) {
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XTextProperty name{};
    XWindowAttributes attributes;
    if (children[i] != other && XGetWMName(display, children[i], &name) && name.value &&
        std::string(reinterpret_cast<char*>(name.value), name.nitems) == title &&
        XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
      found = children[i];
    if (name.value) XFree(name.value);
  }
  if (children) XFree(children);
  return found;
}

// The same, once it shows (`seconds` at most), or 0.
inline Window AwaitWindow(Display* display, const char* title, Window other = 0, int seconds = 10) {
  for (int tries = 0; tries < seconds * 20; ++tries) {
    if (Window window = FindWindow(display, title, other)) return window;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;
}
