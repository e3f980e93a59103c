#include "panel/Thumbnail.h"
#include "panel/ThumbnailLoader.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

// Asks the loader and waits for the outcome.
ThumbnailLoader::State load(ThumbnailLoader &loader, const QUrl &url) {
    QObject receiver;
    bool ready = false;
    ThumbnailLoader::State state = loader.request(url, &receiver, [&ready] { ready = true; });
    if (state != ThumbnailLoader::State::Loading)
        return state;
    if (!QTest::qWaitFor([&ready] { return ready; }, 5000))
        return ThumbnailLoader::State::Loading;
    return loader.request(url, &receiver, {});
}

} // namespace

class ThumbnailTest : public QObject {
    Q_OBJECT
private slots:
    // A large thumbnail kept at full size for every row grew the program's memory without end.
    void fileUrlLoadsDownscaled() {
        ThumbnailLoader loader;
        const QUrl url = writeImage("big.png", QSize(1200, 900), Qt::red);
        QCOMPARE(load(loader, url), ThumbnailLoader::State::Loaded);
        QCOMPARE(loader.image(url).size(), QSize(ThumbnailLoader::maxPixelSide, 144));
    }

    // A file that is no image was read again on every paint of its row.
    void aFailureIsRemembered() {
        const QString path = m_directory.filePath("garbage.png");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not an image at all");
        file.close();
        ThumbnailLoader loader;
        const QUrl url = QUrl::fromLocalFile(path);
        QCOMPARE(load(loader, url), ThumbnailLoader::State::Failed);
        QVERIFY(loader.image(url).isNull());
        QCOMPARE(loader.request(url, this, {}), ThumbnailLoader::State::Failed);
    }

    // A thumbnail URL from the session file read a device (the GUI thread blocked for good), an
    // embedded resource, or went to no host at all.
    void unusableUrlsAreRefused() {
        for (const QUrl &url : {QUrl::fromLocalFile("/dev/zero"), QUrl("qrc:/icons/xmark.svg"),
                                QUrl("http:///a.png")}) {
            ThumbnailLoader loader;
            bool called = false;
            QCOMPARE(loader.request(url, this, [&called] { called = true; }),
                     ThumbnailLoader::State::Failed);
            QCoreApplication::processEvents();
            QVERIFY(!called);
        }
    }

    // A row gone while its image loaded was called back (a crash), or one of two rows waiting
    // for the same image never was.
    void waiters() {
        ThumbnailLoader loader;
        const QUrl url = writeImage("shared.png", QSize(40, 30), Qt::blue);
        QObject a;
        int calls = 0;
        bool goneCalled = false;
        {
            QObject gone;
            loader.request(url, &gone, [&goneCalled] { goneCalled = true; });
        }
        QCOMPARE(loader.request(url, &a, [&calls] { ++calls; }), ThumbnailLoader::State::Loading);
        QCOMPARE(loader.request(url, this, [&calls] { ++calls; }), ThumbnailLoader::State::Loading);
        QTRY_COMPARE(calls, 2);
        QVERIFY(!goneCalled);
        QCOMPARE(loader.request(url, &a, {}), ThumbnailLoader::State::Loaded);
    }

    // A row painted a stale state: nothing while its image loaded, or a spinner for a file
    // that is missing.
    void rowThumbnailFollowsTheLoad() {
        QWidget owner;
        ThumbnailLoader loader;
        QCOMPARE(Thumbnail::of({}, &loader, &owner).state(), Thumbnail::State::None);
        const QUrl url = writeImage("row.png", QSize(96, 72), Qt::yellow);
        QCOMPARE(Thumbnail::of(url, &loader, &owner).state(), Thumbnail::State::Loading);
        QCOMPARE(Thumbnail::of(url, &loader, &owner).state(), Thumbnail::State::Loading);
        QTRY_COMPARE(Thumbnail::of(url, &loader, &owner).state(), Thumbnail::State::Loaded);
        QCOMPARE(Thumbnail::of(url, &loader, &owner).image().size(), QSize(96, 72));
        const QUrl missing = QUrl::fromLocalFile(m_directory.filePath("nothing.png"));
        QCOMPARE(Thumbnail::of(missing, &loader, &owner).state(), Thumbnail::State::Failed);
    }

private:
    QUrl writeImage(const QString &name, QSize size, QColor color) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        const QString path = m_directory.filePath(name);
        image.save(path);
        return QUrl::fromLocalFile(path);
    }

    QTemporaryDir m_directory;
};

QTEST_MAIN(ThumbnailTest)
#include "tst_thumbnail.moc"
