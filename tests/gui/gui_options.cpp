// The options editor over a schema with every value type: what each row shows and accepts,
// and that saving writes back only the rows that changed.
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "dialogs/dlg_option_ini.h"
#include "dialogs/option_editors.h"
#include "gui_test_support.h"
#include "infra/settings.h"
#include "recording_user_port.h"

using namespace quorvane;
using namespace quorvane::gui;
using namespace quorvane::test;

namespace {

const char* kSchema =
    "[common]\nfiles=.\\config.ini\n"
    "[.\\config.ini]\nsections=net;common\n"
    "[.\\config.ini$net]\nkeys=enable-mcast;search-on-start;pipe-name;mcast-address\n"
    "[.\\config.ini$net$enable-mcast]\nname=网络组播\ndesc=是否使用组播搜索\noption={1:开,0:关}\n"
    "[.\\config.ini$net$search-on-start]\nname=启动后搜索\noption=integer:5,100\n"
    "[.\\config.ini$net$pipe-name]\nname=管道名称\noption=limit:8\n"
    "[.\\config.ini$net$mcast-address]\nname=组播地址\n"
    "[.\\config.ini$common]\nkeys=title;logo;data-dir;back-color;face;mode\n"
    "[.\\config.ini$common$title]\nname=窗口标题\noption=text\n"
    "[.\\config.ini$common$logo]\nname=图标\noption=file:*.ico\n"
    "[.\\config.ini$common$data-dir]\nname=数据目录\noption=dir:\n"
    "[.\\config.ini$common$back-color]\nname=背景色\noption=color\n"
    "[.\\config.ini$common$face]\nname=字体\noption=font\n"
    "[.\\config.ini$common$mode]\noption={0:甲,1:乙}\n";

// Spaces around "=" and a comment: an unchanged row must leave its line exactly as it is.
const char* kConfig = "; site\n[net]\nenable-mcast=1\nsearch-on-start = 20\npipe-name=kelmorhub\n"
                      "mcast-address=224.10.0.0\n[common]\ntitle=门禁\nmode=7\nback-color=255\n";

struct Editor {
    explicit Editor(const std::string& home) : settings(home), dlg(settings, port) {}
    template <typename W> W* find(const char* section, const char* key) {
        QWidget* e = dlg.editorFor(section, key);
        if (!e)
            return nullptr;
        if (auto* w = qobject_cast<W*>(e))
            return w;
        return e->findChild<W*>();
    }
    Settings settings;
    RecordingUserPort port;
    CDlgOptionINI dlg;
};

std::string home() {
    std::string dir = scratchDir("options");
    writeFile(dir + "/options.ini", toGbk(kSchema));
    writeFile(dir + "/config.ini", toGbk(kConfig));
    return dir;
}

} // namespace

class GuiOptions : public QObject {
    Q_OBJECT
  private slots:
    void eachValueTypeGetsItsEditor() {
        Editor e(home());
        auto* grid = e.dlg.findChild<QTreeWidget*>("grid");
        QCOMPARE(grid->headerItem()->text(0), QString("Property"));
        QCOMPARE(grid->headerItem()->text(1), QString("Value"));
        QCOMPARE(grid->topLevelItemCount(), 2);
        QCOMPARE(grid->topLevelItem(0)->text(0), QString("net"));
        QCOMPARE(grid->topLevelItem(0)->child(0)->text(0), QString::fromUtf8("网络组播"));
        QCOMPARE(grid->topLevelItem(1)->child(5)->text(0), QString("mode")); // no name: the key

        auto* mcast = e.find<QComboBox>("net", "enable-mcast");
        QVERIFY(mcast);
        QCOMPARE(mcast->currentText(), QString::fromUtf8("开"));
        QCOMPARE(mcast->count(), 2);
        QCOMPARE(e.find<QComboBox>("common", "mode")->currentText(), QString()); // 7 not listed

        auto* number = e.find<QLineEdit>("net", "search-on-start");
        QVERIFY(number);
        number->clear();
        QTest::keyClicks(number, "1a2-.x");
        QCOMPARE(number->text(), QString("12-."));
        number->setText("99");
        e.dlg.editorFor("net", "search-on-start")->findChild<QToolButton*>("up")->click();
        e.dlg.editorFor("net", "search-on-start")->findChild<QToolButton*>("up")->click();
        QCOMPARE(number->text(), QString("100")); // the spin stops at the maximum
        number->setText("6");
        e.dlg.editorFor("net", "search-on-start")->findChild<QToolButton*>("down")->click();
        e.dlg.editorFor("net", "search-on-start")->findChild<QToolButton*>("down")->click();
        QCOMPARE(number->text(), QString("5"));

        QCOMPARE(e.find<QLineEdit>("net", "pipe-name")->maxLength(), 8);
        QVERIFY(e.dlg.editorFor("common", "logo")->findChild<QToolButton*>("browse"));
        QVERIFY(e.dlg.editorFor("common", "data-dir")->findChild<QToolButton*>("browse"));
        QCOMPARE(e.dlg.editorFor("common", "back-color")->findChild<QToolButton*>("other")->text(),
                 QString::fromUtf8("其他..."));
        auto* face = qobject_cast<QFontComboBox*>(e.dlg.editorFor("common", "face"));
        QVERIFY(face);
        QCOMPARE(face->currentText(), QString::fromUtf8("宋体"));
        QVERIFY(e.find<QLineEdit>("common", "title"));
        QCOMPARE(colorValueText(1, 2, 3), QString("197121")); // red in the low byte
    }

    void savingWritesOnlyChangedRows() {
        std::string dir = home();
        Editor e(dir);
        e.find<QComboBox>("net", "enable-mcast")->setCurrentIndex(1); // 关
        auto* title = e.find<QLineEdit>("common", "title");
        title->clear();
        QTest::keyClicks(title, "NewTitle");
        e.dlg.save();
        QCOMPARE(e.port.messages(), std::vector<std::string>{"操作成功！"});
        QCOMPARE(e.dlg.result(), int(QDialog::Accepted));
        std::string written = fromGbk(readFile(dir + "/config.ini"));
        QCOMPARE(written, std::string("; site\n[net]\nenable-mcast=0\nsearch-on-start = 20\n"
                                      "pipe-name=kelmorhub\nmcast-address=224.10.0.0\n[common]\n"
                                      "title=NewTitle\nmode=7\nback-color=255\n"));
    }

    void unknownEnumerationLabelStoresTheInvalidMarker() {
        std::string dir = home();
        Editor e(dir);
        e.find<QComboBox>("common", "mode")->setEditText(QString::fromUtf8("丙"));
        e.dlg.save();
        QCOMPARE(Settings(dir).readString("common", "mode"),
                 std::string("999999-INVALID_OPTION_KEY"));
    }

    void spinStaysInsideReversedBoundsAndTheNumberType() {
        std::string dir = scratchDir("options-spin");
        writeFile(dir + "/options.ini",
                  toGbk("[common]\nfiles=.\\config.ini\n[.\\config.ini]\nsections=net\n"
                        "[.\\config.ini$net]\nkeys=open;reversed\n"
                        "[.\\config.ini$net$open]\noption=integer:\n"
                        "[.\\config.ini$net$reversed]\noption=integer:100,5\n"));
        writeFile(dir + "/config.ini", "[net]\nopen=9223372036854775807\nreversed=100\n");
        Editor e(dir);
        auto spin = [&](const char* key, const char* button) {
            e.dlg.editorFor("net", key)->findChild<QToolButton*>(button)->click();
            return e.find<QLineEdit>("net", key)->text();
        };
        QCOMPARE(spin("open", "up"), QString("9223372036854775807"));
        QCOMPARE(spin("open", "down"), QString("9223372036854775806"));
        QCOMPARE(spin("reversed", "up"), QString("100"));
        QCOMPARE(spin("reversed", "down"), QString("99"));
        e.find<QLineEdit>("net", "reversed")->setText("5");
        QCOMPARE(spin("reversed", "down"), QString("5"));
    }

    void numberOutsideItsRowIsRefusedAndNothingWritten_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("message");
        QTest::newRow("above the range")
            << "8000"
            << "500"
            << "“启动后搜索”的值必须是5 到 100 之间的整数，“500”不是。";
        QTest::newRow("below the range") << "8000"
                                         << "4"
                                         << "“启动后搜索”的值必须是5 到 100 之间的整数，“4”不是。";
        QTest::newRow("port too large") << "99999"
                                        << "20"
                                        << "“端口”的值必须是1 到 65535 之间的整数，“99999”不是。";
        QTest::newRow("fraction") << "1.5"
                                  << "20"
                                  << "“端口”的值必须是1 到 65535 之间的整数，“1.5”不是。";
        QTest::newRow("empty") << ""
                               << "20"
                               << "“端口”的值必须是1 到 65535 之间的整数，“”不是。";
        QTest::newRow("a lone sign") << "8000"
                                     << "-"
                                     << "“启动后搜索”的值必须是5 到 100 之间的整数，“-”不是。";
    }
    void numberOutsideItsRowIsRefusedAndNothingWritten() {
        QFETCH(QString, port);
        QFETCH(QString, count);
        QFETCH(QString, message);
        std::string dir = scratchDir("options-range");
        writeFile(dir + "/options.ini",
                  toGbk("[common]\nfiles=.\\config.ini\n[.\\config.ini]\nsections=net\n"
                        "[.\\config.ini$net]\nkeys=search-on-start;port\n"
                        "[.\\config.ini$net$search-on-start]\nname=启动后搜索\n"
                        "option=integer:5,100\n"
                        "[.\\config.ini$net$port]\nname=端口\noption=integer:1,65535\n"));
        writeFile(dir + "/config.ini", "[net]\nsearch-on-start=20\nport=8000\n");
        const std::string before = readFile(dir + "/config.ini");
        Editor e(dir);
        auto* countEdit = e.find<QLineEdit>("net", "search-on-start");
        QVERIFY(countEdit);
        countEdit->setText(count);
        emit countEdit->textEdited(count);
        auto* portEdit = e.find<QLineEdit>("net", "port");
        QVERIFY(portEdit);
        portEdit->setText(port);
        emit portEdit->textEdited(port);
        e.dlg.save();
        QCOMPARE(e.port.messages(),
                 std::vector<std::string>{
                     (message + QString::fromUtf8("没有保存任何修改。")).toStdString()});
        QCOMPARE(readFile(dir + "/config.ini"), before);
        QVERIFY(e.dlg.result() != QDialog::Accepted);
    }

    void numberInsideItsRangeIsSaved() {
        std::string dir = home();
        Editor e(dir);
        auto* count = e.find<QLineEdit>("net", "search-on-start");
        QTest::keyClick(count, Qt::Key_End);
        QTest::keyClick(count, Qt::Key_Backspace);
        QTest::keyClicks(count, "5"); // 25
        e.dlg.save();
        QCOMPARE(e.port.messages(), std::vector<std::string>{"操作成功！"});
        QCOMPARE(Settings(dir).readString("net", "search-on-start"), std::string("25"));
    }

    void colourDialogOverARedSwatchIsStyledAsAnyOther() {
        std::string dir = home(); // back-color=255: red
        Editor e(dir);
        e.dlg.show();
        double redShare = 1;
        QString sheet = "unset";
        onNextDialog<QColorDialog>([&](QColorDialog* d) {
            sheet = d->styleSheet();
            QImage shot = d->grab().toImage();
            long red = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    red += shot.pixelColor(x, y) == QColor(255, 0, 0);
            redShare = double(red) / (shot.width() * shot.height());
            d->reject();
        });
        e.dlg.editorFor("common", "back-color")->findChild<QToolButton*>("swatch")->click();
        QVERIFY(sheet.isEmpty());
        // Only the preview of the chosen colour is red, not the dialog.
        QVERIFY2(redShare < 0.1, qPrintable(QString::number(redShare)));
    }

    void nothingChangedWritesNothing() {
        std::string dir = home();
        Editor e(dir);
        e.dlg.save();
        QCOMPARE(readFile(dir + "/config.ini"), toGbk(kConfig));
        QCOMPARE(e.port.messages(), std::vector<std::string>{"操作成功！"});
    }
};

QTEST_MAIN(GuiOptions)
#include "gui_options.moc"
