#include "hotkey/KeyNames.h"

#include <QHash>

namespace {

QHash<quint32, QString> buildNames() {
    QHash<quint32, QString> names;
    const auto addRun = [&names](quint32 first, const char *letters) {
        for (quint32 code = first; *letters; ++letters, ++code)
            names.insert(code, QString(QLatin1Char(*letters)));
    };
    addRun(0, "ASDFHGZXCV");
    addRun(11, "BQWERYT");
    addRun(18, "123465");
    addRun(31, "OU");
    addRun(34, "IP");
    addRun(37, "LJ");
    addRun(45, "NM");
    const std::initializer_list<std::pair<quint32, const char *>> named{
        {25, "9"},       {26, "7"},    {28, "8"},     {29, "0"},      {36, "Return"},
        {40, "K"},       {48, "Tab"},  {49, "Space"}, {51, "Delete"}, {53, "Esc"},
        {96, "F5"},      {97, "F6"},   {98, "F7"},    {99, "F3"},     {100, "F8"},
        {101, "F9"},     {103, "F11"}, {109, "F10"},  {111, "F12"},   {117, "Fwd Delete"},
        {118, "F4"},     {120, "F2"},  {122, "F1"},   {123, "←"},     {124, "→"},
        {125, "↓"},      {126, "↑"},   {105, "F13"},  {107, "F14"},   {113, "F15"},
        {106, "F16"},    {64, "F17"},  {79, "F18"},   {80, "F19"},    {90, "F20"},
        {114, "Insert"},
    };
    for (const auto &[code, name] : named)
        names.insert(code, QString::fromUtf8(name));
    return names;
}

} // namespace

QString keyName(quint32 keyCode) {
    static const QHash<quint32, QString> names = buildNames();
    return names.value(keyCode, QStringLiteral("Key %1").arg(keyCode));
}
