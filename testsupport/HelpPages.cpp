#include "HelpPages.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>
#include <QWidget>

namespace testsupport {

QString HelpPage(long contextId) {
    QFile f(QStringLiteral(KAL_SOURCE_DIR "/data/help/%1.html").arg(contextId));
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no help page " << contextId;
        return QString();
    }
    return QString::fromUtf8(f.readAll());
}

QStringList BracketedNames(const QString& page) {
    static const QRegularExpression bracketed(QStringLiteral("［([^］]*)］"));
    QStringList names;
    for (const QRegularExpressionMatch& m : bracketed.globalMatch(page)) names << m.captured(1);
    return names;
}

QString PlainCaption(const QString& caption) {
    static const QRegularExpression accessKey(QStringLiteral("\\(&?[0-9A-Za-z]\\)"));
    static const QString leading = QStringLiteral("<└─　 "), trailing = QStringLiteral(">:：　 ");
    QString s = caption;
    s.remove(accessKey);
    // "&&" shows one ampersand; a lone one marks the access key.
    s.replace(QStringLiteral("&&"), QChar(0xE000));
    s.remove(QLatin1Char('&'));
    s.replace(QChar(0xE000), QLatin1Char('&'));
    qsizetype from = 0, to = s.size();
    while (from < to && leading.contains(s[from])) ++from;
    while (to > from && trailing.contains(s[to - 1])) --to;
    return s.mid(from, to - from);
}

QStringList WindowCaptions(const QWidget& window) {
    QStringList all;
    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>()) all << b->text();
    for (const QLabel* l : window.findChildren<QLabel*>()) all << l->text();
    for (const QGroupBox* g : window.findChildren<QGroupBox*>()) all << g->title();
    for (const QTabBar* t : window.findChildren<QTabBar*>())
        for (int i = 0; i < t->count(); ++i) all << t->tabText(i);
    for (const QAction* a : window.findChildren<QAction*>()) all << a->text();
    QStringList plain;
    for (const QString& c : all)
        if (!c.isEmpty()) plain << PlainCaption(c);
    plain.removeDuplicates();
    return plain;
}

QStringList NamesNotInWindow(long contextId, const QWidget& window) {
    const QStringList captions = WindowCaptions(window);
    QStringList missing;
    for (const QString& name : BracketedNames(HelpPage(contextId)))
        if (!captions.contains(name)) missing << name;
    return missing;
}

} // namespace testsupport
