#pragma once
// The options editor: a two-column property grid over the INI files that ".\options.ini"
// describes, one group per section, one row per key with an editor for its value type. Saving
// writes back only the rows whose value changed.
#include <vector>

#include <QDialog>

#include "infra/options_schema.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorvane {
class Settings;
class UserPort;
} // namespace quorvane

namespace quorvane::gui {

class CDlgOptionINI : public QDialog {
    Q_OBJECT
  public:
    CDlgOptionINI(const Settings& settings, UserPort& port, QWidget* parent = nullptr);

    // The editor of a row, named "<section>$<key>" (tests and accessibility find it by name).
    QWidget* editorFor(const QString& section, const QString& key) const;
    const std::vector<OptionGroup>& groups() const { return groups_; }

  public slots:
    // Writes the changed rows; reports "操作成功！" (or "保存失败！") and closes on success. A
    // changed integer row outside its range is refused with a message and nothing is written.
    void save();

  private:
    QWidget* makeEditor(OptionRow& row);
    void showDescription(QTreeWidgetItem* item);

    const Settings& settings_;
    UserPort& port_;
    std::vector<OptionGroup> groups_;
    QTreeWidget* grid_;
    QLabel* description_;
};

} // namespace quorvane::gui
