// Renames the first folder in the given directory to the next number, saving each time, until
// killed. Prints "ready" after the first save.
#include "stores/FolderStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: folders_save_loop <directory with a folder>\n");
        return 2;
    }
    FolderStore store(QString::fromLocal8Bit(argv[1]));
    if (store.folders().isEmpty())
        return 1;
    const QUuid id = store.folders().first().id;
    int number = store.folders().first().name.toInt();
    store.renameFolder(id, QString::number(++number));
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        store.renameFolder(id, QString::number(++number));
}
