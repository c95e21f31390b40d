// Desktop services and their test hooks.
#include "ui/desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>

#include "platform/message_sink.h"
#include "ui/gui_calls.h"

namespace ui {

namespace {
DesktopHooks& hooks() {
  static DesktopHooks instance;
  return instance;
}

class GuiMessageSink : public platform::MessageSink {
 public:
  void showMessage(const std::string& text, const std::string& caption) override {
    const QString qtText = ToQt(text);
    const QString qtCaption = caption.empty() ? QString(kAppTitle) : ToQt(caption);
    auto show = [qtText, qtCaption] { ShowMessage(QApplication::activeWindow(), qtText, qtCaption); };
    if (QThread::currentThread() == qApp->thread())
      show();
    else
      calls_.post(show);
  }

 private:
  GuiCalls calls_{qApp};
};
}  // namespace

void SetDesktopHooks(DesktopHooks replacement) {
  hooks() = std::move(replacement);
}

void ShowMessage(QWidget* parent, const QString& text, const QString& caption) {
  if (hooks().message) return hooks().message(text, caption);
  QMessageBox::information(parent, caption, text);
}

bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
  if (hooks().question) return hooks().question(text, caption);
  return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

QString ChooseDatabaseFile(QWidget* parent) {
  if (hooks().chooseDatabaseFile) return hooks().chooseDatabaseFile();
  return QFileDialog::getOpenFileName(parent, QString(), QString(), "Microsoft Access Database Files (*.mdb *.accdb)");
}

QString ChooseSaveFile(QWidget* parent, const QString& suggested) {
  if (hooks().chooseSaveFile) return hooks().chooseSaveFile(suggested);
  const QString suffix = QFileInfo(suggested).suffix();
  const QString filter =
      suffix.isEmpty() ? QString("All files (*)") : QString("*.%1 (*.%1);;All files (*)").arg(suffix);
  return QFileDialog::getSaveFileName(parent, "Save object as", suggested, filter);
}

void OpenUrl(const QUrl& url) {
  if (hooks().openUrl) return hooks().openUrl(url);
  QDesktopServices::openUrl(url);
}

void InstallGuiMessageSink() {
  static GuiMessageSink sink;
  platform::InstallMessageSink(&sink);
}

}  // namespace ui
