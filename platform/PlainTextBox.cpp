#include "PlainTextBox.h"

#include <QMimeData>

namespace plat {

void PlainTextBox::insertFromMimeData(const QMimeData* source) {
    if (!source || source->formats().isEmpty()) return;
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace plat
