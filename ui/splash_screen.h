// CSplashScreen: the borderless start-up picture, centred and on top, hidden by its 2000 ms
// timer or by the first key or mouse press the application sees while it is up.
#pragma once

#include <QTimer>
#include <QWidget>

namespace ui {

class CSplashScreen : public QWidget {
  Q_OBJECT
 public:
  static void ShowSplashScreen(QWidget* parent);
  static void HideSplashScreen();
  // True when the event hid the splash screen (it then goes no further).
  static bool PreTranslateAppMessage(QEvent* event);
  static CSplashScreen* Current();

 private:
  explicit CSplashScreen(QWidget* parent);
  QTimer m_timer;
};

}  // namespace ui
