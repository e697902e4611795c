#pragma once

// The dialogs' filter text "name|pattern|name|pattern" (patterns separated by ';') in the
// form Qt's file dialog takes: one "name (pattern pattern)" entry per pair. A name left
// without a pattern at the end is dropped.

#include <QStringList>

#include <string_view>

namespace widgets {

QStringList qtNameFilters(std::string_view filter);

} // namespace widgets
