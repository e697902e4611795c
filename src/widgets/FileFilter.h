#pragma once

// The dialogs' filter text "name|pattern|name|pattern" (patterns separated by ';') in the
// form Qt's file dialog takes: one "name (pattern pattern)" entry per pair. A name left
// without a pattern at the end is dropped.

#include <QStringList>

#include <string_view>

namespace widgets {

// How the patterns are written: as given, or with each letter as a set of both its cases.
// Qt's own dialog, drops and the command line ignore the case of a name; GTK's dialog
// (reached through Qt's gtk3 platform theme or the desktop portal) matches patterns as they
// are written, so there "*.5TQ" becomes "*.5[tT][qQ]" and still lists "lower.5tq".
enum class PatternCase { AsWritten, AnyCase };

QStringList qtNameFilters(std::string_view filter, PatternCase patternCase = PatternCase::AsWritten);

} // namespace widgets
