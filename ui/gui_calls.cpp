// GuiCalls.
#include "ui/gui_calls.h"

#include <QMetaObject>
#include <QThread>

namespace ui {

GuiCalls::GuiCalls(QObject* context) : context_(context), state_(std::make_shared<State>()) {}

GuiCalls::~GuiCalls() { close(); }

void GuiCalls::call(std::function<void()> change) {
  std::shared_ptr<State> state = state_;
  {
    std::lock_guard<std::mutex> lock(state->mutex);
    if (state->closed) return;
  }
  // Already on the GUI thread: waiting for its own event loop would never end.
  if (QThread::currentThread() == context_->thread()) {
    change();
    return;
  }
  auto finished = std::make_shared<bool>(false);
  QMetaObject::invokeMethod(
      context_,
      [state, finished, change = std::move(change)] {
        bool closed;
        {
          std::lock_guard<std::mutex> lock(state->mutex);
          closed = state->closed;
        }
        if (!closed) change();
        std::lock_guard<std::mutex> lock(state->mutex);
        *finished = true;
        state->ran.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock<std::mutex> lock(state->mutex);
  state->ran.wait(lock, [&] { return *finished || state->closed; });
}

void GuiCalls::post(std::function<void()> change) {
  std::shared_ptr<State> state = state_;
  QMetaObject::invokeMethod(
      context_,
      [state, change = std::move(change)] {
        {
          std::lock_guard<std::mutex> lock(state->mutex);
          if (state->closed) return;
        }
        change();
      },
      Qt::QueuedConnection);
}

void GuiCalls::close() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->closed = true;
  state_->ran.notify_all();
}

}  // namespace ui
