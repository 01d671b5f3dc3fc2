// clipboard_copy TEXT: another program copying a text, as a cluster client does. It owns the
// clipboard until some other program copies, or for 30 seconds at most, and then ends.
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: clipboard_copy TEXT\n", stderr);
        return 2;
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QString::fromUtf8(argv[1]));
    // Our own copy reports a change too; the next one is another program's.
    QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard, &app] {
        if (!clipboard->ownsClipboard())
            app.quit();
    });
    QTimer::singleShot(30000, &app, &QGuiApplication::quit);
    return app.exec();
}
