#pragma once

// The window's controls as one table: a row per control with everything fixed about it
// (what it is, where it lies, its face and colour, its caption, what it says to a screen
// reader and to the help panel, whether Tab reaches it, whether it starts hidden, the
// control its caption names, and its click handler). TForm1 builds itself by loops over
// the rows; what a row cannot say (a field's input mode, a table's columns) stays in code.

#include "app/TForm1.h"
#include "app/WindowTexts.h"

#include <QColor>
#include <QString>

#include <span>
#include <variant>

namespace app {

// Which member of the window a row fills, and so the kind of control it makes.
template <typename Control>
using ControlMember = Control* TForm1::*;
using AnyControlMember =
    std::variant<ControlMember<widgets::Label>, ControlMember<widgets::Picture>, ControlMember<widgets::Button>,
                 ControlMember<widgets::LineEdit>, ControlMember<widgets::StringGrid>,
                 ControlMember<widgets::HelpMemo>, ControlMember<widgets::DirectoryList>,
                 ControlMember<widgets::FileList>, ControlMember<widgets::DriveList>, ControlMember<widgets::MemoPad>>;

// A rectangle at 120 pixels per inch; a control with no size is only moved there.
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A control's own face and text colour; a height of 0 keeps the window's.
struct Look {
    int height = 0;
    const QString* face = nullptr;
    QColor colour;
    bool bold = false;
};

struct ControlRow {
    const char* name;                      // its object name, as tools and tests find it
    AnyControlMember member;
    Box box {};
    Look look {};
    const texts::Text* caption = nullptr;  // a button's or label's first caption
    const texts::Text* accessibleName = nullptr;    // a field's or list's spoken name
    // The guidance text: shown in the help panel as the mouse moves over the control, and
    // a focusable control's accessible description. A table's is its description only,
    // since its mouse movements have work of their own.
    const texts::Text* guidance = nullptr;
    bool tabStop = false;                  // Tab reaches it, in the table's order
    bool hidden = false;                   // hidden until a handler shows it
    const char* buddy = nullptr;           // the control a label's caption names
    bool decorative = false;               // a label drawn for the eye, hidden from screen readers
    void (TForm1::*click)() = nullptr;     // a button's click handler
};

// Every control, in the order it is made: later ones lie on top of earlier ones.
std::span<const ControlRow> controlTable();

} // namespace app
