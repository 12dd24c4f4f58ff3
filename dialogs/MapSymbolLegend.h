// The HTML legend of the map-symbol dialog ("HTML保存(&T)"): the selected
// rows of the thing grid on the current page as an HTML 4.01 table in
// Shift-JIS, beside the thing file as <name>.HTM, with each thing's sample
// saved as <name>_image/sample<number>.PNG.
//
// Names (of things, categories and the file) are escaped for HTML: "<", "&"
// and '"' become entity references, and a character Shift-JIS cannot hold
// as itself (also one it would write as a look-alike, such as 〜) becomes a
// numeric character reference, so any name reads back as typed and the
// pictures' addresses name the folder as it is. The page replaces an old
// one only when complete; a page that is a symbolic link is written where
// the link leads, and the picture folder is made beside that file.
#pragma once

#include <QString>

#include <cstdint>

class MapSymbolModel;

namespace legend {

// The page of a thing file and the folder of its pictures.
QString PagePath(const QString& thingFile);
QString PictureFolder(const QString& pagePath);
QString PictureName(int32_t thingNumber);
// The page's reference to a picture: folder name, "/", picture name, with
// "%", "#" and "?" percent-encoded so a file name holding them still leads
// to the picture, then escaped as a text.
QString PictureSrc(const QString& folderName, const QString& picture);
// A text for the page, escaped as above.
QString HtmlText(const QString& text);
// "r,g,b" in decimal; empty for a remark thing (kind 1) or a negative colour.
QString ColorText(int32_t figure, int32_t color);

} // namespace legend

// The export. Nothing happens without a selected row below the header.
// Returns true when the page was written (and the user told); false when
// there was nothing to write or the user skipped a file error. A file error
// the user cancels is raised for the dialog's fatal stop.
bool SaveHtmlLegend(MapSymbolModel& model);
