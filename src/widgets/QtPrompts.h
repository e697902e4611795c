#pragma once

// The application's dialogs, each modal over the window: the platform's own file dialogs
// where it has them (platform/FileDialogs.h; else Qt's file dialog, which shows the
// desktop's own through its platform theme or Qt's widget dialog), Qt's print and message
// dialogs and the font chooser. Texts cross from Shift-JIS here.

#include "widgets/Prompts.h"

namespace widgets {

class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget* parent) : m_parent(parent) {}

    bool execOpen(OpenDialog& dialog) override;
    bool execSave(SaveDialog& dialog) override;
    bool execPrint(PrintDialog& dialog, QPrinter& printer) override;
    bool execFont(FontDialog& dialog) override;
    MessageAnswer messageBox(std::string_view text, MessageKind kind, MessageButtons buttons) override;
    void errorBox(std::string_view message) override;
    void beep() override;
    std::unique_ptr<Progress> progress(std::string_view text) override;

private:
    QWidget* m_parent;
};

} // namespace widgets
