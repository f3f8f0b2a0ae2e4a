#pragma once
// Pieces the door-access dialogs share: lists, help texts, the OK and Cancel buttons, the seven
// weekday boxes and the message box.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

class QCheckBox;
class QComboBox;
class QDialog;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QWidget;

namespace quorvane::gui {

struct BindingProblem;

QComboBox* listBox(const QString& name, const std::vector<std::string>& texts);
QComboBox* listBox(const QString& name, const std::vector<std::string_view>& texts);
QLineEdit* numberEdit(const QString& name, int width = 80);
// A wrapped label for the help texts of a dialog.
QLabel* helpText(const char* text);
// "确定" and "取消", wired to accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog);
// "周一" … "周日", placed in one row of grid from column; named prefix + "Day1" … "Day7".
std::array<QCheckBox*, 7> weekdayBoxes(const QString& prefix, QGridLayout* grid, int row,
                                       int column);
// An information box titled with the dialog's title.
void showConfigMessage(QWidget* parent, const QString& text);
// Shows why an entry cannot be stored and puts the cursor on it.
void showProblem(QWidget* parent, const BindingProblem& problem);

} // namespace quorvane::gui
