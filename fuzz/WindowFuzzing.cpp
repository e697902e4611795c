#include "WindowFuzzing.h"

#include "widgets/Dispatch.h"
#include "codec/ShiftJis.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

namespace fuzzing {

Session& session(int* argc, char*** argv)
{
    static Session* shared = [argc, argv] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Never destroyed: at the end of a run the process exits with its windows still
        // open, and a QApplication torn down then finds Qt's thread storage already gone.
        new QApplication(*argc, *argv);
        static QTemporaryDir folder;
        auto* made = new Session;
        made->folder = folder.path();
        made->form = new app::TForm1(&made->prompts);
        made->form->show();
        return made;
    }();
    return *shared;
}

Session& session()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* args[] = {name, nullptr};
    static char** argv = args;
    return session(&argc, &argv);
}

std::string writeFile(const std::string& name, const char* bytes, std::size_t size)
{
    const QString path = session().folder + QLatin1Char('/') + QString::fromStdString(name);
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes, qint64(size)) == qint64(size));
    return sjis::fromUnicode(path).bytes;
}

std::string readFile(const std::string& path)
{
    QFile file(sjis::toUnicode(path));
    check(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

void run(const std::function<void()>& handler)
{
    widgets::dispatch(session().prompts, handler);
}

} // namespace fuzzing
