// What a system without Windows' window classes and message queue (SDL, a browser page) keeps in
// their place: the one registered class with the program's message handler, and the window's
// messages in arrival order, taken one at a time as PeekMessage takes them.
#pragma once

#include <deque>
#include <string>

#include "platform/platform.h"

namespace platform {

class WindowClass {
 public:
  // One class at a time, with a name and a handler.
  bool add(const char* name, MessageHandler handler) {
    if (!name || !*name || !name_.empty() || !handler) return false;
    name_ = name;
    handler_ = handler;
    return true;
  }
  bool remove(const char* name) {
    if (!named(name)) return false;
    name_.clear();
    return true;
  }
  bool named(const char* name) const { return !name_.empty() && name_ == (name ? name : ""); }
  // Hands the message to the program's handler, as DispatchMessage does.
  void dispatch(WindowHandle window, const Message& message) const {
    if (handler_) handler_(window, message);
  }

 private:
  std::string name_;
  MessageHandler handler_ = nullptr;
};

class MessageQueue {
 public:
  bool empty() const { return queue_.empty(); }
  // The oldest message, removed; false when none waits.
  bool take(Message& message) {
    if (queue_.empty()) return false;
    message = queue_.front();
    queue_.pop_front();
    return true;
  }
  void post(const Message& message) { queue_.push_back(message); }
  // Ahead of everything waiting: what the system's own handling of a message sends at once.
  void postFirst(const Message& message) { queue_.push_front(message); }
  void postQuit(int exitCode) { post(Message{WM_QUIT, uint32_t(exitCode), 0}); }

 private:
  std::deque<Message> queue_;
};

}  // namespace platform
