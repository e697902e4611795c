// The start-up benchmark's yardstick (bench/startup.sh): a bare Qt Widgets window with the
// editor's title and size at 96 pixels per inch, shown as soon as the application is up.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1 (bare)"));
    window.resize(640, 452);
    window.show();
    return application.exec();
}
