// GuiCalls: a worker's change runs on the GUI thread while the worker waits; closing releases
// a waiting worker without running its change, so the GUI thread can join it.
#include "ui/gui_calls.h"

#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <thread>

#include "ui/tests/gui_tests.h"

class GuiCallsTest : public QObject {
  Q_OBJECT

 private slots:
  void aCallRunsOnTheGuiThreadWhileTheWorkerWaits() {
    QObject context;
    ui::GuiCalls calls(&context);
    std::atomic<bool> returned{false};
    QThread* ranOn = nullptr;
    std::thread worker([&] {
      calls.call([&] { ranOn = QThread::currentThread(); });
      returned = true;
    });
    // Until this thread runs its event loop the change waits, and so does the worker.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    QVERIFY(!returned.load());
    QTRY_VERIFY(returned.load());
    worker.join();
    QCOMPARE(ranOn, QThread::currentThread());
  }

  void closingReleasesAWaitingWorkerAndDropsItsChange() {
    QObject context;
    ui::GuiCalls calls(&context);
    std::atomic<bool> waiting{false};
    bool ran = false;
    std::thread worker([&] {
      waiting = true;
      calls.call([&] { ran = true; });
    });
    while (!waiting) std::this_thread::yield();
    calls.close();
    worker.join();  // without processing events: the worker no longer waits for them
    QCoreApplication::processEvents();
    QVERIFY(!ran);
    calls.call([&] { ran = true; });  // later calls are dropped too
    calls.post([&] { ran = true; });
    QCoreApplication::processEvents();
    QVERIFY(!ran);
  }
};

GUI_TEST_CLASS(GuiCallsTest);

#include "gui_calls_test.moc"
