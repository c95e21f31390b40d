// Ways into a file besides Browse: the command line, a file dropped on the main window and the
// recent-files menu; and the window's size and splitter kept between runs. The list of recent
// files and the window state live in the user's settings (QSettings).
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QTimer>

#include "ui/tessaly_dlg.h"

namespace ui {

namespace {
constexpr int kMaxRecentFiles = 6;
constexpr const char* kRecentKey = "recentFiles";
constexpr const char* kGeometryKey = "mainWindow/geometry";
constexpr const char* kSplitterKey = "mainWindow/splitter";

// The one local file among the dropped addresses, or empty.
QString droppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  return url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile() ? url.toLocalFile() : QString();
}
}  // namespace

bool CTessalyDlg::OpenFile(const QString& path) {
  if (refuseWhileBusy()) return false;
  ChooseFile(QFileInfo(path).absoluteFilePath());
  OnView();
  return true;
}

void CTessalyDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (!droppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CTessalyDlg::dropEvent(QDropEvent* event) {
  const QString path = droppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // The analysis runs in a modal window: it starts once the drop has been answered.
  QTimer::singleShot(0, this, [this, path] { OpenFile(path); });
}

QStringList CTessalyDlg::RecentFiles() const {
  return QSettings().value(kRecentKey).toStringList();
}

void CTessalyDlg::RememberRecentFile(const QString& path) {
  QStringList files = RecentFiles();
  files.removeAll(path);
  files.prepend(path);
  while (files.size() > kMaxRecentFiles) files.removeLast();
  QSettings().setValue(kRecentKey, files);
  FillRecentMenu();
}

void CTessalyDlg::FillRecentMenu() {
  m_recentMenu->clear();
  const QStringList files = RecentFiles();
  for (int i = 0; i < files.size(); ++i) {
    const QString path = files[i];
    QAction* action = m_recentMenu->addAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()), this,
                                              [this, path] { OpenFile(path); });
    action->setToolTip(path);
    action->setStatusTip(path);
  }
  m_recentMenu->setEnabled(!files.isEmpty());
}

void CTessalyDlg::SaveWindowState() {
  QSettings settings;
  settings.setValue(kGeometryKey, saveGeometry());
  settings.setValue(kSplitterKey, m_splitter->saveState());
}

void CTessalyDlg::RestoreWindowState() {
  QSettings settings;
  restoreGeometry(settings.value(kGeometryKey).toByteArray());
  m_splitter->restoreState(settings.value(kSplitterKey).toByteArray());
  FillRecentMenu();
}

}  // namespace ui
