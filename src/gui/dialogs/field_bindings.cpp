#include "dialogs/field_bindings.h"

#include <cstdint>
#include <limits>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimeEdit>
#include <QValidator>

#include "dialogs/section_typing.h"
#include "infra/codepage.h"

namespace quorvane::gui {
namespace {

constexpr const char* kTimeFormat = "HH:mm:ss";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// Refuses text whose GBK form is longer than the field, so that nothing is cut off unseen.
class GbkLengthValidator : public QValidator {
  public:
    GbkLengthValidator(std::size_t maxBytes, QObject* parent)
        : QValidator(parent), maxBytes_(maxBytes) {}
    State validate(QString& input, int&) const override {
        return gbkLength(input.toStdString()) <= maxBytes_ ? Acceptable : Invalid;
    }

  private:
    std::size_t maxBytes_;
};

QString rangeMessage(const QString& caption, long long low, long long high) {
    QString name = caption;
    if (name.endsWith(QString::fromUtf8("：")))
        name.chop(1);
    return QString::fromUtf8("%1：请输入%2到%3之间的整数！").arg(name).arg(low).arg(high);
}

} // namespace

ChoiceMap choicesFrom(int first) {
    return {[first](std::uint32_t v) { return static_cast<int>(v) - first; },
            [first](int item) { return static_cast<std::uint32_t>(item + first); }};
}

void FieldBindings::number(QLineEdit* edit, const ConfigField& field, int index,
                           const QString& caption) {
    const bool isSigned = field.shown == Shown::Signed;
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(isSigned ? "-?[0-9]{0,10}" : "[0-9]{0,10}"), edit));
    const QString name = caption.isEmpty() ? q(std::string(field.caption)) : caption;
    const long long low = isSigned ? std::numeric_limits<std::int32_t>::min() : 0;
    const long long high = isSigned ? std::numeric_limits<std::int32_t>::max()
                                    : static_cast<long long>(fieldMax(field)) * field.scale;
    add([this, edit, &field, index] { edit->setText(q(readText(field, bytes_, index))); },
        [edit] { return edit->text(); },
        [this, edit, &field, index, name, low, high]() -> std::optional<QString> {
            if (writeText(field, bytes_, index, edit->text().trimmed().toStdString()))
                return std::nullopt;
            return rangeMessage(name, low, high);
        },
        edit);
}

void FieldBindings::choice(QComboBox* box, const ConfigField& field, int index, ChoiceMap map) {
    if (!map.toItem)
        map = choicesFrom(0);
    add(
        [this, box, &field, index, map] {
            int item = map.toItem(readNumber(field, bytes_, index));
            box->setCurrentIndex(item >= 0 && item < box->count() ? item : -1);
        },
        [box] { return QString::number(box->currentIndex()); },
        [this, box, &field, index, map]() -> std::optional<QString> {
            if (box->currentIndex() >= 0 &&
                !writeNumber(field, bytes_, index, map.toValue(box->currentIndex())))
                return QString::fromUtf8("%1：选择的值无效！").arg(q(std::string(field.caption)));
            return std::nullopt;
        },
        box);
}

void FieldBindings::flag(QCheckBox* box, const ConfigField& field, int index) {
    add([this, box, &field, index] { box->setChecked(readNumber(field, bytes_, index) != 0); },
        [box] { return QString::number(box->isChecked()); },
        [this, box, &field, index]() -> std::optional<QString> {
            writeNumber(field, bytes_, index, box->isChecked() ? 1 : 0);
            return std::nullopt;
        },
        box);
}

void FieldBindings::time(QTimeEdit* edit, const ConfigField& field, int index) {
    edit->setDisplayFormat(kTimeFormat);
    selectSectionOnClick(edit);
    add(
        [this, edit, &field, index] {
            QTime t = QTime::fromString(q(readText(field, bytes_, index)), kTimeFormat);
            edit->setTime(t.isValid() ? t : QTime(0, 0));
        },
        [edit] { return edit->time().toString(kTimeFormat); },
        [this, edit, &field, index]() -> std::optional<QString> {
            if (writeText(field, bytes_, index, edit->time().toString(kTimeFormat).toStdString()))
                return std::nullopt;
            return QString::fromUtf8("%1：时间无效！").arg(q(std::string(field.caption)));
        },
        edit);
}

void FieldBindings::text(QLineEdit* edit, const ConfigField& field, int index) {
    edit->setValidator(new GbkLengthValidator(field.width, edit));
    add([this, edit, &field, index] { edit->setText(q(readText(field, bytes_, index))); },
        [edit] { return edit->text(); },
        [this, edit, &field, index]() -> std::optional<QString> {
            if (writeText(field, bytes_, index, edit->text().toStdString()))
                return std::nullopt;
            return QString::fromUtf8("%1：最多%2个字节！")
                .arg(q(std::string(field.caption)))
                .arg(field.width);
        },
        edit);
}

void FieldBindings::weekdays(const std::array<QCheckBox*, 7>& days, const ConfigField& field,
                             int index) {
    auto mask = [days] {
        std::uint32_t v = 0;
        for (int bit = 0; bit < 7; ++bit)
            if (days[static_cast<std::size_t>(bit)]->isChecked())
                v |= 1u << bit;
        return v;
    };
    add(
        [this, days, &field, index] {
            std::uint32_t v = readNumber(field, bytes_, index);
            for (int bit = 0; bit < 7; ++bit)
                days[static_cast<std::size_t>(bit)]->setChecked((v >> bit) & 1);
        },
        [mask] { return QString::number(mask()); },
        [this, mask, &field, index]() -> std::optional<QString> {
            writeNumber(field, bytes_, index, mask());
            return std::nullopt;
        },
        days[0]);
}

void FieldBindings::shown(QLineEdit* edit, std::function<QString(Bytes)> text) {
    edit->setReadOnly(true);
    add([this, edit, text = std::move(text)] { edit->setText(text(bytes_)); },
        [] { return QString(); }, [] { return std::optional<QString>(); }, edit);
}

void FieldBindings::load() {
    for (Binding& b : bindings_) {
        b.load();
        b.loaded = b.state();
    }
}

std::optional<BindingProblem> FieldBindings::store() {
    for (Binding& b : bindings_) {
        if (b.state() == b.loaded)
            continue;
        if (auto message = b.store())
            return BindingProblem{b.widget, *message};
    }
    return std::nullopt;
}

} // namespace quorvane::gui
