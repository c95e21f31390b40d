// The folder picker: Qt's directory dialog, folders only.
#include "ui/folder_picker.h"

#include <QFileDialog>
#include <QUrl>

namespace ui {

namespace {
FolderPicker& picker() {
  static FolderPicker instance;
  return instance;
}
}  // namespace

void SetFolderPicker(FolderPicker replacement) {
  picker() = std::move(replacement);
}

FolderPick PickFolder(QWidget* parent, const QString& title, const QString& start) {
  if (picker()) return picker()(parent, title, start);
  // Asked for a URL, the dialog also returns places that are no folder on disk; those come back
  // picked with an empty path.
  const QUrl url =
      QFileDialog::getExistingDirectoryUrl(parent, title, QUrl::fromLocalFile(start), QFileDialog::ShowDirsOnly);
  if (url.isEmpty()) return {};
  return {true, url.isLocalFile() ? url.toLocalFile() : QString()};
}

}  // namespace ui
