#include "tabs/StrictUrlParser.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// How strict mode treats each ASCII character: refused unencoded, plain, or one that needs a
// closer look (an escape, or a delimiter where the scheme, query and fragment begin).
enum class CharacterKind : unsigned char { Refused, Plain, Percent, Colon, Question, Hash };

constexpr std::array<CharacterKind, 128> characterKinds = [] {
    std::array<CharacterKind, 128> table{};
    for (int c = 0x21; c < 0x7F; ++c)
        table[c] = CharacterKind::Plain;
    for (char c : std::string_view("\"<>\\^`{|}"))
        table[static_cast<unsigned char>(c)] = CharacterKind::Refused;
    table['%'] = CharacterKind::Percent;
    table[':'] = CharacterKind::Colon;
    table['?'] = CharacterKind::Question;
    table['#'] = CharacterKind::Hash;
    return table;
}();

bool isHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Where QUrl's parser splits a text, and whether the text is plain: printable ASCII without the
// characters strict mode refuses, with complete escapes only. A plain text needs no repair, so
// the tolerant component setters store exactly what a strict parse stores.
struct Delimiters {
    qsizetype colon = -1;    // the first ':' before any '?' or '#': the end of the scheme
    qsizetype question = -1; // the first '?' before any '#': the start of the query
    qsizetype hash = -1;     // the first '#': the start of the fragment
    bool plain = false;
};

Delimiters findDelimiters(QStringView text) {
    // Locals rather than members keep the loop in registers.
    qsizetype colon = -1, question = -1, hash = -1;
    const char16_t *const data = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i];
        const CharacterKind kind = c < 128 ? characterKinds[c] : CharacterKind::Refused;
        if (kind == CharacterKind::Plain)
            continue;
        if (kind == CharacterKind::Refused)
            return {};
        if (kind == CharacterKind::Percent) {
            if (i + 2 >= size || !isHexDigit(data[i + 1]) || !isHexDigit(data[i + 2]))
                return {};
            i += 2;
        } else if (hash >= 0) {
            continue; // all of the fragment
        } else if (kind == CharacterKind::Hash) {
            hash = i;
        } else if (kind == CharacterKind::Question && question < 0) {
            question = i;
        } else if (kind == CharacterKind::Colon && colon < 0 && question < 0) {
            colon = i;
        }
    }
    return {colon, question, hash, true};
}

// What QUrl accepts as a scheme; before anything else, a ':' is part of a relative path.
bool isScheme(QStringView text) {
    const auto isLetter = [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    if (text.isEmpty() || !isLetter(text.front().unicode()))
        return false;
    return std::all_of(text.begin(), text.end(), [&](QChar c) {
        const char16_t u = c.unicode();
        return isLetter(u) || (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'.';
    });
}

QUrl validOrEmpty(const QUrl &url) {
    return url.isValid() && !url.isEmpty() ? url : QUrl();
}

// A component's text: empty but not null after a lone '?' or '#', which mark it present.
QString component(QStringView text, qsizetype from, qsizetype to) {
    QString part = text.sliced(from, to - from).toString();
    if (part.isNull())
        part = QLatin1String("");
    return part;
}

} // namespace

QUrl StrictUrlParser::parse(const QString &text) {
    const QStringView view(text);
    const Delimiters at = findDelimiters(view);
    if (!at.plain || at.colon < 0 || !isScheme(view.first(at.colon)) ||
        !view.sliced(at.colon + 1).startsWith(u"//"))
        return validOrEmpty(QUrl(text, QUrl::StrictMode));

    const qsizetype hierarchyEnd =
        at.question >= 0 ? at.question : (at.hash >= 0 ? at.hash : view.size());
    const qsizetype slash = view.indexOf(QChar(u'/'), at.colon + 3);
    const qsizetype authorityEnd = slash >= 0 && slash < hierarchyEnd ? slash : hierarchyEnd;

    // Thumbnails come one origin after another: keep the last one, without copying its text.
    const QStringView originText = view.first(authorityEnd);
    if (originText != lastOriginText) {
        lastOriginText = originText.toString();
        lastOrigin = QUrl(lastOriginText, QUrl::StrictMode);
    }
    if (!lastOrigin.isValid())
        return validOrEmpty(QUrl(text, QUrl::StrictMode));

    QUrl url = lastOrigin;
    url.setPath(component(view, authorityEnd, hierarchyEnd), QUrl::TolerantMode);
    if (at.question >= 0)
        url.setQuery(component(view, at.question + 1, at.hash >= 0 ? at.hash : view.size()),
                     QUrl::TolerantMode);
    if (at.hash >= 0)
        url.setFragment(component(view, at.hash + 1, view.size()), QUrl::TolerantMode);
    return validOrEmpty(url);
}
