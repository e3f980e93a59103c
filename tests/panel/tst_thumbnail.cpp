#include "panel/Thumbnail.h"
#include "panel/ThumbnailLoader.h"

#include <QDir>
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
    void fileUrlLoadsDownscaled() {
        ThumbnailLoader loader;
        const QUrl url = writeImage("big.png", QSize(1200, 900), Qt::red);
        QCOMPARE(load(loader, url), ThumbnailLoader::State::Loaded);
        const QImage image = loader.image(url);
        QCOMPARE(image.size(), QSize(ThumbnailLoader::maxPixelSide, 144));
        QCOMPARE(QColor(image.pixel(10, 10)), QColor(Qt::red));
    }

    void failures_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing file") << "missing.png" << QByteArray();
        QTest::newRow("not an image") << "garbage.png" << QByteArray("not an image at all");
    }
    void failures() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString path = m_directory.filePath(name);
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        ThumbnailLoader loader;
        const QUrl url = QUrl::fromLocalFile(path);
        QCOMPARE(load(loader, url), ThumbnailLoader::State::Failed);
        QVERIFY(loader.image(url).isNull());
        // Remembered: asking again does not start another load.
        QCOMPARE(loader.request(url, this, {}), ThumbnailLoader::State::Failed);
    }

    void unusableUrlsAreRefused_data() {
        QTest::addColumn<QUrl>("url");
        QTest::newRow("directory") << QUrl::fromLocalFile(m_directory.path());
        QTest::newRow("device") << QUrl::fromLocalFile("/dev/zero");
        QTest::newRow("ftp") << QUrl("ftp://example.com/a.png");
        QTest::newRow("qrc") << QUrl("qrc:/icons/xmark.svg");
        QTest::newRow("relative") << QUrl("a.png");
        QTest::newRow("http without host") << QUrl("http:///a.png");
    }
    void unusableUrlsAreRefused() {
        QFETCH(QUrl, url);
        ThumbnailLoader loader;
        bool called = false;
        QCOMPARE(loader.request(url, this, [&called] { called = true; }),
                 ThumbnailLoader::State::Failed);
        QCoreApplication::processEvents();
        QVERIFY(!called);
    }

    // Two waiters share one load; a receiver gone meanwhile is not called.
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

    // What a row paints follows the loader: loading, then the image; a missing file fails.
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
