// CAboutDlg.
#include "ui/about_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "ui/art.h"
#include "ui/desktop.h"

namespace ui {

CAboutDlg::CAboutDlg(QWidget* parent)
    : WhiteDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName("100");
  setWindowTitle("About Us");
  setDialogSize(198, 92);

  auto* icon = new QLabel(this);
  place(icon, 12, 12, 20, 20);
  icon->setPixmap(AppIcon().pixmap(icon->size()));

  auto* version = new QLabel("Korvane Dunmere - v3.3.0.0", this);
  place(version, 44, 14, 146, 10);

  auto* link = new QLabel(QString("<a href=\"%1\">%1</a>").arg(kProjectPage), this);
  link->setObjectName("1101");
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  link->setOpenExternalLinks(false);
  connect(link, &QLabel::linkActivated, this, [](const QString& url) { OpenUrl(QUrl(url)); });
  place(link, 44, 34, 146, 10);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("1");
  ok->setAutoDefault(false);
  place(ok, 74, 66, 50, 14);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace ui
