#pragma once

#include "tabs/TabItem.h"

#include <QApplication>
#include <QLatin1Char>
#include <QString>

// The sample the panel benchmarks share: 500 open tabs, 30 folders of 16 plus 20 ungrouped.
namespace PanelBenchSample {

constexpr int folderCount = 30;
constexpr int tabsPerFolder = 16;
constexpr int ungroupedCount = 20; // 30 × 16 + 20 = 500 open tabs

inline QApplication &application() {
    static int argc = 1;
    static char name[] = "bench_panel";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own statics go first, and a static application's destructor
    // would then reach freed input-device registries.
    static auto *app = new QApplication(argc, argv);
    return *app;
}

inline TabItem tab(int i) {
    const QString key = QStringLiteral("KEY%1").arg(i, 5, 10, QLatin1Char('0'));
    return TabItem("id-" + key, QStringLiteral("Design file %1 – Figma").arg(i),
                   "https://www.figma.com/design/" + key + "/file", i % 97 == 0);
}

} // namespace PanelBenchSample
