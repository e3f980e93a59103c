#pragma once

#include <QList>
#include <QString>

// The windows and tabs of a pretend Figma, written as Figma's session file.
class FakeSession {
public:
    struct Tab {
        QString key;
        QString title;
        QString path;
    };
    struct Window {
        QList<Tab> tabs;
        QString activeTabPath;
    };

    // Three windows with about twenty-five tabs of typical design work.
    static FakeSession sample();

    // Adds a tab (or finds the open one with that key) in window `window` and makes it active.
    void openTab(const QString &key, const QString &title, int window);
    // Closes every tab of that file; false when none was open.
    bool closeTab(const QString &key);
    // Makes the tab named by a "figma:" URL's path active, opening it when it is not.
    void show(const QString &figmaPath);

    // Writes `sessionFile` atomically, with a PNG thumbnail per file in `thumbnailFolder`.
    bool save(const QString &sessionFile, const QString &thumbnailFolder) const;
    QStringList describe() const;

private:
    Window &window(int index);

    QList<Window> m_windows;
};
