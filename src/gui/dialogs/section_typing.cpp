#include "dialogs/section_typing.h"

#include <QDateTimeEdit>
#include <QEvent>
#include <QLineEdit>

namespace quorvane::gui {

namespace {
// Watches the edit's line for a click and the edit for the key that follows it.
class SectionTyping final : public QObject {
  public:
    SectionTyping(QDateTimeEdit* edit, QLineEdit* line) : QObject(edit), edit_(edit) {
        line->installEventFilter(this);
        edit->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress && watched != edit_) {
            clicked_ = true;
        } else if (event->type() == QEvent::KeyPress && watched == edit_ && clicked_) {
            clicked_ = false;
            edit_->setSelectedSection(edit_->currentSection());
        }
        return false;
    }

  private:
    QDateTimeEdit* edit_;
    bool clicked_ = false;
};
} // namespace

void selectSectionOnClick(QDateTimeEdit* edit) {
    if (auto* line = edit->findChild<QLineEdit*>())
        new SectionTyping(edit, line);
}

} // namespace quorvane::gui
