// Calls from a worker thread into the GUI thread. A worker that hands a change to a window
// waits until the GUI thread has made it, as the channel's handshakes expect, unless the
// window closes the door first: then waiting calls return at once and later ones are dropped,
// so the GUI thread can join its workers without a deadlock.
#pragma once

#include <QObject>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace ui {

class GuiCalls {
 public:
  // context: the object whose thread runs the calls (and whose deletion drops them).
  explicit GuiCalls(QObject* context);
  ~GuiCalls();

  // On a worker thread: runs change on the GUI thread and waits for it (or for close()).
  void call(std::function<void()> change);
  // On a worker thread: runs change on the GUI thread later, without waiting.
  void post(std::function<void()> change);
  // On the GUI thread: releases every waiting call; later calls are dropped.
  void close();

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable ran;
    bool closed = false;
  };
  QObject* context_;
  std::shared_ptr<State> state_;
};

}  // namespace ui
