#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// One of the program's own files: read whole once at start, then rewritten whole and atomically.
// A file that exists but could not be read or decoded is moved aside by the first write instead
// of being overwritten, so a damaged or newer-format file never costs the user its contents.
class StoreFile {
public:
    // Creates the directory if it is missing; errors are ignored.
    StoreFile(QString directory, const QString &fileName);

    // $XDG_DATA_HOME/Nookery, ~/.local/share/Nookery when it is unset or relative.
    static QString defaultDirectory();

    QString path() const { return m_path; }

    // The file's bytes; none when there is no file or it cannot be read.
    std::optional<QByteArray> read();
    // The bytes last read could not be decoded: keep them before anything replaces them.
    void markUndecodable() { m_preserveBeforeWrite = true; }

    // Replaces the file atomically. False, with the previous file intact, if anything failed.
    bool write(const QByteArray &bytes);

private:
    bool preserveUnreadable();

    QString m_directory;
    QString m_path;
    bool m_preserveBeforeWrite = false;
};
