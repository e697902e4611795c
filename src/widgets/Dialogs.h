#pragma once

// The window's dialog objects. They hold what the handlers set before a dialog is shown
// and read after it closed; showing them goes through Prompts. Texts are Shift-JIS bytes.

#include <QColor>
#include <QFont>

#include <string>

namespace widgets {

struct OpenDialog {
    std::string filter;       // "name|pattern|name|pattern"
    int filterIndex = 1;      // 1-based, set before showing and read after
    std::string fileName;     // the (first) chosen file
    bool allowMultiSelect = true;
};

struct SaveDialog {
    std::string filter;
    int filterIndex = 1;
    std::string fileName;     // proposed before showing, the chosen path after
    bool overwritePrompt = true;
};

struct PrintDialog {
    // Default settings: no page range, no selection-only, no print to file.
};

struct ChosenFont {
    QString family;
    QColor color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    qreal pointSize = 0;
};

struct FontDialog {
    QFont font;                  // preset face, size and style
    QColor color = Qt::black;    // preset colour
    ChosenFont chosen;           // the user's choice after acceptance
};

} // namespace widgets
