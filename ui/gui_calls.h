// Calls from a worker thread into the GUI thread. A worker that hands a change to a window
// waits until the GUI thread has made it, as the channel's handshakes expect, unless the
// window closes the door first: then waiting calls return at once and later ones are dropped,
// so the GUI thread can join its workers without a deadlock.
//
// The changes travel through a queue of our own under a std::mutex; Qt only wakes the GUI
// thread (a queued call without data), so every hand-over is visible to ThreadSanitizer.
#pragma once

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace ui {

class GuiCalls {
 public:
  // context: an object of the GUI thread that outlives every worker using these calls.
  explicit GuiCalls(QObject* context);
  ~GuiCalls();
  GuiCalls(const GuiCalls&) = delete;
  GuiCalls& operator=(const GuiCalls&) = delete;

  // On a worker thread: runs change on the GUI thread and waits for it (or for close()).
  void call(std::function<void()> change);
  // On a worker thread: runs change on the GUI thread later, without waiting.
  void post(std::function<void()> change);
  // On the GUI thread: releases every waiting call; later calls are dropped.
  void close();

  struct Pending {
    std::function<void()> change;
    bool waited = false;  // call(): the worker waits for finished
    bool finished = false;
  };
  struct State {
    std::mutex mutex;
    std::condition_variable ran;
    bool closed = false;
    std::deque<std::shared_ptr<Pending>> queue;
  };

 private:
  void enqueue(const std::shared_ptr<Pending>& pending);

  QObject* runner_;
  std::shared_ptr<State> state_;
};

// Runs the queued changes on its thread (the GUI thread).
class GuiCallRunner : public QObject {
  Q_OBJECT
 public:
  GuiCallRunner(QObject* parent, std::shared_ptr<GuiCalls::State> state);
  Q_INVOKABLE void runPending();

 private:
  std::shared_ptr<GuiCalls::State> state_;
};

}  // namespace ui
