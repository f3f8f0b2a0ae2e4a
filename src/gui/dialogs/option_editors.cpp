#include "dialogs/option_editors.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include <QColor>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QWidget>

namespace quorvane::gui {
namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QWidget* box(std::initializer_list<QWidget*> parts) {
    auto* w = new QWidget;
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(1);
    for (QWidget* p : parts)
        h->addWidget(p);
    return w;
}

QLineEdit* textEdit(const QString& value, const EditSink& onEdit) {
    auto* e = new QLineEdit(value);
    e->setObjectName("text");
    e->setFrame(false);
    QObject::connect(e, &QLineEdit::textEdited, e, [onEdit](const QString& t) { onEdit(t); });
    return e;
}

QWidget* enumerationEditor(const OptionType& type, const QString& value, const EditSink& onEdit) {
    auto* c = new QComboBox;
    c->setEditable(true);
    for (const auto& choice : type.choices)
        c->addItem(q(choice.label));
    c->setEditText(q(choiceLabel(type, value.toStdString())));
    QObject::connect(c, &QComboBox::currentTextChanged, c, [type, onEdit](const QString& label) {
        onEdit(q(choiceValue(type, label.toStdString())));
    });
    return c;
}

// The step buttons keep the number inside the bounds; typing is limited to the characters an
// integer row accepts.
QWidget* integerEditor(const OptionType& type, const QString& value, const EditSink& onEdit) {
    QLineEdit* e = textEdit(value, onEdit);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.\\-]*"), e));
    // A schema may name its bounds the wrong way round; the number never steps past either
    // end of the range, nor past the ends of the type.
    const long long low = std::min(type.minimum, type.maximum);
    const long long high = std::max(type.minimum, type.maximum);
    auto step = [e, low, high, onEdit](int delta) {
        long long v = std::clamp(e->text().toLongLong(), low, high);
        if (delta > 0 && v < high)
            ++v;
        else if (delta < 0 && v > low)
            --v;
        e->setText(QString::number(v));
        onEdit(e->text());
    };
    auto* up = new QToolButton;
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton;
    down->setObjectName("down");
    down->setArrowType(Qt::DownArrow);
    QObject::connect(up, &QToolButton::clicked, e, [step] { step(1); });
    QObject::connect(down, &QToolButton::clicked, e, [step] { step(-1); });
    return box({e, up, down});
}

QWidget* pathEditor(bool directory, const QString& value, const EditSink& onEdit) {
    QLineEdit* e = textEdit(value, onEdit);
    auto* browse = new QToolButton;
    browse->setObjectName("browse");
    browse->setText("...");
    QObject::connect(browse, &QToolButton::clicked, e, [e, directory, onEdit] {
        QString picked = directory ? QFileDialog::getExistingDirectory(e, {}, e->text())
                                   : QFileDialog::getOpenFileName(e, {}, e->text());
        if (picked.isEmpty())
            return;
        e->setText(picked);
        onEdit(picked);
    });
    return box({e, browse});
}

QColor colorFromValue(const QString& value) {
    bool ok = false;
    unsigned v = value.toUInt(&ok);
    if (!ok)
        return Qt::black;
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

// The colour is painted as the button's icon: a style sheet on the button would be inherited
// by the colour dialog opened over it.
void showSwatch(QToolButton* swatch, const QColor& color) {
    QPixmap face(28, 14);
    face.fill(color);
    swatch->setIconSize(face.size());
    swatch->setIcon(QIcon(face));
}

QWidget* colorEditor(const QString& value, const EditSink& onEdit) {
    auto* swatch = new QToolButton;
    swatch->setObjectName("swatch");
    swatch->setMinimumWidth(40);
    showSwatch(swatch, colorFromValue(value));
    auto* other = new QToolButton;
    other->setObjectName("other");
    other->setText(QString::fromUtf8("其他..."));
    // The swatch keeps the stored text, so both buttons start from the last choice.
    swatch->setProperty("value", value);
    auto pick = [swatch, onEdit] {
        QColor c = QColorDialog::getColor(colorFromValue(swatch->property("value").toString()),
                                          swatch->window());
        if (!c.isValid())
            return;
        const QString text = colorValueText(c.red(), c.green(), c.blue());
        swatch->setProperty("value", text);
        showSwatch(swatch, c);
        onEdit(text);
    };
    QObject::connect(swatch, &QToolButton::clicked, swatch, pick);
    QObject::connect(other, &QToolButton::clicked, swatch, pick);
    return box({swatch, other});
}

QWidget* fontEditor(const QString& value, const EditSink& onEdit) {
    auto* f = new QFontComboBox;
    f->setEditText(value.isEmpty() ? QString::fromUtf8(kDefaultFontFace.data()) : value);
    QObject::connect(f, &QComboBox::currentTextChanged, f,
                     [onEdit](const QString& face) { onEdit(face); });
    return f;
}

} // namespace

std::optional<QString> integerRowProblem(const OptionRow& row) {
    if (row.type.kind != OptionKind::Integer)
        return std::nullopt;
    const long long low = std::min(row.type.minimum, row.type.maximum);
    const long long high = std::max(row.type.minimum, row.type.maximum);
    const std::string& text = row.edited;
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, value);
    if (!text.empty() && at == end && error == std::errc() && value >= low && value <= high)
        return std::nullopt;
    QString range;
    if (low != LLONG_MIN && high != LLONG_MAX)
        range = QString::fromUtf8("%1 到 %2 之间的整数").arg(low).arg(high);
    else if (low != LLONG_MIN)
        range = QString::fromUtf8("不小于 %1 的整数").arg(low);
    else if (high != LLONG_MAX)
        range = QString::fromUtf8("不大于 %1 的整数").arg(high);
    else
        range = QString::fromUtf8("整数");
    return QString::fromUtf8("“%1”的值必须是%2，“%3”不是。没有保存任何修改。")
        .arg(q(row.displayName()), range, q(text));
}

QString colorValueText(int red, int green, int blue) {
    return QString::number(red + green * 256 + blue * 65536);
}

QWidget* makeOptionEditor(const OptionType& type, const QString& value, EditSink onEdit) {
    switch (type.kind) {
    case OptionKind::Enumeration:
        return enumerationEditor(type, value, onEdit);
    case OptionKind::Integer:
        return integerEditor(type, value, onEdit);
    case OptionKind::File:
        return pathEditor(false, value, onEdit);
    case OptionKind::Directory:
        return pathEditor(true, value, onEdit);
    case OptionKind::Limit: {
        QLineEdit* e = textEdit(value, onEdit);
        if (type.maxLength > 0)
            e->setMaxLength(static_cast<int>(type.maxLength));
        return e;
    }
    case OptionKind::Color:
        return colorEditor(value, onEdit);
    case OptionKind::Font:
        return fontEditor(value, onEdit);
    case OptionKind::Text:
        break;
    }
    return textEdit(value, onEdit);
}

} // namespace quorvane::gui
