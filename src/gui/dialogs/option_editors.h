#pragma once
// The value editors of the options grid, one per value type. Each calls onEdit with the text to
// store whenever the person changes it (never while it is being filled).
#include <functional>
#include <optional>

#include <QString>

#include "infra/options_schema.h"

class QWidget;

namespace quorvane::gui {

using EditSink = std::function<void(const QString&)>;

QWidget* makeOptionEditor(const OptionType& type, const QString& value, EditSink onEdit);

// Why an integer row's edited text cannot be stored (not a whole number, outside the row's
// range), naming the row and its range; nothing when it can.
std::optional<QString> integerRowProblem(const OptionRow& row);

// A colour as the profile stores it: red + green x 256 + blue x 65536, in decimal.
QString colorValueText(int red, int green, int blue);

} // namespace quorvane::gui
