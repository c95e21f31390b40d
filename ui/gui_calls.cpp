// GuiCalls.
#include "ui/gui_calls.h"

#include <QMetaObject>
#include <QThread>

namespace ui {

GuiCalls::GuiCalls(QObject* context) : state_(std::make_shared<State>()) {
  runner_ = new GuiCallRunner(context, state_);
}

GuiCalls::~GuiCalls() {
  close();
}

void GuiCalls::enqueue(const std::shared_ptr<Pending>& pending) {
  {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->closed) return;
    state_->queue.push_back(pending);
  }
  QMetaObject::invokeMethod(runner_, "runPending", Qt::QueuedConnection);
}

void GuiCalls::call(std::function<void()> change) {
  auto pending = std::make_shared<Pending>();
  pending->change = std::move(change);
  // Already on the GUI thread: waiting for its own event loop would never end.
  if (QThread::currentThread() == runner_->thread()) {
    {
      std::lock_guard<std::mutex> lock(state_->mutex);
      if (state_->closed) return;
    }
    pending->change();
    return;
  }
  pending->waited = true;
  enqueue(pending);
  std::unique_lock<std::mutex> lock(state_->mutex);
  state_->ran.wait(lock, [&] { return pending->finished || state_->closed; });
}

void GuiCalls::post(std::function<void()> change) {
  auto pending = std::make_shared<Pending>();
  pending->change = std::move(change);
  enqueue(pending);
}

void GuiCalls::close() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->closed = true;
  state_->queue.clear();
  state_->ran.notify_all();
}

GuiCallRunner::GuiCallRunner(QObject* parent, std::shared_ptr<GuiCalls::State> state)
    : QObject(parent), state_(std::move(state)) {}

void GuiCallRunner::runPending() {
  for (;;) {
    std::shared_ptr<GuiCalls::Pending> pending;
    {
      std::lock_guard<std::mutex> lock(state_->mutex);
      if (state_->closed || state_->queue.empty()) return;
      pending = state_->queue.front();
      state_->queue.pop_front();
    }
    pending->change();
    std::lock_guard<std::mutex> lock(state_->mutex);
    pending->finished = true;
    if (pending->waited) state_->ran.notify_all();
  }
}

}  // namespace ui
