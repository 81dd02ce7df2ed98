// Puts the text given as its only argument on the clipboard, prints "ready" once it owns the
// clipboard, and serves it until it is terminated.
#include <QClipboard>
#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: clipboard_owner TEXT\n";
        return 2;
    }
    QGuiApplication::clipboard()->setText(QString::fromLocal8Bit(argv[1]));
    std::cout << "ready" << std::endl;
    return application.exec();
}
