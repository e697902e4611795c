#pragma once

// Plays sequences of user actions on the real window (offscreen, dialogs answered by a
// script) and checks after every action the rules that hold whatever the user does:
// nothing escapes as an exception, the blank last row is last and blank, no question
// disappears but through an action that removes it, the view follows the model, undo gives
// back exactly the table before the last step and redo the one after it, and the renumber
// button is there whenever the numbers are out of order.
//
// A script is a string of actions, each a letter followed by its arguments (digits read as
// their value, any other byte taken modulo the range), so that the seed sequences read as
// text and any bytes a fuzzer makes are a script too. The letters are listed in
// ActionPlayer.cpp.

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <string>
#include <string_view>
#include <vector>

namespace support {

// The files the actions read, made once: a bank of eight genres, mon files, and files a
// drop must refuse (a folder named like a mon file, a FIFO named like a bank, a name
// Shift-JIS cannot hold beside one that reads like it, a file too large).
class ActionFiles final {
public:
    ActionFiles();

    QString bank;
    std::vector<QString> monFiles;
    // What each drop action carries, and whether the window must take it.
    struct Drop {
        QList<QUrl> urls;
        bool taken = true;
    };
    std::vector<Drop> drops;
    QString saveFolder;

private:
    QTemporaryDir m_dir;
};

// Plays `script` on a fresh window. Returns the first rule broken, naming the action and
// the script played so far; empty when every rule held.
std::string playActions(const ActionFiles& files, std::string_view script);

} // namespace support
