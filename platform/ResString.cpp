#include "ResString.h"

#include <QFile>
#include <QHash>

namespace plat {

namespace {

QHash<int, QString> loadTable() {
    QHash<int, QString> t;
    QFile f(QStringLiteral(":/kaldero/strings.txt"));
    if (!f.open(QIODevice::ReadOnly)) return t;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        QString line = raw;
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0) continue;
        bool ok = false;
        int id = line.left(tab).toInt(&ok);
        if (!ok) continue;
        QString text = line.mid(tab + 1);
        text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
        t.insert(id, text);
    }
    return t;
}

} // namespace

QString LoadResString(int id) {
    static const QHash<int, QString> table = loadTable();
    return table.value(id);
}

} // namespace plat
