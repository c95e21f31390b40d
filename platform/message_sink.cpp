// Process-wide message sink with a stderr default.
#include "platform/message_sink.h"

#include <atomic>
#include <cstdio>

namespace platform {

namespace {
class StderrSink : public MessageSink {
 public:
  void showMessage(const std::string& text, const std::string& caption) override {
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
  }
};

StderrSink g_stderrSink;
std::atomic<MessageSink*> g_sink{nullptr};
}  // namespace

void InstallMessageSink(MessageSink* sink) { g_sink.store(sink); }

void ShowMessageBox(const std::string& text, const std::string& caption) {
  MessageSink* sink = g_sink.load();
  (sink ? sink : &g_stderrSink)->showMessage(text, caption);
}

}  // namespace platform
