// Saves the first folder of the store in the given directory over and over, renaming it to the
// next number each time, until it is killed. Prints "ready" once the first save is done.
#include "stores/FolderStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: folders_save_loop <directory>\n");
        return 2;
    }
    FolderStore store(QString::fromLocal8Bit(argv[1]));
    if (store.folders().isEmpty()) {
        std::fprintf(stderr, "folders_save_loop: no folder to save\n");
        return 1;
    }
    const QUuid id = store.folders().first().id;
    int number = store.folders().first().name.toInt();
    store.renameFolder(id, QString::number(++number));
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        store.renameFolder(id, QString::number(++number));
}
