// The application's real dialogs: each is shown modally, inspected and answered from a
// timer while it runs, as a user would see and answer it.

#include "support/ModalDialogs.h"
#include "widgets/QtPrompts.h"
#include "codec/ShiftJis.h"
#include "widgets/WidgetText.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using support::whenShown;
using widgets::MessageAnswer;
using widgets::MessageButtons;
using widgets::MessageKind;

namespace {

QStringList buttonTexts(const QMessageBox& box)
{
    QStringList texts;
    for (QAbstractButton* button : box.buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

} // namespace

class QtPromptsTest final : public QObject {
    Q_OBJECT

private slots:
    void messageBoxes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("answer");

        const QStringList ok{QStringLiteral("OK")};
        const QStringList yesNo{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")};
        QTest::newRow("information") << int(MessageKind::Information) << int(MessageButtons::Ok) << int(Qt::Key_Return)
                                     << QStringLiteral("情報") << int(QMessageBox::Information) << ok
                                     << int(MessageAnswer::Ok);
        QTest::newRow("warning") << int(MessageKind::Warning) << int(MessageButtons::Ok) << int(Qt::Key_Escape)
                                 << QStringLiteral("警告") << int(QMessageBox::Warning) << ok << int(MessageAnswer::Ok);
        QTest::newRow("confirmation, Enter") << int(MessageKind::Confirmation) << int(MessageButtons::YesNo)
                                             << int(Qt::Key_Return) << QStringLiteral("確認")
                                             << int(QMessageBox::Question) << yesNo << int(MessageAnswer::Yes);
        QTest::newRow("confirmation, Escape") << int(MessageKind::Confirmation) << int(MessageButtons::YesNo)
                                              << int(Qt::Key_Escape) << QStringLiteral("確認")
                                              << int(QMessageBox::Question) << yesNo << int(MessageAnswer::No);
        QTest::newRow("confirmation, N") << int(MessageKind::Confirmation) << int(MessageButtons::YesNo)
                                         << int(Qt::Key_N) << QStringLiteral("確認") << int(QMessageBox::Question)
                                         << yesNo << int(MessageAnswer::No);
    }

    void messageBoxes()
    {
        QFETCH(int, kind);
        QFETCH(int, buttons);
        QFETCH(int, key);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(QStringList, captions);
        QFETCH(int, answer);

        QWidget window;
        window.show();
        widgets::QtPrompts prompts(&window);
        QString seenTitle, seenText;
        int seenIcon = -1;
        QStringList seenCaptions;
        whenShown([&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            if (box) {
                seenTitle = box->windowTitle();
                seenText = box->text();
                seenIcon = int(box->icon());
                seenCaptions = buttonTexts(*box);
            }
            QTest::keyClick(dialog, Qt::Key(key));
        });
        const MessageAnswer got = prompts.messageBox(sjis::fromUtf8(u8"問題数が適正数でないため"), MessageKind(kind),
                                                     MessageButtons(buttons));
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenText, QStringLiteral("問題数が適正数でないため"));
        QCOMPARE(seenIcon, icon);
        QCOMPARE(seenCaptions, captions);
        QCOMPARE(int(got), answer);
    }

    void errorBoxHasApplicationTitleAndStopIcon()
    {
        QWidget window;
        window.show();
        widgets::QtPrompts prompts(&window);
        QString seenTitle, seenText;
        int seenIcon = -1;
        QStringList seenCaptions;
        whenShown([&](QWidget* dialog) {
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                seenTitle = box->windowTitle();
                seenText = box->text();
                seenIcon = int(box->icon());
                seenCaptions = buttonTexts(*box);
            }
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        prompts.errorBox(sjis::fromUtf8(u8"'1a' は整数ではありません."));
        QCOMPARE(seenTitle, QStringLiteral("Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"));
        QCOMPARE(seenText, QStringLiteral("'1a' は整数ではありません."));
        QCOMPARE(seenIcon, int(QMessageBox::Critical));
        QCOMPARE(seenCaptions, QStringList{QStringLiteral("OK")});
    }

    void openDialogTakesFilterAndReportsChoice()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("問題.mon")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        QWidget window;
        window.show();
        widgets::QtPrompts prompts(&window);
        widgets::OpenDialog open;
        open.filter = sjis::fromUtf8(u8"Kuvetta形式(.5TQ)|*.5TQ|Zelqua形式(mon)|*.mon");
        open.filterIndex = 1;
        open.fileName = sjis::fromUnicode(dir.path() + QStringLiteral("/")).bytes;
        QStringList filters;
        QString preselected;
        whenShown([&](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            QVERIFY(files);
            filters = files->nameFilters();
            preselected = files->selectedNameFilter();
            // The user switches to the mon filter and picks the file.
            files->selectNameFilter(filters.value(1));
            files->setDirectory(dir.path());
            files->selectFile(file.fileName());
            QMetaObject::invokeMethod(files, "accept");
        });
        QVERIFY(prompts.execOpen(open));
        QCOMPARE(filters, (QStringList{QStringLiteral("Kuvetta形式(.5TQ) (*.5TQ)"), QStringLiteral("Zelqua形式(mon) (*.mon)")}));
        QCOMPARE(preselected, filters.value(0));
        QCOMPARE(open.filterIndex, 2);
        QCOMPARE(sjis::toUnicode(open.fileName), QFileInfo(file).absoluteFilePath());
    }

    // Switching the file type in the save dialog, as a user does with the keyboard on the
    // type list, leaves the name in the file-name field as it stands.
    void saveDialogFilterSwitchKeepsName_data()
    {
        QTest::addColumn<int>("presetIndex");
        QTest::addColumn<QString>("typed");  // typed over the proposed name; empty: not typed
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<int>("chosenIndex");

        QTest::newRow("mon to text") << 1 << QString() << int(Qt::Key_Down) << u"name.mon"_qs << 2;
        QTest::newRow("typed .TXT, text to mon") << 2 << u"list.TXT"_qs << int(Qt::Key_Up) << u"list.TXT"_qs << 1;
        // U+301C is stored as the bytes of U+FF5E: the name chosen is still the one saved.
        QTest::newRow("typed wave dash") << 1 << u"回答〜.mon"_qs << int(Qt::Key_Up) << u"回答〜.mon"_qs << 1;
    }

    void saveDialogFilterSwitchKeepsName()
    {
        QFETCH(int, presetIndex);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, saved);
        QFETCH(int, chosenIndex);

        QTemporaryDir dir;
        QWidget window;
        window.show();
        widgets::QtPrompts prompts(&window);
        widgets::SaveDialog save;
        save.filter = sjis::fromUtf8(u8"Zelqua形式(.mon)|*.mon|一般テキスト形式|*.TXT");
        save.filterIndex = presetIndex;
        save.fileName = sjis::fromUnicode(dir.filePath(QStringLiteral("name.mon"))).bytes;
        QString afterSwitch;
        whenShown([&](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            if (name && types) {
                if (!typed.isEmpty()) {
                    // Typed as an input method commits it, which any text may be.
                    name->selectAll();
                    QInputMethodEvent commit;
                    commit.setCommitString(typed);
                    QApplication::sendEvent(name, &commit);
                }
                QTest::keyClick(types, Qt::Key(key));
                afterSwitch = name->text();
            }
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QVERIFY(prompts.execSave(save));
        QCOMPARE(afterSwitch, saved);
        QCOMPARE(widgets::pathFromBytes(save.fileName), dir.filePath(saved));
        QCOMPARE(save.filterIndex, chosenIndex);
    }

    void cancelledOpenKeepsDialogObject()
    {
        QWidget window;
        window.show();
        widgets::QtPrompts prompts(&window);
        widgets::OpenDialog open;
        open.filter = "A|*.a|B|*.b";
        open.filterIndex = 2;
        open.fileName = "kept";
        whenShown([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QVERIFY(!prompts.execOpen(open));
        QCOMPARE(open.filterIndex, 2);
        QCOMPARE(open.fileName, std::string("kept"));
    }
};

QTEST_MAIN(QtPromptsTest)
#include "QtPromptsTest.moc"
