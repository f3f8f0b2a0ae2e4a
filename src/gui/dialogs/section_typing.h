#pragma once
// Qt's date and time edits take no typed digit into a section that is already full unless the
// section is selected, and a click places the cursor without selecting: a person who clicks the
// hour and types "09" saw nothing change. After a click the first key typed selects the section
// clicked, so the digits replace it.
class QDateTimeEdit;

namespace quorvane::gui {

void selectSectionOnClick(QDateTimeEdit* edit);

} // namespace quorvane::gui
