#include "app/long_message.h"

#include <algorithm>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace quorvane::gui {

namespace {
// A message box grows with its text; beyond these it would pass 768 pixels of height or
// 1024 of width with the usual fonts.
constexpr int kMaxBoxLines = 24;
constexpr int kMaxBoxLineChars = 90;
// The box itself, with room for a title bar and a panel on a 1024 × 768 screen.
constexpr int kMaxWidth = 900;
constexpr int kMaxHeight = 600;
} // namespace

bool needsScrolling(const QString& text) {
    const QStringList lines = text.split('\n');
    if (lines.size() > kMaxBoxLines)
        return true;
    return std::any_of(lines.begin(), lines.end(),
                       [](const QString& l) { return l.size() > kMaxBoxLineChars; });
}

void showLongMessage(QWidget* parent, const QString& caption, const QString& text) {
    QDialog box(parent);
    box.setObjectName("longMessage");
    box.setWindowTitle(caption);
    auto* field = new QPlainTextEdit(text, &box);
    field->setObjectName("messageText");
    field->setReadOnly(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(field);
    layout->addWidget(buttons);
    // As large as the text asks, never larger than the small screen allows.
    const QFontMetrics metrics(field->font());
    const QSize wanted = metrics.size(0, text) + QSize(60, 100);
    box.resize(std::min(wanted.width(), kMaxWidth), std::min(wanted.height(), kMaxHeight));
    box.exec();
}

} // namespace quorvane::gui
