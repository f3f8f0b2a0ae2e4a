#pragma once
// Shared pieces of the door-access dialog tests: finding a control by name, setting it the way
// a person would, pressing OK or Cancel, watching which dialogs a button opens, and comparing
// bytes against blocks built by hand.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QVariant>
#include <QtTest>

namespace quorvane::test {

using DoorBlock = std::array<std::uint8_t, 424>;

// A block whose every byte differs from its neighbours, so that a stray write shows.
inline DoorBlock patternBlock() {
    DoorBlock b{};
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return b;
}

inline void put(std::span<std::uint8_t> block, std::size_t at, std::vector<std::uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
}

inline QByteArray bytesAt(std::span<const std::uint8_t> block, std::size_t at, std::size_t n) {
    return QByteArray(reinterpret_cast<const char*>(block.data()) + at, static_cast<int>(n));
}

// Every byte outside [at, at + n) is as it was.
inline bool sameOutside(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after,
                        std::size_t at, std::size_t n) {
    for (std::size_t i = 0; i < before.size(); ++i)
        if ((i < at || i >= at + n) && before[i] != after[i])
            return false;
    return true;
}

template <typename W> W* control(QObject* dialog, const QString& name) {
    auto* w = dialog->findChild<W*>(name);
    if (!w)
        qWarning("no control %s", qPrintable(name));
    return w;
}

// Types text key by key, as a person would (the edit's validator sees every key).
inline void typeText(QWidget* edit, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// As a person sets it: a list takes an item index, a box a tick, an edit a text, a time edit
// a time.
inline bool setControl(QObject* dialog, const QString& name, const QVariant& value) {
    QWidget* w = dialog->findChild<QWidget*>(name);
    if (auto* box = qobject_cast<QComboBox*>(w)) {
        if (box->isEditable() && value.typeId() == QMetaType::QString) {
            box->lineEdit()->clear();
            typeText(box->lineEdit(), value.toString());
        } else {
            box->setCurrentIndex(value.toInt());
        }
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        check->setChecked(value.toBool());
    } else if (auto* time = qobject_cast<QTimeEdit*>(w)) {
        time->setTime(value.toTime());
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->clear();
        typeText(edit, value.toString());
    } else {
        qWarning("no control %s", qPrintable(name));
        return false;
    }
    return true;
}

inline void press(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    for (auto* box : dialog->findChildren<QDialogButtonBox*>())
        if (QPushButton* b = box->button(which)) {
            b->click();
            return;
        }
    qWarning("no such button");
}
inline void pressOk(QDialog* dialog) {
    press(dialog, QDialogButtonBox::Ok);
}
inline void pressCancel(QDialog* dialog) {
    press(dialog, QDialogButtonBox::Cancel);
}

// The columns of a data-driven edit: the control, the value set, and the bytes expected at
// offset.
inline void editColumns() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("expected");
}

// Sets one control of dialog D made over bytes, presses OK, and compares: nothing reaches the
// bytes before OK, then only the expected ones change.
template <typename D, typename Block, typename... Args>
void editAndCompare(Block& bytes, Args&&... args) {
    QFETCH(QString, control);
    QFETCH(QVariant, value);
    QFETCH(int, offset);
    QFETCH(QByteArray, expected);
    const std::vector<std::uint8_t> before(bytes.begin(), bytes.end());
    D dlg(bytes, std::forward<Args>(args)...);
    QVERIFY(setControl(&dlg, control, value));
    QVERIFY(std::equal(before.begin(), before.end(), bytes.begin()));
    pressOk(&dlg);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(bytesAt(bytes, static_cast<std::size_t>(offset), expected.size()), expected);
    QVERIFY(sameOutside(before, bytes, static_cast<std::size_t>(offset),
                        static_cast<std::size_t>(expected.size())));
}

// Records every modal dialog other than a message box that opens while it lives, and hands it
// to act, which must close it (by default it is cancelled).
class DialogWatcher {
  public:
    struct Seen {
        QString className;
        QString title;
    };
    explicit DialogWatcher(std::function<void(QDialog*)> act = {}) : act_(std::move(act)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    const std::vector<Seen>& seen() const { return seen_; }

  private:
    void poll() {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || d->inherits("QMessageBox"))
            return;
        seen_.push_back({d->metaObject()->className(), d->windowTitle()});
        if (act_)
            act_(d);
        else
            d->reject();
    }

    QTimer timer_;
    std::function<void(QDialog*)> act_;
    std::vector<Seen> seen_;
};

} // namespace quorvane::test
