#include "MapSymbolLegend.h"

#include <QDir>

#include "AppInfo.h"
#include "ErrorMng.h"
#include "FileOps.h"
#include "FlexGridData.h"
#include "FormErrors.h"
#include "MapSymbolModel.h"
#include "MessageBox.h"
#include "TextFile.h"
#include "basColorLib.h"
#include "basLibrary.h"
#include "basSaveBMP.h"
#include "clsThings.h"

#include <cerrno>

namespace {

// Whether the page holds the character as itself. Shift-JIS has no code of
// its own for some characters and gives them the code of a look-alike (〜
// that of ～, − that of －): a browser reads the look-alike, which names
// another file.
bool keptByShiftJis(QChar c) {
    if (c.unicode() < 0x80) return true;
    const QString s(c);
    try {
        return plat::DecodeCp932(plat::EncodeCp932(s)) == s;
    } catch (...) {
        return false;
    }
}

} // namespace

namespace legend {

QString PagePath(const QString& thingFile) { return ChangeExt(thingFile, QStringLiteral("HTM")); }

QString PictureFolder(const QString& pagePath) { return pagePath.left(pagePath.size() - 4) + QStringLiteral("_image"); }

QString PictureName(int32_t thingNumber) { return QStringLiteral("sample") + QString::number(thingNumber) + QStringLiteral(".PNG"); }

QString PictureSrc(const QString& folderName, const QString& picture) {
    QString url = folderName + QLatin1Char('/') + picture;
    url.replace(QLatin1Char('%'), QStringLiteral("%25"));
    url.replace(QLatin1Char('#'), QStringLiteral("%23"));
    url.replace(QLatin1Char('?'), QStringLiteral("%3F"));
    return HtmlText(url);
}

QString HtmlText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('<')) out += QStringLiteral("&lt;");
        else if (c == QLatin1Char('&')) out += QStringLiteral("&amp;");
        else if (c == QLatin1Char('"')) out += QStringLiteral("&quot;");
        else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += QStringLiteral("&#") + QString::number(QChar::surrogateToUcs4(c, text[i + 1])) + QLatin1Char(';');
            ++i;
        } else if (c.isSurrogate() || !keptByShiftJis(c)) {
            // A lone surrogate has no character to name; it stands as U+FFFD.
            out += QStringLiteral("&#") + QString::number(c.isSurrogate() ? 0xFFFD : c.unicode()) + QLatin1Char(';');
        } else {
            out += c;
        }
    }
    return out;
}

QString ColorText(int32_t figure, int32_t color) {
    if (figure == 1 || color < 0) return QString();
    return QString::number(RedOf(color)) + QLatin1Char(',') + QString::number(GreenOf(color)) + QLatin1Char(',') +
           QString::number(BlueOf(color));
}

} // namespace legend

namespace {


void MakeFolder(const QString& folder) {
    if (FileExists(folder)) return;
    if (!QDir().mkpath(plat::NativePath(folder))) plat::ThrowFileError(errno ? errno : EACCES, folder);
}

QString Cell(const QString& text, const char* attributes = "") {
    return QStringLiteral("    <TD") + QString::fromLatin1(attributes) + QLatin1Char('>') + text + QStringLiteral("</TD>");
}

} // namespace

bool SaveHtmlLegend(MapSymbolModel& m) {
    plat::FlexGridData* grid = m.ThingGrid();
    if (!grid || !m.CurThings) return false;
    int32_t first = 0, last = 0;
    m.SelRange(first, last);
    if (last < 1) return false;
    first = std::max(first, 1);

    const QString thingFile = m.CurThings->FileName();
    const QString page = legend::PagePath(thingFile);
    // The page is written where a link leads: its pictures go beside it.
    const QString folder = legend::PictureFolder(plat::WriteTargetOf(page));
    const QString folderName = FileNameOf(folder);

    WaitPointer wait;
    struct Redraw {
        MapSymbolModel& m;
        plat::FlexGridData* g;
        ~Redraw() {
            if (m.SetRedraw) m.SetRedraw(g, true);
        }
    } redraw{m, grid};
    if (m.SetRedraw) m.SetRedraw(grid, false);

    // One file step under the file-error box: true to go on, false when the
    // user skipped; a cancelled error is raised.
    const auto step = [&](const std::function<void()>& op) {
        AppError error;
        const int answer = WithFileRetry(op, page, &error);
        if (answer == 0) return true;
        if (answer == 1) return false;
        throw error;
    };

    if (!step([&] { MakeFolder(folder); })) return false;

    plat::TextWriter out(page);
    out.print(QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">"));
    out.print(QStringLiteral("<HTML>"));
    out.print(QStringLiteral("<HEAD>"));
    out.print(QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">"));
    out.print(QStringLiteral("<META content=\"") + legend::HtmlText(plat::AppTitle()) + QStringLiteral("  version ") +
              QString::number(plat::AppMajor()) + QLatin1Char('.') + QString::number(plat::AppMinor()) +
              QStringLiteral("\" name=\"GENERATOR\">"));
    out.print(QStringLiteral("<TITLE>") + legend::HtmlText(FileNameOf(thingFile)) + QStringLiteral("</TITLE>"));
    out.print(QStringLiteral("</HEAD>"));
    out.print(QStringLiteral("<BODY>"));
    out.print(QStringLiteral("<P>"));
    out.print(QStringLiteral("事象ファイル名：") + legend::HtmlText(thingFile) + QStringLiteral("<BR>"));
    out.print(QStringLiteral("事象ページ番号：") + QString::number(m.CurPage));
    out.print(QStringLiteral("</P>"));
    out.print(QStringLiteral("<TABLE border=\"1\">"));
    out.print(QStringLiteral("  <TR bgcolor=\"Teal\">"));
    for (const char16_t* head : {u"事象番号", u"事象名", u"図形種", u"表示"}) out.print(Cell(QString::fromUtf16(head)));
    out.print(Cell(QStringLiteral("可視縮尺範囲"), " align=\"center\""));
    for (const char16_t* head : {u"図式（凡例）", u"前面色（RGB）", u"背景色（RGB）"}) out.print(Cell(QString::fromUtf16(head)));
    out.print(QStringLiteral("  </TR>"));

    const auto text = [grid](int32_t r, int32_t c) { return legend::HtmlText(grid->TextMatrix(r, c)); };
    for (int32_t r = first; r <= last; ++r) {
        clsThing* t = m.IsThingRow(r) ? m.CurThings->Item(m.ThingIndexOfRow(r)).get() : nullptr;
        if (!t) {
            out.print(QStringLiteral("  <TR bgcolor=\"Gray\">"));
            out.print(Cell(QString()));
            out.print(Cell(text(r, MapSymbolModel::colName)));
            for (int i = 0; i < 6; ++i) out.print(Cell(QString()));
            out.print(QStringLiteral("  </TR>"));
            continue;
        }
        t->setPage(m.CurPage);
        const QString picture = legend::PictureName(t->Index());
        out.print(QStringLiteral("  <TR>"));
        out.print(Cell(text(r, MapSymbolModel::colNo), " align=\"right\""));
        out.print(Cell(text(r, MapSymbolModel::colName)));
        out.print(Cell(text(r, MapSymbolModel::colKind)));
        out.print(Cell(text(r, MapSymbolModel::colShow)));
        out.print(Cell(text(r, MapSymbolModel::colRange), " align=\"center\""));
        out.print(Cell(QStringLiteral("<IMG src=\"") + legend::PictureSrc(folderName, picture) + QStringLiteral("\">")));
        out.print(Cell(legend::ColorText(t->Figure(), t->Fore())));
        out.print(Cell(legend::ColorText(t->Figure(), t->Back())));
        out.print(QStringLiteral("  </TR>"));
        // The sample as the row shows it now (on the selection colour when
        // it was last drawn selected).
        QImage image = grid->format(r, MapSymbolModel::colSample).picture;
        if (image.isNull()) image = m.DrawSample(*t, false);
        if (!step([&] { SaveImageFile(image, folder + QLatin1Char('/') + picture, "png"); })) return false;
    }
    out.print(QStringLiteral("</TABLE>"));
    out.print(QStringLiteral("</BODY>"));
    out.print(QStringLiteral("</HTML>"));
    if (!step([&] { out.commit(); })) return false;
    plat::MsgBox(page + QStringLiteral("\r\nに保存しました."), plat::MbInformation);
    return true;
}
