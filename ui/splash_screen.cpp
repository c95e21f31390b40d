// CSplashScreen, and the application-wide filter that hides it at the first key or click.
#include "ui/splash_screen.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QScreen>

#include "ui/art.h"
#include "ui/dialog_units.h"

namespace ui {

namespace {
constexpr int kSplashMilliseconds = 2000;
CSplashScreen* g_pSplash = nullptr;

class SplashFilter : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override { return CSplashScreen::PreTranslateAppMessage(event); }
};
SplashFilter* g_pFilter = nullptr;
}  // namespace

CSplashScreen::CSplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("159");
  const DialogUnits units(DialogFont());
  setFixedSize(units.size(231, 111));
  auto* picture = new QLabel(this);
  picture->setGeometry(rect());
  picture->setPixmap(ArtPixmap("splash", size()));
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->geometry().center() - rect().center());
  m_timer.setSingleShot(true);
  connect(&m_timer, &QTimer::timeout, this, [] { HideSplashScreen(); });
}

CSplashScreen* CSplashScreen::Current() {
  return g_pSplash;
}

void CSplashScreen::ShowSplashScreen(QWidget* parent) {
  if (g_pSplash) return;
  g_pSplash = new CSplashScreen(parent);
  g_pSplash->show();
  g_pSplash->repaint();
  g_pSplash->m_timer.start(kSplashMilliseconds);
  if (!g_pFilter) {
    g_pFilter = new SplashFilter;
    qApp->installEventFilter(g_pFilter);
  }
}

void CSplashScreen::HideSplashScreen() {
  if (!g_pSplash) return;
  CSplashScreen* splash = g_pSplash;
  g_pSplash = nullptr;
  splash->m_timer.stop();
  splash->hide();
  splash->deleteLater();
  if (g_pFilter) {
    // The filter may be the caller (a key or click hid the picture): it goes once it returns.
    qApp->removeEventFilter(g_pFilter);
    g_pFilter->deleteLater();
    g_pFilter = nullptr;
  }
  if (QWidget* window = QApplication::activeWindow()) window->repaint();
}

bool CSplashScreen::PreTranslateAppMessage(QEvent* event) {
  if (!g_pSplash) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress: HideSplashScreen(); return true;
    default: return false;
  }
}

}  // namespace ui
