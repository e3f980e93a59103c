#pragma once

#include <QByteArray>
#include <QString>

// A session file and the lines "--print-tabs" prints for it. Kept out of the test's source:
// moc misreads raw strings that hold "//".
inline const QByteArray sessionJson = QString::fromUtf8(
                                          R"({"windows":[{"activeTabPath":"/design/K1/Home","tabs":[
        {"title":"Home – Figma","path":"/design/K1/Home"},
        {"title":"Ünïcode \"quoted\"","path":"/file/K2/U",
         "thumbnail":{"url":"https://s3.example.com/t/K2.png?a=1&b=%20"}}]},
      {"tabs":[{"title":"Orphan","path":"/x"}]}]})")
                                          .toUtf8();

inline const QByteArray sessionLines =
    QString::fromUtf8(
        R"({"displayTitle":"Home","id":"figma-0-0","isActive":true,"stableID":"K1","title":"Home – Figma","url":"https://www.figma.com/design/K1/Home"}
{"displayTitle":"Ünïcode \"quoted\"","id":"figma-0-1","isActive":false,"stableID":"K2","thumbnailURL":"https://s3.example.com/t/K2.png?a=1&b=%20","title":"Ünïcode \"quoted\"","url":"https://www.figma.com/file/K2/U"}
{"displayTitle":"Orphan","id":"figma-1-0","isActive":false,"stableID":"figma-1-0","title":"Orphan","url":"https://www.figma.com/x"}
)")
        .toUtf8();
