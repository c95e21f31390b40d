// View on an encrypted file: the password window (masked, OK/Cancel) comes up above the
// progress window, says so after a wrong password and asks again; Cancel ends the analysis
// with the message. The export options of an encrypted file say the exports are unencrypted.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>

#include "ui/export_option_dlg.h"
#include "ui/password_dlg.h"
#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"

using guitest::Control;
using guitest::TheDesktop;

namespace {
constexpr const char* kEncrypted = "This file is encrypted. Enter its password to open it.";
constexpr const char* kWrong = "The password is not correct.";

// What to do each time the password window comes up: type this and press OK, or Cancel.
struct Answer {
  QString typed;
  bool cancel = false;
};

// Answers the password windows as they come up, noting what each said.
class PasswordAnswers {
 public:
  PasswordAnswers(std::deque<Answer> answers, QString screenshot = {})
      : answers_(std::move(answers)), screenshot_(std::move(screenshot)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { answerIfShown(); });
    timer_.start(20);
  }
  QStringList reasons;
  QStringList problems;

 private:
  void answerIfShown() {
    auto* dialog = qobject_cast<ui::CPasswordDlg*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || answers_.empty()) return;
    const Answer answer = answers_.front();
    answers_.pop_front();
    reasons << Control<QLabel>(dialog, "passwordReason")->text();
    if (dialog->m_edtPassword->echoMode() != QLineEdit::Password) problems << "the field shows the password";
    if (!guitest::CutTexts(dialog).isEmpty()) problems << guitest::CutTexts(dialog);
    if (answer.cancel) {
      QTest::mouseClick(dialog->m_btnCancel, Qt::LeftButton);
      return;
    }
    QTest::keyClicks(dialog->m_edtPassword, answer.typed);
    // The window after a wrong password is the one worth a look.
    if (!screenshot_.isEmpty() && reasons.last() == kWrong) guitest::SaveScreenshot(dialog, screenshot_);
    QTest::mouseClick(dialog->m_btnOk, Qt::LeftButton);
  }

  std::deque<Answer> answers_;
  QString screenshot_;
  QTimer timer_;
};
}  // namespace

class PasswordDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { TheDesktop() = {}; }

  void aWrongPasswordIsAskedAgainAndTheRightOneOpensTheFile() {
    SKIP_WITHOUT_CORPUS_QT();
    const QString path = guitest::CorpusFile("encrypted/office-agile-4.4.accdb");
    ui::CTessalyDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    PasswordAnswers answers({{"guess"}, {"password"}}, "password-dialog");
    guitest::BrowseAndView(dlg, path);
    QCOMPARE(answers.reasons, QStringList({kEncrypted, kWrong}));
    QCOMPARE(answers.problems, QStringList());
    QCOMPARE(TheDesktop().messages, QStringList());
    QVERIFY(guitest::TreeText(Control<QTreeWidget>(&dlg, "1001")).join("\n").contains("Table1"));

    // Its exports are written unencrypted, and the options window says so.
    ui::CExportOptionDlg options(&dlg);
    auto* note = Control<QLabel>(&options, "encryptedNote");
    QVERIFY(note);
    QVERIFY(note->text().contains("unencrypted"));
    options.show();
    QVERIFY(QTest::qWaitForWindowExposed(&options));
    QVERIFY(!guitest::CutTexts(&options).contains(note->text()));
    guitest::SaveScreenshot(&options, "export-options-encrypted");
  }

  void cancelEndsTheAnalysisWithTheMessage() {
    SKIP_WITHOUT_CORPUS_QT();
    struct Case {
      std::deque<Answer> answers;
      QString message;
    };
    const Case cases[] = {{{{"", true}}, kEncrypted}, {{{"guess"}, {"", true}}, kWrong}};
    for (const auto& c : cases) {
      TheDesktop() = {};
      ui::CTessalyDlg dlg;
      dlg.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dlg));
      PasswordAnswers answers(c.answers);
      guitest::BrowseAndView(dlg, guitest::CorpusFile("encrypted/db2007-rc4cryptoapi.accdb"));
      QCOMPARE(answers.reasons.size(), static_cast<int>(c.answers.size()));
      QCOMPARE(TheDesktop().messages, QStringList({c.message}));
      QVERIFY(!guitest::TreeText(Control<QTreeWidget>(&dlg, "1001")).join("\n").contains("Table1"));
      ui::CExportOptionDlg options(&dlg);
      QVERIFY(!Control<QLabel>(&options, "encryptedNote"));
    }
  }

  void aPlainFileWithADatabasePasswordAsksNothing() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    PasswordAnswers answers({{"", true}});
    guitest::BrowseAndView(dlg, guitest::CorpusFile("encrypted/V2000_with-password.mdb"));
    QCOMPARE(answers.reasons, QStringList());
    QCOMPARE(TheDesktop().messages, QStringList());
    QVERIFY(guitest::TreeText(Control<QTreeWidget>(&dlg, "1001")).join("\n").contains("Table1"));
  }
};

GUI_TEST_CLASS(PasswordDialogTest);
#include "password_dialog_test.moc"
