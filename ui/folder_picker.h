// The system folder picker behind a hook, so tests answer it without a modal dialog.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ui {

// What the picker gave back. A pick of a place without a file-system path (a network or
// "computer" location) is picked with an empty path; a cancelled picker is not picked.
struct FolderPick {
  bool picked = false;
  QString path;
};

using FolderPicker = std::function<FolderPick(QWidget* parent, const QString& title, const QString& start)>;

// An unset picker falls back to Qt's directory dialog.
void SetFolderPicker(FolderPicker picker);
FolderPick PickFolder(QWidget* parent, const QString& title, const QString& start);

}  // namespace ui
