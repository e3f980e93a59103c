#include "panel/Thumbnail.h"
#include "panel/ThumbnailLoader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

class ThumbnailTest : public QObject {
    Q_OBJECT

private slots:
    void fileUrlLoadsDownscaled();
    void failures_data();
    void failures();
    void unusableUrlsAreRefused_data();
    void unusableUrlsAreRefused();
    void waitersShareOneLoad();
    void goneReceiverIsNotCalled();
    void rowThumbnailFollowsTheLoad();
    void drawCroppedFillsTheFrame();

private:
    QUrl writeImage(const QString &name, QSize size, QColor color);
    QTemporaryDir m_directory;
};

QUrl ThumbnailTest::writeImage(const QString &name, QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = QDir(m_directory.path()).filePath(name);
    image.save(path);
    return QUrl::fromLocalFile(path);
}

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

void ThumbnailTest::fileUrlLoadsDownscaled() {
    ThumbnailLoader loader;
    const QUrl url = writeImage("big.png", QSize(1200, 900), Qt::red);
    QCOMPARE(load(loader, url), ThumbnailLoader::State::Loaded);
    const QImage image = loader.image(url);
    QCOMPARE(image.size(), QSize(ThumbnailLoader::maxPixelSide, 144));
    QCOMPARE(QColor(image.pixel(10, 10)), QColor(Qt::red));
}

void ThumbnailTest::failures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing file") << "missing.png" << QByteArray();
    QTest::newRow("not an image") << "garbage.png" << QByteArray("not an image at all");
}

void ThumbnailTest::failures() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = QDir(m_directory.path()).filePath(name);
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

void ThumbnailTest::unusableUrlsAreRefused_data() {
    QTest::addColumn<QUrl>("url");
    QTest::newRow("directory") << QUrl::fromLocalFile(m_directory.path());
    QTest::newRow("device") << QUrl::fromLocalFile("/dev/zero");
    QTest::newRow("ftp") << QUrl("ftp://example.com/a.png");
    QTest::newRow("data") << QUrl("data:image/png;base64,AAAA");
    QTest::newRow("qrc") << QUrl("qrc:/icons/xmark.svg");
    QTest::newRow("relative") << QUrl("a.png");
    QTest::newRow("http without host") << QUrl("http:///a.png");
}

void ThumbnailTest::unusableUrlsAreRefused() {
    QFETCH(QUrl, url);
    ThumbnailLoader loader;
    bool called = false;
    QCOMPARE(loader.request(url, this, [&called] { called = true; }),
             ThumbnailLoader::State::Failed);
    QCoreApplication::processEvents();
    QVERIFY(!called);
}

void ThumbnailTest::waitersShareOneLoad() {
    ThumbnailLoader loader;
    const QUrl url = writeImage("shared.png", QSize(40, 30), Qt::blue);
    QObject a;
    QObject b;
    int calls = 0;
    QCOMPARE(loader.request(url, &a, [&calls] { ++calls; }), ThumbnailLoader::State::Loading);
    QCOMPARE(loader.request(url, &b, [&calls] { ++calls; }), ThumbnailLoader::State::Loading);
    QTRY_COMPARE(calls, 2);
    QCOMPARE(loader.request(url, &a, {}), ThumbnailLoader::State::Loaded);
}

void ThumbnailTest::goneReceiverIsNotCalled() {
    ThumbnailLoader loader;
    const QUrl url = writeImage("gone.png", QSize(40, 30), Qt::green);
    bool called = false;
    {
        QObject receiver;
        loader.request(url, &receiver, [&called] { called = true; });
    }
    QObject watcher;
    bool done = false;
    loader.request(url, &watcher, [&done] { done = true; });
    QTRY_VERIFY(done);
    QVERIFY(!called);
}

void ThumbnailTest::rowThumbnailFollowsTheLoad() {
    QWidget owner;
    Thumbnail none;
    none.load({}, &owner);
    QCOMPARE(none.state(), Thumbnail::State::None);

    Thumbnail loaded;
    loaded.load(writeImage("row.png", QSize(96, 72), Qt::yellow), &owner);
    QCOMPARE(loaded.state(), Thumbnail::State::Loading);
    QTRY_COMPARE(loaded.state(), Thumbnail::State::Loaded);
    QCOMPARE(loaded.image().size(), QSize(96, 72));

    Thumbnail failed;
    failed.load(QUrl::fromLocalFile(QDir(m_directory.path()).filePath("nothing.png")), &owner);
    QTRY_COMPARE(failed.state(), Thumbnail::State::Failed);
}

void ThumbnailTest::drawCroppedFillsTheFrame() {
    // A wide image fills a 48 × 36 frame by its height; its left and right ends are cut off.
    QImage wide(200, 50, QImage::Format_RGB32);
    wide.fill(Qt::red);
    for (int y = 0; y < 50; ++y)
        for (int x = 80; x < 120; ++x)
            wide.setPixel(x, y, qRgb(0, 0, 255));
    QImage canvas(48, 36, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    Thumbnail::drawCropped(painter, QRectF(0, 0, 48, 36), wide, 5);
    painter.end();
    QCOMPARE(QColor(canvas.pixel(24, 18)), QColor(Qt::blue));
    QCOMPARE(QColor(canvas.pixel(2, 18)).red(), 255);
    // Corners are rounded away.
    QCOMPARE(qAlpha(canvas.pixel(0, 0)), 0);
}

QTEST_MAIN(ThumbnailTest)
#include "tst_thumbnail.moc"
