#include "CatalogText.h"

#include "RuntimeMath.h"
#include "TextFile.h"

namespace catalog {

QStringList SplitFields(const QString& line) {
    QStringList fields;
    QString cur;
    bool inQuotes = false;
    bool hasContent = false;
    auto close = [&] {
        if (hasContent) {
            fields.append(cur);
            cur.clear();
            hasContent = false;
        }
    };
    for (QChar c : line) {
        if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
            hasContent = true;
        } else if (!inQuotes && c == QLatin1Char(',')) {
            hasContent = true;
            close();
        } else if (!inQuotes && (c == QLatin1Char('\r') || c == QLatin1Char('\n'))) {
            close();
        } else {
            cur += c;
            hasContent = true;
        }
    }
    // An unclosed quote swallows the end of the line, as in StrToTokens.
    if (!inQuotes) close();
    if (fields.isEmpty()) fields.append(QString());
    return fields;
}

QString CleanText(const QString& text) {
    QString s = text;
    for (QChar& c : s) {
        if (c == QLatin1Char('"')) c = QChar(0xFF02);
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
    }
    return s;
}

QString CleanComment(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            s += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        } else if (c == QLatin1Char('\n')) {
            s += QStringLiteral("\r\n");
        } else {
            s += c;
        }
    }
    return s;
}

namespace {
bool blanksOnly(const QString& s) {
    for (QChar c : s)
        if (c != QLatin1Char(' ')) return false;
    return true;
}
} // namespace

QString ReadComment(plat::TextReader& in) {
    QString comment;
    while (!in.atEnd()) {
        QString line = in.readLine();
        if (line.isEmpty()) break;
        if (blanksOnly(line)) line.chop(1);
        comment += line;
        comment += QStringLiteral("\r\n");
    }
    if (comment.size() > 2) comment.chop(2);
    return comment;
}

void WriteComment(plat::TextWriter& out, const QString& comment) {
    const QStringList lines = comment.split(QStringLiteral("\r\n"));
    for (const QString& line : lines) out.print(blanksOnly(line) ? line + QLatin1Char(' ') : line);
}

double LeadingNumber(const QString& text) {
    qsizetype p = 0;
    while (p < text.size() && (text[p] == QLatin1Char(' ') || text[p] == QLatin1Char('\t'))) ++p;
    if (p + 1 < text.size() && text[p] == QLatin1Char('&') && text[p + 1].toUpper() == QLatin1Char('H')) {
        uint64_t v = 0;
        for (p += 2; p < text.size(); ++p) {
            const char16_t u = text[p].unicode();
            int d;
            if (u >= '0' && u <= '9') d = u - '0';
            else if (u >= 'a' && u <= 'f') d = u - 'a' + 10;
            else if (u >= 'A' && u <= 'F') d = u - 'A' + 10;
            else break;
            v = v * 16 + static_cast<uint64_t>(d);
            // More than 32 bits is no value, as the run time's Val has it.
            if (v > 0xFFFFFFFFull) return 0;
        }
        return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
    }
    return plat::Val(text);
}

QString NumberText(double v) {
    const QString shortest = plat::FormatShortest(v);
    if (plat::Val(shortest) == v) return shortest;
    return QString::number(v, 'g', 17);
}

QString TrimBlanks(const QString& text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == QLatin1Char(' ')) ++b;
    while (e > b && text[e - 1] == QLatin1Char(' ')) --e;
    return text.mid(b, e - b);
}

} // namespace catalog
