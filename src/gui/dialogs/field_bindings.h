#pragma once
// Ties the controls of a configuration dialog to entries of the configuration field table. The
// dialogs never name an offset: every control is bound to a field (and an element of its group)
// and reads and writes the dialog's own copy of the bytes through the table.
//
// store() writes back only the controls whose shown value changed since load(). A value the
// control cannot show (a list entry the list does not have, a time of 25:70) therefore stays in
// the block as it came from the controller unless the person replaces it.
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "model/config_field.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTimeEdit;
class QWidget;

namespace quorvane::gui {

// A control whose entry cannot be stored: the control to focus and what to tell the person.
struct BindingProblem {
    QWidget* widget = nullptr;
    QString message;
};

// How the items of a list stand for the field's values (item i is value i unless told).
struct ChoiceMap {
    std::function<int(std::uint32_t)> toItem;
    std::function<std::uint32_t(int)> toValue;
};
// Item i stands for value first + i.
ChoiceMap choicesFrom(int first);

class FieldBindings {
  public:
    // The bytes the fields are read from: a door-access block, or one 28-byte setting for the
    // fields of a reader or device setting. They must outlive the bindings.
    explicit FieldBindings(MutableBytes bytes) : bytes_(bytes) {}

    // A number in the field's shown units (decimal, times the field's scale). caption names
    // the control in the message about a bad entry; the field's caption when empty.
    void number(QLineEdit* edit, const ConfigField& field, int index = 0,
                const QString& caption = {});
    void choice(QComboBox* box, const ConfigField& field, int index = 0, ChoiceMap map = {});
    // Checked when the field is not 0; stores 1 or 0.
    void flag(QCheckBox* box, const ConfigField& field, int index = 0);
    void time(QTimeEdit* edit, const ConfigField& field, int index = 0);
    // GBK text, at most the field's width in bytes.
    void text(QLineEdit* edit, const ConfigField& field, int index = 0);
    // Monday .. Sunday are bits 0..6 of the field.
    void weekdays(const std::array<QCheckBox*, 7>& days, const ConfigField& field, int index = 0);
    // Shown only, never stored.
    void shown(QLineEdit* edit, std::function<QString(Bytes)> text);

    // Fills every control from the bytes.
    void load();
    // Writes back the controls changed since load(). On a bad entry stops there (the bytes may
    // hold the entries stored before it) and tells which control and why.
    std::optional<BindingProblem> store();

  private:
    struct Binding {
        std::function<void()> load;
        std::function<QString()> state; // what the control shows, to see whether it changed
        std::function<std::optional<QString>()> store;
        QWidget* widget = nullptr;
        QString loaded;
    };
    void add(std::function<void()> load, std::function<QString()> state,
             std::function<std::optional<QString>()> store, QWidget* widget) {
        bindings_.push_back({std::move(load), std::move(state), std::move(store), widget, {}});
    }

    MutableBytes bytes_;
    std::vector<Binding> bindings_;
};

} // namespace quorvane::gui
