#include "tabs/SessionReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUuid>

#include <benchmark/benchmark.h>

namespace {

constexpr int windowCount = 20;
constexpr int tabsPerWindow = 100;

QString randomText(QRandomGenerator &random, int length, QStringView alphabet) {
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}

QString fileTitle(QRandomGenerator &random) {
    static const QStringList words = {
        "Design System", "Checkout",       "Onboarding",  "Mobile App",       "Wireframes",
        "Icons",         "Marketing Site", "Dashboard",   "Café Menu",        "Größen",
        "デザイン",      "Sprint 42",      "Prototype 🚀", "Brand Guidelines", "Settings",
        "Illustrations"};
    QString title = words.at(random.bounded(int(words.size())));
    if (random.bounded(2))
        title += " v" + QString::number(random.bounded(1, 20));
    if (random.bounded(3))
        title += QString::fromUtf8(" – ") + words.at(random.bounded(int(words.size())));
    return title + (random.bounded(2) ? QString::fromUtf8(" – Figma") : QString());
}

QJsonObject tab(QRandomGenerator &random, const QString &path) {
    static const QString keyAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QString thumbnail = "https://s3-alpha-sig.figma.com/thumbnails/" +
                              QUuid::createUuid().toString(QUuid::WithoutBraces) +
                              "?Expires=1735689600&Key-Pair-Id=APKAQ4GOSFWCVNEHN3O4&Signature=" +
                              randomText(random, 240, keyAlphabet + "-_~");
    return {{"title", fileTitle(random)},
            {"path", path},
            {"editorType", random.bounded(4) ? "design" : "whiteboard"},
            {"isUnsaved", false},
            {"thumbnail", QJsonObject{{"url", thumbnail}, {"width", 400}, {"height", 300}}}};
}

// A session file of a heavy user: 2,000 tabs in 20 windows, about 1 MiB.
QByteArray sessionFile() {
    static const QString keyAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QRandomGenerator random(20260);
    QJsonArray windows;
    for (int w = 0; w < windowCount; ++w) {
        QJsonArray tabs;
        QString activePath;
        for (int t = 0; t < tabsPerWindow; ++t) {
            const QString path = "/design/" + randomText(random, 22, keyAlphabet) + "/" +
                                 randomText(random, 12, u"abcdefghij-") +
                                 "?node-id=" + QString::number(random.bounded(1, 9999)) + "-" +
                                 QString::number(random.bounded(1, 9999));
            if (t == random.bounded(tabsPerWindow) || activePath.isEmpty())
                activePath = path;
            tabs.append(tab(random, path));
        }
        windows.append(QJsonObject{{"tabs", tabs},
                                   {"activeTabPath", activePath},
                                   {"bounds", QJsonObject{{"x", 0}, {"y", 0}, {"width", 1440}}}});
    }
    return QJsonDocument(QJsonObject{{"windows", windows}, {"version", 3}})
        .toJson(QJsonDocument::Compact);
}

const QByteArray &sessionBytes() {
    static const QByteArray bytes = sessionFile();
    return bytes;
}

void setCounters(benchmark::State &state) {
    state.SetBytesProcessed(state.iterations() * sessionBytes().size());
    state.counters["file_KiB"] = double(sessionBytes().size()) / 1024;
}

void parseWithoutReader(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(sessionBytes()));
    setCounters(state);
}

void parseWithReader(benchmark::State &state) {
    qsizetype tabCount = 0;
    for (auto _ : state) {
        const QList<TabItem> tabs = parseSessionTabs(sessionBytes());
        tabCount = tabs.size();
        benchmark::DoNotOptimize(tabs.constData());
    }
    if (tabCount != windowCount * tabsPerWindow)
        state.SkipWithError("the reader lost tabs");
    setCounters(state);
}

// The whole refresh path: open, read, drop from the page cache, parse.
void readWithReader(benchmark::State &state) {
    QTemporaryDir directory;
    const QString path = directory.filePath("settings.json");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(sessionBytes()) != sessionBytes().size())
        return state.SkipWithError("cannot write the session file");
    file.close();
    for (auto _ : state)
        benchmark::DoNotOptimize(readSessionTabs(path).constData());
    setCounters(state);
}

} // namespace

BENCHMARK(parseWithoutReader)->Name("session_parse/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(parseWithReader)->Name("session_parse/parseSessionTabs")->Unit(benchmark::kMillisecond);
BENCHMARK(readWithReader)
    ->Name("session_parse/readSessionTabs_file")
    ->Unit(benchmark::kMillisecond);
