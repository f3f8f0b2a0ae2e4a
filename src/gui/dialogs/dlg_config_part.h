#pragma once
// The common ground of the door-access sub-dialogs: each edits its own copy of a part of the
// caller's bytes (a door-access block or one 28-byte setting). OK stores the controls into the
// copy and copies it back over the caller's bytes; Cancel leaves them as they were.
#include <cstdint>
#include <optional>
#include <vector>

#include <QDialog>

#include "dialogs/field_bindings.h"
#include "platform/bytes.h"

namespace quorvane::gui {

class CDlgConfigPart : public QDialog {
    Q_OBJECT
  public:
    CDlgConfigPart(MutableBytes target, const QString& title, QWidget* parent);

  public slots:
    void accept() override;

  protected:
    // The dialog's copy; its size is the size of the caller's bytes.
    MutableBytes bytes() { return copy_; }
    FieldBindings& bindings() { return bindings_; }
    // Checks of the whole entry on OK beyond what each control holds.
    virtual std::optional<BindingProblem> check() { return std::nullopt; }

  private:
    MutableBytes target_;
    std::vector<std::uint8_t> copy_;
    FieldBindings bindings_;
};

} // namespace quorvane::gui
