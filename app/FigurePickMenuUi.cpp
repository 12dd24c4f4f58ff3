#include "FigurePickMenuUi.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

FigurePickMenuUi::FigurePickMenuUi(FigurePickMenu& logic, Guard guard, QWidget* parent)
    : QMenu(QStringLiteral("選択編集(&S)"), parent), logic_(logic), guard_(std::move(guard)) {
    FigurePickMenu& m = logic_;
    mnuPickRetouch = add(this, "図形プロパティ(&E)...", "mnuPickRetouch_Click", [&m] { m.Retouch(); });
    mnuPickDraw = add(this, "作図(&D)...", "mnuPickDraw_Click", [&m] { m.Draw(); });
    mnuPickList = add(this, "地図図形リスト(&I)...", "mnuPickList_Click", [&m] { m.List(); });
    addSeparator();
    mnuPickDelete = add(this, "削除(&R)", "mnuPickDelete_Click", [&m] { m.Delete(); });
    mnuPickGap = add(this, "近傍点集約(&G)", "mnuPickGap_Click", [&m] { m.Gap(); });
    mnuPickConnect = add(this, "連続線結合(&J)", "mnuPickConnect_Click", [&m] { m.Connect(); });
    mnuPickHide = add(this, "個別隠蔽(&K)", "mnuPickHide_Click", [&m] { m.Hide(); });
    addSeparator();
    mnuPickRem = add(this, "直前注釈(&B)", "mnuPickRem_Click", [&m] { m.RemOrText(1); });
    mnuPickText = add(this, "直前文字列(&O)", "mnuPickText_Click", [&m] { m.RemOrText(5); });
    addSeparator();
    mnuPickCenter = add(this, "中心へ移動(&Z)", "mnuPickCenter_Click", [&m] { m.Center(); });
    mnuPickMark = addMenu(QStringLiteral("ジャンプマーク登録(&S)"));
    for (int k = 1; k <= 9; ++k)
        mnuPickMarkItem[size_t(k) - 1] = add(mnuPickMark, nullptr, "mnuPickMarkItem_Click", [&m, k] { m.Mark(k); });
    for (int k = 1; k <= 9; ++k) mnuPickMarkItem[size_t(k) - 1]->setText(QStringLiteral("マーク &%1").arg(k));
    addSeparator();
    const char* seeks[] = {"先頭へ(&H)", "１つ前へ(&P)", "１つ後ろへ(&N)", "末尾へ(&T)"};
    for (int i = 0; i < 4; ++i) mnuPickSeek[size_t(i)] = add(this, seeks[i], "mnuPickSeek_Click", [&m, i] { m.Seek(i); });
    addSeparator();
    mnuPickMove = addMenu(QStringLiteral("移転(&M)"));
    mnuPickCopy = addMenu(QStringLiteral("複写(&C)"));
    addSeparator();
    mnuPickLength = add(this, "総延長(&L)", "mnuPickLength_Click", [&m] { m.Length(); });
    mnuPickArea = add(this, "面積(&A)", "mnuPickArea_Click", [&m] { m.Area(); });
}

QAction* FigurePickMenuUi::add(QMenu* menu, const char* caption, const char* handler, std::function<void()> fn) {
    QAction* act = menu->addAction(caption ? QString::fromUtf8(caption) : QString());
    connect(act, &QAction::triggered, this, [this, handler, fn = std::move(fn)] { guard_(handler, fn); });
    return act;
}

void FigurePickMenuUi::fillUnits(QMenu* menu, const FigurePickState& s, bool move) {
    menu->clear();
    FigurePickMenu& m = logic_;
    const char* handler = move ? "mnuPickMoveItem_Click" : "mnuPickCopyItem_Click";
    add(menu, "取り消し(&0)", handler, [] {});
    for (size_t i = 0; i < s.Units.size(); ++i) {
        const int index = int(i) + 1;
        QAction* act = add(menu, nullptr, handler, [&m, index, move] { move ? m.MoveTo(index) : m.CopyTo(index); });
        // A path may hold "&"; it is no accelerator here.
        act->setText(QString(s.Units[i].Caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
        act->setEnabled(s.Units[i].Enabled);
    }
}

void FigurePickMenuUi::Prepare() {
    const FigurePickState s = logic_.Prepare();
    mnuPickRetouch->setEnabled(s.Retouch);
    mnuPickDraw->setVisible(s.DrawVisible);
    mnuPickDraw->setEnabled(s.Draw);
    mnuPickList->setEnabled(s.List);
    mnuPickDelete->setEnabled(s.Delete);
    mnuPickGap->setEnabled(s.Gap);
    mnuPickConnect->setEnabled(s.Connect);
    mnuPickHide->setEnabled(s.Hide);
    mnuPickRem->setEnabled(s.Rem);
    mnuPickText->setEnabled(s.Text);
    mnuPickCenter->setEnabled(s.Center);
    mnuPickMark->setEnabled(s.Mark);
    for (size_t k = 0; k < 9; ++k) mnuPickMarkItem[k]->setEnabled(s.MarkItem[k]);
    for (size_t i = 0; i < 4; ++i) mnuPickSeek[i]->setEnabled(s.Seek[i]);
    fillUnits(mnuPickMove, s, true);
    fillUnits(mnuPickCopy, s, false);
    mnuPickMove->setEnabled(s.Move);
    mnuPickCopy->setEnabled(s.Copy);
    mnuPickLength->setEnabled(s.Length);
    mnuPickArea->setEnabled(s.Area);
}

void FigurePickMenuUi::ExecAt(const QPoint& global) {
    Prepare();
    ensurePolished();
    // The usable area, without the desktop's panels, which the menu's own
    // placement does not leave free.
    const QScreen* s = QGuiApplication::screenAt(global);
    if (!s) s = screen();
    exec(s ? PopupPlace(global, sizeHint(), s->availableGeometry()) : global);
}

QPoint PopupPlace(const QPoint& at, const QSize& size, const QRect& area) {
    int x = at.x(), y = at.y();
    if (x + size.width() > area.right() + 1) x = at.x() - size.width();
    if (y + size.height() > area.bottom() + 1) y = at.y() - size.height();
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    return {x, y};
}
