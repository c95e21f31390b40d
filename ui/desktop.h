// What the viewer asks of the desktop: message boxes, the yes/no question, the file-open
// dialog and opening an address in the user's browser. Tests replace them (DesktopHooks)
// so that no modal box waits for a click that never comes.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace ui {

constexpr const char* kAppTitle = "Korvane Dunmere";

struct DesktopHooks {
  std::function<void(const QString& text, const QString& caption)> message;
  std::function<bool(const QString& text, const QString& caption)> question;
  std::function<QString()> chooseDatabaseFile;  // empty when the user cancels
  std::function<void(const QUrl&)> openUrl;
  std::function<QString(const QString& suggested)> chooseSaveFile;  // empty when the user cancels
};

// Unset hooks fall back to the real dialogs; SetDesktopHooks({}) restores them all.
void SetDesktopHooks(DesktopHooks hooks);

void ShowMessage(QWidget* parent, const QString& text, const QString& caption = kAppTitle);
bool AskYesNo(QWidget* parent, const QString& text, const QString& caption = kAppTitle);
QString ChooseDatabaseFile(QWidget* parent);
// The save dialog, starting at the suggested file name; empty when the user cancels.
QString ChooseSaveFile(QWidget* parent, const QString& suggested);
void OpenUrl(const QUrl& url);

// Routes the core's messages to message boxes, shown on the GUI thread whichever thread
// reports them (a worker does not wait for the box).
void InstallGuiMessageSink();

// Text of the core (UTF-8) for a widget, and back.
inline QString ToQt(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}
inline std::string FromQt(const QString& text) {
  return text.toUtf8().toStdString();
}

}  // namespace ui
