#pragma once

// The one seam through which the editor reaches modal dialogs, message boxes, the error
// box and the beep. The application installs QtPrompts; tests install a scripted
// implementation that answers and records.

#include "widgets/Dialogs.h"
#include "widgets/Progress.h"

#include <memory>

#include <string>
#include <string_view>

class QPrinter;
class QWidget;

namespace widgets {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class Prompts {
public:
    virtual ~Prompts() = default;

    // Each returns true when the user accepted; the dialog object then holds the choice.
    virtual bool execOpen(OpenDialog& dialog) = 0;
    virtual bool execSave(SaveDialog& dialog) = 0;
    virtual bool execPrint(PrintDialog& dialog, QPrinter& printer) = 0;
    virtual bool execFont(FontDialog& dialog) = 0;

    // A modal box titled with the kind's name ("警告", "ｴﾗｰ", "情報", "確認").
    virtual MessageAnswer messageBox(std::string_view text, MessageKind kind, MessageButtons buttons) = 0;
    // The error box: application title, stop icon, OK; `message` is shown as given.
    virtual void errorBox(std::string_view message) = 0;
    virtual void beep() = 0;
    // A long piece of work described by `text`: a window-modal dialog with its progress
    // and a button to stop it, shown once the work has taken half a second, gone with the
    // object. By default the work shows nothing.
    virtual std::unique_ptr<Progress> progress(std::string_view /*text*/) { return std::make_unique<SilentProgress>(); }
};

} // namespace widgets
