#include "dialogs/dlg_config_part.h"

#include <algorithm>

#include "dialogs/config_widgets.h"

namespace quorvane::gui {

CDlgConfigPart::CDlgConfigPart(MutableBytes target, const QString& title, QWidget* parent)
    : QDialog(parent), target_(target), copy_(target.begin(), target.end()), bindings_(copy_) {
    setWindowTitle(title);
}

void CDlgConfigPart::accept() {
    auto problem = bindings_.store();
    if (!problem)
        problem = check();
    if (problem) {
        showProblem(this, *problem);
        return;
    }
    std::copy(copy_.begin(), copy_.end(), target_.begin());
    QDialog::accept();
}

} // namespace quorvane::gui
