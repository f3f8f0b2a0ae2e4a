// The start-up password gate and the change of the start password.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "dialogs/dlg_password.h"
#include "gui_test_support.h"
#include "infra/settings.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

// Types into the next password box; cancel instead when password is null.
void answerPassword(const char* password, bool remember = false) {
    onNextDialog<CDlgPassword>([password, remember](CDlgPassword* d) {
        if (!password) {
            d->reject();
            return;
        }
        d->findChild<QLineEdit*>("password")->setText(QString::fromUtf8(password));
        d->findChild<QCheckBox*>("remember")->setChecked(remember);
        d->accept();
    });
}

} // namespace

class GuiStartGate : public QObject {
    Q_OBJECT
  private slots:
    void dialogCarriesItsTexts() {
        CDlgPassword d(nullptr, QString::fromUtf8("请输入保护密码："), true);
        QCOMPARE(d.windowTitle(), QString::fromUtf8("请输入密码（默认密码为720418）"));
        QCOMPARE(d.findChild<QCheckBox*>("remember")->text(), QString::fromUtf8("记住并不再提示"));
        bool prompt = false;
        for (auto* l : d.findChildren<QLabel*>())
            prompt = prompt || l->text() == QString::fromUtf8("请输入保护密码：");
        QVERIFY(prompt);
        QCOMPARE(d.findChild<QLineEdit*>("password")->echoMode(), QLineEdit::Password);
    }

    void rememberedMarkerPassesWithoutAsking() {
        Settings s(makeGuiHome("gate-remembered"));
        // No dialog is answered: a prompt would block this test.
        QVERIFY(runStartGate(nullptr, s));
    }

    void rightPasswordWithRememberStoresTheMarker() {
        Settings s(makeGuiHome("gate-remember", {}, false));
        answerPassword("720418", true);
        QVERIFY(runStartGate(nullptr, s));
        // The marker of the shipped password's digest, worked out by hand.
        QCOMPARE(s.readString("db", "xstr-rem", "", 1024),
                 std::string("b115ab8c9b41118ce5f58dce7ffecb9a"));
        QVERIFY(runStartGate(nullptr, s)); // the next start does not ask
    }

    void rightPasswordWithoutRememberClearsTheMarker() {
        Settings s(makeGuiHome("gate-no-remember", "", false));
        s.writeString("db", "xstr-rem", "stale");
        answerPassword("720418", false);
        QVERIFY(runStartGate(nullptr, s));
        QCOMPARE(s.readString("db", "xstr-rem", "x", 1024), std::string());
    }

    void wrongPasswordOrCancelEndsTheProgramAndKeepsTheMarker() {
        Settings s(makeGuiHome("gate-wrong", "", false));
        s.writeString("db", "xstr-rem", "stale");
        answerPassword("123456", true);
        QVERIFY(!runStartGate(nullptr, s));
        QCOMPARE(s.readString("db", "xstr-rem", "", 1024), std::string("stale"));
        answerPassword(nullptr);
        QVERIFY(!runStartGate(nullptr, s));
    }

    void changePasswordTwiceStoresTheNewDigestAndStalesTheMarker() {
        Settings s(makeGuiHome("gate-change"));
        // The second prompt comes after the first closes.
        onNextDialog<CDlgPassword>([](CDlgPassword* first) {
            first->findChild<QLineEdit*>("password")->setText(QString::fromUtf8("新密码1"));
            QVERIFY(!first->findChild<QCheckBox*>("remember")->isVisible());
            first->accept();
            answerPassword("新密码1");
        });
        auto message = askNewStartPassword(nullptr, s);
        QVERIFY(message.has_value());
        QCOMPARE(*message, std::string("操作成功！"));
        QVERIFY(!startGateRemembered(s)); // the old marker no longer matches
        answerPassword("新密码1");
        QVERIFY(runStartGate(nullptr, s));
    }

    void changePasswordMismatchOrCancelChangesNothing() {
        Settings s(makeGuiHome("gate-mismatch"));
        const std::string before = s.readString("db", "xstr", "", 1024);
        onNextDialog<CDlgPassword>([](CDlgPassword* first) {
            first->findChild<QLineEdit*>("password")->setText("abc");
            first->accept();
            answerPassword("abd");
        });
        auto message = askNewStartPassword(nullptr, s);
        QVERIFY(message.has_value());
        QCOMPARE(*message, std::string("两次输入的密码不一致！"));
        QCOMPARE(s.readString("db", "xstr", "", 1024), before);

        onNextDialog<CDlgPassword>([](CDlgPassword* first) {
            first->findChild<QLineEdit*>("password")->setText("abc");
            first->accept();
            answerPassword(nullptr);
        });
        QVERIFY(!askNewStartPassword(nullptr, s).has_value());
        QCOMPARE(s.readString("db", "xstr", "", 1024), before);
    }
};

QTEST_MAIN(GuiStartGate)
#include "gui_start_gate.moc"
