// The action fuzzer's seed sequences, replayed on the real window: each is a combination of
// features that once went wrong (an undo while a row is held, a clear while a cell is
// edited, a drop of files that cannot all be read…). Every rule the player checks must hold
// after every action of each.

#include "support/ActionPlayer.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class ActionSequenceTest final : public QObject {
    Q_OBJECT

private slots:
    void seedsKeepEveryRule_data();
    void seedsKeepEveryRule();
};

void ActionSequenceTest::seedsKeepEveryRule_data()
{
    QTest::addColumn<QString>("path");
    const QDir seeds(QStringLiteral(ZQ_ACTION_SEEDS));
    const QStringList names = seeds.entryList(QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString& name : names)
        QTest::newRow(name.toUtf8().constData()) << seeds.filePath(name);
}

void ActionSequenceTest::seedsKeepEveryRule()
{
    QFETCH(QString, path);
    static const support::ActionFiles files;
    QFile seed(path);
    QVERIFY(seed.open(QIODevice::ReadOnly));
    const QByteArray script = seed.readAll();
    const std::string broken = support::playActions(files, std::string_view(script.constData(), std::size_t(script.size())));
    QVERIFY2(broken.empty(), broken.c_str());
}

QTEST_MAIN(ActionSequenceTest)
#include "ActionSequenceTest.moc"
