#include "app/CommandLine.h"
#include "app/SessionSamples.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void options_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode"); // -1: the program starts normally
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString usage = "^Usage: .*--print-tabs.*";
        QTest::newRow("no arguments") << QStringList() << -1 << "^$"
                                      << "^$";
        QTest::newRow("help") << QStringList{"--help"} << 0 << usage << "^$";
        QTest::newRow("short help") << QStringList{"-h"} << 0 << usage << "^$";
        QTest::newRow("help wins") << QStringList{"--print-tabs", "--help"} << 0 << usage << "^$";
        QTest::newRow("version") << QStringList{"--version"} << 0
                                 << R"(^Nookery \d+\.\d+\.\d+ \(\w+\)\n$)"
                                 << "^$";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "^$"
                                        << "^Unknown option 'bogus'.\nUsage: ";
        QTest::newRow("unexpected argument") << QStringList{"--print-tabs", "tabs"} << 2 << "^$"
                                             << "^Unexpected argument 'tabs'.\nUsage: ";
    }
    void options() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QString outText;
        QString errText;
        QTextStream outStream(&outText);
        QTextStream errStream(&errText);
        const std::optional<int> result =
            CommandLine().run(QStringList{"nookery"} + arguments, outStream, errStream);
        QCOMPARE(result.value_or(-1), exitCode);
        const auto options = QRegularExpression::DotMatchesEverythingOption;
        QVERIFY2(QRegularExpression(out, options).match(outText).hasMatch(), qPrintable(outText));
        QVERIFY2(QRegularExpression(err, options).match(errText).hasMatch(), qPrintable(errText));
    }

    // The real binary, with nothing but a home directory: no display, no platform plugin.
    void binary_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("session"); // null: no session file
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("tabs") << QStringList{"--print-tabs"} << sessionJson << 0 << sessionLines
                              << "^$";
        QTest::newRow("no session file")
            << QStringList{"--print-tabs"} << QByteArray() << 0 << QByteArray() << "^$";
        QTest::newRow("malformed session file")
            << QStringList{"--print-tabs"} << sessionJson.chopped(1) << 0 << QByteArray() << "^$";
        QTest::newRow("unknown option")
            << QStringList{"--print-tab"} << sessionJson << 2 << QByteArray()
            << "^Unknown option 'print-tab'.\nUsage: [^\n]*nookery ";
    }
    void binary() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, session);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);

        QTemporaryDir home;
        QVERIFY(home.isValid());
        if (!session.isNull()) {
            const QString folder = home.filePath("Library/Application Support/Figma");
            QVERIFY(QDir().mkpath(folder));
            QFile file(folder + "/settings.json");
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(session), session.size());
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);

        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(NOOKERY_BINARY, arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        QCOMPARE(process.readAllStandardOutput(), out);
        const QString errText = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(QRegularExpression(err, QRegularExpression::DotMatchesEverythingOption)
                     .match(errText)
                     .hasMatch(),
                 qPrintable(errText));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
